#include "adapters/linux/pointer/X11PointerSettings.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstring>
#include <vector>

#include "adapters/linux/pointer/PointerSpeedScale.h"

namespace veldrane {

namespace {

// Windows' enhanced precision as the X server's core pointer control: twice the motion beyond
// four pixels; without it one to one.
constexpr int kAcceleratedNumerator = 2;
constexpr int kAcceleratedDenominator = 1;
constexpr int kAcceleratedThreshold = 4;
constexpr int kFlatNumerator = 1;
constexpr int kFlatDenominator = 1;

constexpr const char* kAccelSpeedProperty = "libinput Accel Speed";
constexpr const char* kAccelProfileProperty = "libinput Accel Profile Enabled";
constexpr const char* kAccelProfilesAvailableProperty = "libinput Accel Profiles Available";
constexpr const char* kTappingProperty = "libinput Tapping Enabled";
// The profile properties are one byte per profile: adaptive, flat (and custom on newer drivers).
constexpr std::size_t kProfileAdaptive = 0;
constexpr std::size_t kProfileFlat = 1;

// Xlib reports a refused request through a process-wide handler, some time after the request.
// ErrorTrap flushes the requests made while it lives and tells whether any of them failed; the
// program talks to X from one thread only.
int g_trappedErrors = 0;

int CountError(Display*, XErrorEvent*)
{
    ++g_trappedErrors;
    return 0;
}

class ErrorTrap
{
public:
    explicit ErrorTrap(Display* display) : m_display(display)
    {
        XSync(m_display, False);
        g_trappedErrors = 0;
        m_previous = XSetErrorHandler(CountError);
    }
    ~ErrorTrap() { XSetErrorHandler(m_previous); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool Failed()
    {
        XSync(m_display, False);
        return g_trappedErrors != 0;
    }

private:
    Display* m_display;
    int (*m_previous)(Display*, XErrorEvent*) = nullptr;
};

bool HasXInput2(Display* display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        return false;
    }
    int major = 2;
    int minor = 0;
    return XIQueryVersion(display, &major, &minor) == Success;
}

// A device property's raw items, or nothing when the device lacks it or it has another shape.
struct PropertyValue
{
    Atom type = None;
    int format = 0;
    std::vector<unsigned char> bytes;
    unsigned long items = 0;
};

bool ReadProperty(Display* display, int device, Atom property, PropertyValue& value)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XIGetProperty(display, device, property, 0, 64, False, AnyPropertyType, &type, &format, &items, &after,
                      &data) != Success) {
        return false;
    }
    const bool present = type != None && data != nullptr;
    if (present) {
        value.type = type;
        value.format = format;
        value.items = items;
        value.bytes.assign(data, data + items * static_cast<unsigned long>(format / 8));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return present;
}

bool HasProperty(Display* display, int device, Atom property)
{
    if (property == None) {
        return false;
    }
    int count = 0;
    Atom* properties = XIListProperties(display, device, &count);
    bool found = false;
    for (int index = 0; index < count; ++index) {
        found = found || properties[index] == property;
    }
    if (properties != nullptr) {
        XFree(properties);
    }
    return found;
}

// The pointer devices driven by libinput that are not touchpads and carry `property`.
std::vector<int> LibinputMice(Display* display, Atom property)
{
    std::vector<int> devices;
    if (property == None || !HasXInput2(display)) {
        return devices;
    }
    const Atom tapping = XInternAtom(display, kTappingProperty, True);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &count);
    for (int index = 0; index < count; ++index) {
        const int device = info[index].deviceid;
        if (info[index].use == XISlavePointer && HasProperty(display, device, property) &&
            !HasProperty(display, device, tapping)) {
            devices.push_back(device);
        }
    }
    if (info != nullptr) {
        XIFreeDeviceInfo(info);
    }
    return devices;
}

} // namespace

std::unique_ptr<X11PointerSettings> X11PointerSettings::Open(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<X11PointerSettings>(new X11PointerSettings(display));
}

X11PointerSettings::X11PointerSettings(_XDisplay* display) : m_display(display) {}

X11PointerSettings::~X11PointerSettings()
{
    XCloseDisplay(m_display);
}

PointerSettingResult X11PointerSettings::SetMouse(const MouseAcceleration& acceleration)
{
    const bool on = acceleration.Accelerated();
    ErrorTrap trap(m_display);
    if (on) {
        XChangePointerControl(m_display, True, True, kAcceleratedNumerator, kAcceleratedDenominator,
                              kAcceleratedThreshold);
    } else {
        XChangePointerControl(m_display, True, False, kFlatNumerator, kFlatDenominator, 0);
    }

    // Devices driven by libinput ignore the core pointer control; they take an acceleration
    // profile instead, where they offer the one wanted.
    const Atom enabled = XInternAtom(m_display, kAccelProfileProperty, True);
    const Atom available = XInternAtom(m_display, kAccelProfilesAvailableProperty, True);
    const std::size_t wanted = on ? kProfileAdaptive : kProfileFlat;
    for (const int device : LibinputMice(m_display, enabled)) {
        PropertyValue offered;
        PropertyValue current;
        if (!ReadProperty(m_display, device, available, offered) ||
            !ReadProperty(m_display, device, enabled, current) || offered.format != 8 || current.format != 8 ||
            offered.bytes.size() <= wanted || offered.bytes[wanted] == 0 || current.bytes.size() <= kProfileFlat) {
            continue;
        }
        std::vector<unsigned char> profile(current.bytes.size(), 0);
        profile[wanted] = 1;
        XIChangeProperty(m_display, device, enabled, current.type, 8, XIPropModeReplace, profile.data(),
                         static_cast<int>(profile.size()));
    }
    return trap.Failed() ? PointerSettingResult::Refused : PointerSettingResult::Applied;
}

PointerSettingResult X11PointerSettings::SetMouseSpeed(int speed)
{
    const Atom property = XInternAtom(m_display, kAccelSpeedProperty, True);
    const std::vector<int> devices = LibinputMice(m_display, property);
    if (devices.empty()) {
        return PointerSettingResult::Unsupported;
    }
    if (!IsPointerSpeed(speed)) {
        return PointerSettingResult::Refused;
    }
    const Atom floatType = XInternAtom(m_display, "FLOAT", False);
    // XInput2 carries format-32 items as 32-bit words, so the float goes in as its own bytes.
    const float value = static_cast<float>(LibinputAccelSpeed(speed));
    unsigned char bytes[sizeof(float)];
    std::memcpy(bytes, &value, sizeof bytes);
    ErrorTrap trap(m_display);
    for (const int device : devices) {
        XIChangeProperty(m_display, device, property, floatType, 32, XIPropModeReplace, bytes, 1);
    }
    return trap.Failed() ? PointerSettingResult::Refused : PointerSettingResult::Applied;
}

PointerSettingResult X11PointerSettings::SetWheelScrollLines(std::uint32_t)
{
    return PointerSettingResult::Unsupported;
}

PointerSettingResult X11PointerSettings::SetDoubleClickTime(int)
{
    return PointerSettingResult::Unsupported;
}

bool X11PointerSettings::DesktopHas(PointerSetting setting) const
{
    // The X server knows nothing of wheel lines or double-click time: its clients keep their own.
    return setting == PointerSetting::Acceleration || setting == PointerSetting::Speed;
}

} // namespace veldrane
