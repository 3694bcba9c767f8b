#pragma once

#include <string>
#include <string_view>

#include "screens/main/PanelSection.h"

namespace veldrane {

class SkinImageSizes;

// A section whose content no part of the program fills yet: it opens to its background picture,
// so the panel has the layout it will have once the content is there.
class EmptySection : public PanelSection
{
public:
    // The height is the background picture's; fallbackHeight when the picture is missing.
    EmptySection(std::string_view title, std::string_view background, int fallbackHeight, SkinImageSizes& images);

    std::string_view Title() const override { return m_title; }
    std::string_view Background() const { return m_background; }
    int ContentHeight() const override { return m_height; }
    void Draw(SkinCanvas& canvas, Point contentOrigin) override;
    bool Press(Point, Point) override { return false; }
    bool Hover(Point, Point) override { return false; }

private:
    std::string m_title;
    std::string m_background;
    int m_height;
};

} // namespace veldrane
