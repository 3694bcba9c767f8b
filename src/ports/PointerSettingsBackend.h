#pragma once

#include <cstdint>

namespace veldrane {

// What became of one pointer setting handed to the desktop.
enum class [[nodiscard]] PointerSettingResult
{
    Applied,     // the desktop took the value
    Unsupported, // the desktop has no such setting: nothing was tried
    Refused,     // the desktop has the setting, but the value could not be set
};

// The three integers of Windows' mouse acceleration: two motion thresholds in mickeys and the
// acceleration level. {6, 10, 1} is enhanced pointer precision, {0, 0, 0} none; a level of 0
// means no acceleration at all, which is how adapters tell the two apart.
struct MouseAcceleration
{
    int threshold1 = 0;
    int threshold2 = 0;
    int level = 0;

    bool Accelerated() const { return level != 0; }
    friend bool operator==(const MouseAcceleration&, const MouseAcceleration&) = default;
};

// The Windows pointer-speed scale, 1 (slowest) to 20 (fastest), 10 the system's default.
inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;

// The four settings, to ask a desktop whether it has one.
enum class PointerSetting
{
    Acceleration,
    Speed,
    WheelScrollLines,
    DoubleClickTime,
};

// Wheel scroll lines that mean "one screen per notch".
inline constexpr std::uint32_t kWheelScrollOneScreen = 0xFFFFFFFF;

// The desktop's own pointer settings, given in Windows' values; each adapter maps them onto what
// its desktop has. Every call stands on its own: a refused one does not stop the next.
class PointerSettingsBackend
{
public:
    virtual ~PointerSettingsBackend() = default;

    // Pointer acceleration ("enhanced pointer precision").
    virtual PointerSettingResult SetMouse(const MouseAcceleration& acceleration) = 0;
    // Pointer speed on the 1 to 20 scale; a value outside it is Refused by desktops that have a
    // speed setting.
    virtual PointerSettingResult SetMouseSpeed(int speed) = 0;
    // Lines per wheel notch, or kWheelScrollOneScreen.
    virtual PointerSettingResult SetWheelScrollLines(std::uint32_t lines) = 0;
    // The double-click time in milliseconds; a value below 1 is Refused by desktops that have the
    // setting.
    virtual PointerSettingResult SetDoubleClickTime(int milliseconds) = 0;

    // Whether the running desktop has the setting at all, so that the user can be told where a
    // value goes nowhere. An adapter that writes only the program's own settings has none.
    virtual bool DesktopHas(PointerSetting) const { return true; }
};

} // namespace veldrane
