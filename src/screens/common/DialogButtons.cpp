#include "screens/common/DialogButtons.h"

#include "screens/common/ButtonPicture.h"

namespace veldrane {
namespace {

constexpr std::string_view kOkCancelNormal = "/MacroManagement/button-new-normal.png";
constexpr std::string_view kOkCancelOver = "/MacroManagement/button-new-over.png";
constexpr std::string_view kCloseNormal = "/button-close-normal.png";
constexpr std::string_view kCloseOver = "/button-close-over.png";
constexpr Colour kButtonText{255, 255, 255};

} // namespace

DialogButtons::Button DialogButtons::At(Point p)
{
    if (kOk.Contains(p)) {
        return Button::Ok;
    }
    if (kCancel.Contains(p)) {
        return Button::Cancel;
    }
    if (kClose.Contains(p)) {
        return Button::Close;
    }
    return Button::None;
}

DialogAction DialogButtons::ActionAt(Point p)
{
    switch (At(p)) {
    case Button::Ok:
        return DialogAction::Accept;
    case Button::Cancel:
    case Button::Close:
        return DialogAction::Reject;
    case Button::None:
        break;
    }
    return DialogAction::None;
}

bool DialogButtons::Hover(Point p)
{
    const Button now = At(p);
    if (now == m_hovered) {
        return false;
    }
    m_hovered = now;
    return true;
}

void DialogButtons::Draw(SkinCanvas& canvas, std::string_view okText, std::string_view cancelText, FontRole font) const
{
    DrawButtonPicture(canvas, m_hovered == Button::Ok ? kOkCancelOver : kOkCancelNormal, kOk);
    canvas.DrawText(kOk, okText, font, kButtonText, TextAlign::Centre);
    DrawButtonPicture(canvas, m_hovered == Button::Cancel ? kOkCancelOver : kOkCancelNormal, kCancel);
    canvas.DrawText(kCancel, cancelText, font, kButtonText, TextAlign::Centre);
    DrawButtonPicture(canvas, m_hovered == Button::Close ? kCloseOver : kCloseNormal, kClose, kCloseMark);
}

} // namespace veldrane
