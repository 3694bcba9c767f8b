#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// One font as the windows create it: the family name (UTF-8), the height in logical units (pixels
// on a 96-dpi screen) and the weight on the 0 to 1000 scale (400 normal, 700 bold).
struct Font
{
    std::string_view family;
    int height;
    int weight;

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

// The weight the main window's small font is created with: the platform's default, which is normal.
inline constexpr int kDefaultFontWeight = 0;

// Every font of the interface for one language.
struct FontSet
{
    Font mainText;        // the main window's text, also the button lists and submenus
    Font mainTitle;       // the main window's section titles
    Font mainSmall;       // the main window's small font: "Arial", 13, default weight, in every language
    Font dialog;          // help panel, combo-key dialog and macro key dialog
    Font singleKeyDialog; // CSingleDialog; differs from dialog only in English
    Font macroManager;    // CMacroProgramDialog
};

// The fonts of a language. Simplified Chinese takes "黑体" for "宋体" on Windows version 6.2
// (windows8 true); other systems pass false.
const FontSet& FontsFor(Language language, bool windows8);

// Whether the version the system reports is 6.2, the one that swaps the simplified Chinese face.
constexpr bool IsWindows8Version(unsigned major, unsigned minor)
{
    return major == 6 && minor == 2;
}

} // namespace veldrane
