#pragma once

#include <QRect>
#include <QString>

#include <vector>

#include "ports/SkinCanvas.h"

class QPainter;

namespace veldrane {

class FontBook;
class SkinImageCache;

// A SkinCanvas on a QPainter: the pictures through the image cache, the texts in the fonts of
// the language. `area` is the part being repainted: clips set by the model are limited to it,
// and pictures wholly outside it are not painted at all.
class QtSkinCanvas : public SkinCanvas
{
public:
    QtSkinCanvas(QPainter& painter, SkinImageCache& images, const FontBook& fonts, QRect area);

    std::optional<Size> ImageSize(std::string_view skinRelativePath) override;
    bool DrawImage(std::string_view skinRelativePath, Point at) override;
    bool DrawImageRows(std::string_view skinRelativePath, Point at, int fromRow, int toRow, int height) override;
    void DrawText(Rect area, std::string_view utf8, FontRole font, Colour colour, TextAlign align) override;
    void FillRect(Rect area, Colour colour) override;
    void SetClip(std::optional<Rect> clip) override;

    // A text that was cut to fit its area, with its whole text for the area's tooltip.
    struct ElidedText
    {
        QRect area;
        QString text;
    };
    const std::vector<ElidedText>& Elided() const { return m_elided; }

private:
    QPainter& m_painter;
    SkinImageCache& m_images;
    const FontBook& m_fonts;
    QRect m_area;
    QRect m_clip;
    std::vector<ElidedText> m_elided;
};

} // namespace veldrane
