#pragma once

#include <string>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// A button label of language `from` as language `to` shows it. A label that is one of the
// assignment texts (a function, a submenu entry) becomes that text in `to`; a label made of a
// function's text, "-" and a detail (a key name, a combination, a macro name) gets the function's
// text in `to` and keeps its detail; any other label is no text of the program and stays as it is.
std::string TranslateButtonLabel(std::string_view label, Language from, Language to);

} // namespace veldrane
