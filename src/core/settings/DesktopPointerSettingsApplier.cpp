#include "core/settings/DesktopPointerSettingsApplier.h"

#include <string_view>

#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingValues.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/PointerSettingsBackend.h"

namespace veldrane {

DesktopPointerSettingsApplier::DesktopPointerSettingsApplier(PointerSettingsBackend& backend, MessageSink& messages)
    : m_backend(backend), m_messages(messages)
{}

void DesktopPointerSettingsApplier::ApplyPointerSettings(const ProfileRecord& record)
{
    const auto report = [this](PointerSettingResult result, std::string_view failure) {
        if (result == PointerSettingResult::Refused) {
            m_messages.ShowMessage(failure, kWarningTitle);
        }
    };
    report(m_backend.SetMouse(MouseAccelerationOf(record.pointerPrecision)), kSetMouseFailed);
    report(m_backend.SetMouseSpeed(PointerSpeedOf(record.mouseSpeed)), kSetMouseSpeedFailed);
    report(m_backend.SetWheelScrollLines(WheelScrollLinesOf(record)), kSetWheelScrollLinesFailed);
    report(m_backend.SetDoubleClickTime(DoubleClickTimeOf(record.doubleClickSpeed)), kSetDoubleClickTimeFailed);
}

bool DesktopPointerSettingsApplier::DesktopHas(PointerSetting setting) const
{
    return m_backend.DesktopHas(setting);
}

} // namespace veldrane
