#pragma once

#include "core/text/Language.h"

namespace veldrane {

// Makes the toolkit's own texts (the buttons of message boxes and file dialogs, the entries of
// line-editor menus) speak the interface language: Qt's translations for simplified or
// traditional Chinese, from where Qt keeps them. English needs none; a missing translation
// leaves the toolkit in English. A second call puts the language of the first aside.
void InstallToolkitTranslations(Language language);

} // namespace veldrane
