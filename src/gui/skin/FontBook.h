#pragma once

#include <QFont>
#include <QString>

#include <array>
#include <string_view>

#include "core/text/Fonts.h"
#include "core/text/Language.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// The fonts of the interface language as QFonts. The faces the windows name are Windows faces;
// each is mapped to what this system has: "宋体" and "黑体" to an installed CJK family, the
// Latin faces ("Segoe UI", "Tahoma", "Arial") to the desktop's sans-serif, unless the face
// itself is installed. Heights are pixel sizes, weights the 0 to 1000 scale.
class FontBook
{
public:
    explicit FontBook(Language language, bool windows8 = false);

    const QFont& FontFor(FontRole role) const;
    // The rows of the skinned dialogs' lists (the macro manager's and the profile manager's), so
    // that every list has rows of one height: the macro manager's face at normal weight, since the
    // bold of its headings would not leave room for the longest key names.
    QFont ListFont() const;

    // The installed family that stands in for a Windows face in this language.
    static QString InstalledFamily(std::string_view windowsFamily, Language language);
    static QFont MakeFont(const Font& font, Language language);

private:
    std::array<QFont, 6> m_fonts;
};

} // namespace veldrane
