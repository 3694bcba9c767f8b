#pragma once

#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// Measures texts in a window's fonts, for a model that decides the size a text is drawn in.
class TextMeasure
{
public:
    virtual ~TextMeasure() = default;

    // The pixel size the font has in the interface language.
    virtual int PixelSize(FontRole font) const = 0;
    // The size `utf8` takes word-wrapped into lines `width` pixels wide, in the font at
    // `pixelSize`; wider than `width` when one word is.
    virtual Size WrappedSize(std::string_view utf8, FontRole font, int pixelSize, int width) const = 0;
};

} // namespace veldrane
