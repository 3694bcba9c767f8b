#pragma once

#include "core/settings/PointerSettingsApplier.h"

namespace veldrane {

class PointerSettingsBackend;

// Applies a profile's pointer settings to the desktop in the system's four steps: acceleration
// (SETMOUSE), pointer speed (SETMOUSESPEED), wheel scroll lines (SETWHEELSCROLLLINES), double-click
// time (SPI_SETDOUBLECLICKTIME). A step the desktop refuses is returned and the next step still
// runs; a step the desktop has no setting for passes silently.
class DesktopPointerSettingsApplier : public PointerSettingsApplier
{
public:
    explicit DesktopPointerSettingsApplier(PointerSettingsBackend& backend);

    PointerSettingsOutcome ApplyPointerSettings(const ProfileRecord& record) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    PointerSettingsBackend& m_backend;
};

} // namespace veldrane
