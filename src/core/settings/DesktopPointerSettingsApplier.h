#pragma once

#include "core/settings/PointerSettingsApplier.h"

namespace veldrane {

class MessageSink;
class PointerSettingsBackend;

// Applies a profile's pointer settings to the desktop in the system's four steps: acceleration
// (SETMOUSE), pointer speed (SETMOUSESPEED), wheel scroll lines (SETWHEELSCROLLLINES), double-click
// time (SPI_SETDOUBLECLICKTIME). A step the desktop refuses shows its own message box titled
// "Warning" and the next step still runs; a step the desktop has no setting for passes silently.
class DesktopPointerSettingsApplier : public PointerSettingsApplier
{
public:
    DesktopPointerSettingsApplier(PointerSettingsBackend& backend, MessageSink& messages);

    void ApplyPointerSettings(const ProfileRecord& record) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    PointerSettingsBackend& m_backend;
    MessageSink& m_messages;
};

} // namespace veldrane
