#include "adapters/qt/QtPointerSettings.h"

#include <QGuiApplication>
#include <QStyleHints>

#include <limits>

namespace veldrane {

namespace {

QStyleHints* StyleHints()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::styleHints()
                                                                                   : nullptr;
}

} // namespace

PointerSettingResult QtPointerSettings::SetMouse(const MouseAcceleration&)
{
    return PointerSettingResult::Unsupported;
}

PointerSettingResult QtPointerSettings::SetMouseSpeed(int)
{
    return PointerSettingResult::Unsupported;
}

PointerSettingResult QtPointerSettings::SetWheelScrollLines(std::uint32_t lines)
{
    if (lines == kWheelScrollOneScreen) {
        return PointerSettingResult::Unsupported;
    }
    QStyleHints* hints = StyleHints();
    if (hints == nullptr || lines > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) {
        return PointerSettingResult::Refused;
    }
    hints->setWheelScrollLines(static_cast<int>(lines));
    return PointerSettingResult::Applied;
}

PointerSettingResult QtPointerSettings::SetDoubleClickTime(int milliseconds)
{
    QStyleHints* hints = StyleHints();
    if (hints == nullptr || milliseconds < 1) {
        return PointerSettingResult::Refused;
    }
    hints->setMouseDoubleClickInterval(milliseconds);
    return PointerSettingResult::Applied;
}

bool QtPointerSettings::DesktopHas(PointerSetting) const
{
    return false; // these are the program's own settings, not the desktop's
}

} // namespace veldrane
