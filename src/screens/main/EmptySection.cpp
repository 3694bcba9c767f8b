#include "screens/main/EmptySection.h"

#include "ports/SkinCanvas.h"

namespace veldrane {

EmptySection::EmptySection(std::string_view title, std::string_view background, int fallbackHeight,
                           SkinImageSizes& images)
    : m_title(title), m_background(background), m_height(fallbackHeight)
{
    if (auto size = images.ImageSize(m_background); size && size->height > 0) {
        m_height = size->height;
    }
}

void EmptySection::Draw(SkinCanvas& canvas, Point contentOrigin)
{
    canvas.DrawImage(m_background, contentOrigin);
}

} // namespace veldrane
