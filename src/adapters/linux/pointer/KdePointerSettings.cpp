#include "adapters/linux/pointer/KdePointerSettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <utility>

#include "adapters/linux/pointer/ChildProgram.h"
#include "adapters/linux/pointer/PointerSpeedScale.h"

namespace veldrane {

namespace {

constexpr std::string_view kInputFile = "kcminputrc";
constexpr std::string_view kGlobalsFile = "kdeglobals";
const KdeConfigGroup kMouseGroup{"Mouse"};
const KdeConfigGroup kGlobalsGroup{"KDE"};
constexpr std::string_view kLibinputGroup = "Libinput";
constexpr std::size_t kLibinputGroupDepth = 4; // Libinput, vendor, product, device name

// Plasma's libinput profile numbers are libinput's own flags.
constexpr std::string_view kProfileFlat = "1";
constexpr std::string_view kProfileAdaptive = "2";
// The X server's acceleration as Plasma's evdev settings keep it, the same as the X11 adapter sets.
constexpr std::string_view kAccelerationOn = "2";
constexpr std::string_view kAccelerationOff = "1";
constexpr std::string_view kThresholdOn = "4";

// KDE's KGlobalSettings::SettingsChanged and SETTINGS_MOUSE.
constexpr std::string_view kSettingsChanged = "int32:3";
constexpr std::string_view kSettingsMouse = "int32:0";

constexpr std::chrono::milliseconds kToolTimeLimit{5000};

std::string SpeedText(int speed)
{
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), LibinputAccelSpeed(speed),
                                            std::chars_format::fixed, 3);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("0.000");
}

bool IsTouchpadName(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("touchpad") != std::string::npos;
}

} // namespace

KdePointerSettings::KdePointerSettings(std::filesystem::path configDirectory, KdeTools tools)
    : m_configDirectory(std::move(configDirectory)), m_tools(std::move(tools))
{}

std::vector<KdeConfigGroup> KdePointerSettings::MouseDeviceGroups() const
{
    std::vector<KdeConfigGroup> devices;
    const auto file = KdeConfigFile::Load(m_configDirectory / kInputFile);
    if (!file) {
        return devices;
    }
    for (KdeConfigGroup& group : file->Groups()) {
        // A name with a backslash carries KConfig escapes that the tool would write again.
        const bool plain = std::none_of(group.begin(), group.end(),
                                        [](const std::string& name) { return name.find('\\') != std::string::npos; });
        if (group.size() == kLibinputGroupDepth && group.front() == kLibinputGroup && plain &&
            !IsTouchpadName(group.back())) {
            devices.push_back(std::move(group));
        }
    }
    return devices;
}

PointerSettingResult KdePointerSettings::SetMouse(const MouseAcceleration& acceleration)
{
    const bool on = acceleration.Accelerated();
    std::vector<Entry> entries{
        {kMouseGroup, "X11LibInputXAccelProfileFlat", on ? "false" : "true"},
        {kMouseGroup, "Acceleration", std::string(on ? kAccelerationOn : kAccelerationOff)},
    };
    if (on) {
        entries.push_back({kMouseGroup, "Threshold", std::string(kThresholdOn)});
    }
    for (KdeConfigGroup& device : MouseDeviceGroups()) {
        entries.push_back(
            {std::move(device), "PointerAccelerationProfile", std::string(on ? kProfileAdaptive : kProfileFlat)});
    }
    return Write(std::string(kInputFile), entries);
}

PointerSettingResult KdePointerSettings::SetMouseSpeed(int speed)
{
    if (!IsPointerSpeed(speed)) {
        return PointerSettingResult::Refused;
    }
    const std::string value = SpeedText(speed);
    std::vector<Entry> entries{{kMouseGroup, "XLbInptPointerAcceleration", value}};
    for (KdeConfigGroup& device : MouseDeviceGroups()) {
        entries.push_back({std::move(device), "PointerAcceleration", value});
    }
    return Write(std::string(kInputFile), entries);
}

PointerSettingResult KdePointerSettings::SetWheelScrollLines(std::uint32_t lines)
{
    if (lines == kWheelScrollOneScreen) {
        return PointerSettingResult::Unsupported;
    }
    return Write(std::string(kGlobalsFile), {{kGlobalsGroup, "WheelScrollLines", std::to_string(lines)}});
}

PointerSettingResult KdePointerSettings::SetDoubleClickTime(int milliseconds)
{
    if (milliseconds < 1) {
        return PointerSettingResult::Refused;
    }
    return Write(std::string(kGlobalsFile), {{kGlobalsGroup, "DoubleClickInterval", std::to_string(milliseconds)}});
}

PointerSettingResult KdePointerSettings::Write(const std::string& fileName, const std::vector<Entry>& entries) const
{
    const std::filesystem::path path = m_configDirectory / fileName;
    bool written = false;
    if (m_tools.kwriteconfig) {
        written = WriteWithTool(path, entries);
    } else if (auto file = KdeConfigFile::Load(path)) {
        for (const Entry& entry : entries) {
            file->SetValue(entry.group, entry.key, entry.value);
        }
        written = file->Save();
    }
    if (!written) {
        return PointerSettingResult::Refused;
    }
    AnnounceChange();
    return PointerSettingResult::Applied;
}

bool KdePointerSettings::WriteWithTool(const std::filesystem::path& file, const std::vector<Entry>& entries) const
{
    std::error_code error;
    std::filesystem::create_directories(m_configDirectory, error);
    for (const Entry& entry : entries) {
        std::vector<std::string> arguments{"--file", file.string()};
        for (const std::string& name : entry.group) {
            arguments.insert(arguments.end(), {"--group", name});
        }
        arguments.insert(arguments.end(), {"--key", entry.key, entry.value});
        if (RunProgram(*m_tools.kwriteconfig, arguments, kToolTimeLimit) != 0) {
            return false;
        }
    }
    return true;
}

void KdePointerSettings::AnnounceChange() const
{
    if (!m_tools.dbusSend) {
        return;
    }
    // Without a session bus the files are still right; the session reads them at the next login.
    RunProgram(*m_tools.dbusSend,
               {"--session", "--type=signal", "/KGlobalSettings", "org.kde.KGlobalSettings.notifyChange",
                std::string(kSettingsChanged), std::string(kSettingsMouse)},
               kToolTimeLimit);
}

} // namespace veldrane
