#include "core/settings/DesktopPointerSettingsApplier.h"

#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingValues.h"
#include "core/text/MessageTexts.h"
#include "ports/PointerSettingsBackend.h"

namespace veldrane {

DesktopPointerSettingsApplier::DesktopPointerSettingsApplier(PointerSettingsBackend& backend) : m_backend(backend) {}

PointerSettingsOutcome DesktopPointerSettingsApplier::ApplyPointerSettings(const ProfileRecord& record)
{
    PointerSettingsOutcome outcome;
    const auto note = [&outcome](PointerSettingResult result, PointerSetting setting) {
        if (result == PointerSettingResult::Refused) {
            outcome.refused.push_back(setting);
        }
    };
    note(m_backend.SetMouse(MouseAccelerationOf(record.pointerPrecision)), PointerSetting::Acceleration);
    note(m_backend.SetMouseSpeed(PointerSpeedOf(record.mouseSpeed)), PointerSetting::Speed);
    note(m_backend.SetWheelScrollLines(WheelScrollLinesOf(record)), PointerSetting::WheelScrollLines);
    note(m_backend.SetDoubleClickTime(DoubleClickTimeOf(record.doubleClickSpeed)), PointerSetting::DoubleClickTime);
    return outcome;
}

bool DesktopPointerSettingsApplier::DesktopHas(PointerSetting setting) const
{
    return m_backend.DesktopHas(setting);
}

std::string_view RefusalText(PointerSetting setting)
{
    switch (setting) {
    case PointerSetting::Acceleration:
        return kSetMouseFailed;
    case PointerSetting::Speed:
        return kSetMouseSpeedFailed;
    case PointerSetting::WheelScrollLines:
        return kSetWheelScrollLinesFailed;
    case PointerSetting::DoubleClickTime:
        break;
    }
    return kSetDoubleClickTimeFailed;
}

} // namespace veldrane
