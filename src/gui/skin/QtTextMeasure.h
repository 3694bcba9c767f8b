#pragma once

#include "ports/TextMeasure.h"

namespace veldrane {

class FontBook;

// Measures texts with Qt's font metrics in the fonts of a FontBook.
class QtTextMeasure : public TextMeasure
{
public:
    explicit QtTextMeasure(const FontBook& fonts) : m_fonts(fonts) {}

    int PixelSize(FontRole font) const override;
    Size WrappedSize(std::string_view utf8, FontRole font, int pixelSize, int width) const override;

private:
    const FontBook& m_fonts;
};

} // namespace veldrane
