#pragma once

#include <string_view>
#include <vector>

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

struct ProfileRecord;

// The settings the desktop refused, in the order they were applied. A setting the desktop does not
// have is not refused: a section whose setting it lacks says so.
struct [[nodiscard]] PointerSettingsOutcome
{
    std::vector<PointerSetting> refused;

    bool Done() const { return refused.empty(); }
};

// The warning a refused setting shows, titled kWarningTitle: "SETMOUSE failed." and the like.
std::string_view RefusalText(PointerSetting setting);

// Hands a profile's desktop pointer settings (pointer precision, pointer speed, wheel scrolling,
// double-click time) to the system. Run after every "Save" and after a "Reset" with the mouse
// connected.
class PointerSettingsApplier
{
public:
    virtual ~PointerSettingsApplier() = default;

    virtual PointerSettingsOutcome ApplyPointerSettings(const ProfileRecord& record) = 0;
    // Whether the running desktop has the setting; a section whose setting it lacks says so.
    virtual bool DesktopHas(PointerSetting) const { return true; }
};

} // namespace veldrane
