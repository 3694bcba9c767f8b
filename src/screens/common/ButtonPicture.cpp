#include "screens/common/ButtonPicture.h"

namespace veldrane {
namespace {

constexpr Colour kPlainButton{60, 60, 66};
constexpr Colour kPlainMark{230, 230, 230};

} // namespace

void DrawButtonPicture(SkinCanvas& canvas, std::string_view picture, Rect area, std::string_view mark)
{
    if (canvas.DrawImage(picture, area.TopLeft())) {
        return;
    }
    canvas.FillRect(area, kPlainButton);
    if (!mark.empty()) {
        canvas.DrawText(area, mark, FontRole::Small, kPlainMark, TextAlign::Centre);
    }
}

} // namespace veldrane
