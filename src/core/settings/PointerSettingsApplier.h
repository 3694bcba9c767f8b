#pragma once

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

struct ProfileRecord;

// Hands a profile's desktop pointer settings (pointer precision, pointer speed, wheel scrolling,
// double-click time) to the system. Run after every "Save" and after a "Reset" with the mouse
// connected.
class PointerSettingsApplier
{
public:
    virtual ~PointerSettingsApplier() = default;

    virtual void ApplyPointerSettings(const ProfileRecord& record) = 0;
    // Whether the running desktop has the setting; a section whose setting it lacks says so.
    virtual bool DesktopHas(PointerSetting) const { return true; }
};

} // namespace veldrane
