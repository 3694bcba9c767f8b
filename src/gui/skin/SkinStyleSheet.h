#pragma once

#include <QString>

#include "ports/SkinCanvas.h"

namespace veldrane {

class SkinImageCache;

// The look of the toolkit's own controls inside the skinned dialogs (lists, their selection and
// scroll bars, the in-place line editor, context menus), in one place: the skin's text colour on
// the dark wells of its pictures, the red accent for the selection, and the main window's scroll
// thumb picture as the scroll bars' handle where the skin has it. `listBackground` is what a
// list shows behind its rows; a transparent colour lets the dialog's picture show through.
QString SkinStyleSheet(SkinImageCache& images, Colour text, Colour listBackground);

// The look of the message boxes and questions: the skin's near-black surface with light text and
// its steel buttons with the red accent on the one under the pointer and the default one.
QString MessageBoxStyleSheet();

} // namespace veldrane
