#include "adapters/linux/pointer/KdePointerSettings.h"

#include <gio/gio.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <memory>
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

// KGlobalSettings' change signal and its arguments KGlobalSettings::SettingsChanged and SETTINGS_MOUSE.
constexpr const char* kNotifyPath = "/KGlobalSettings";
constexpr const char* kNotifyInterface = "org.kde.KGlobalSettings";
constexpr const char* kNotifyMember = "notifyChange";
constexpr gint32 kSettingsChanged = 3;
constexpr gint32 kSettingsMouse = 0;

constexpr std::chrono::milliseconds kToolTimeLimit{5000};
constexpr std::chrono::milliseconds kBusTimeLimit{5000};

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

// One asynchronous step on the session bus. Its callback holds a reference of its own, so a step
// given up at the time limit never touches what went with the caller.
struct BusStep
{
    bool finished = false;
    bool succeeded = false;
    GDBusConnection* bus = nullptr;

    ~BusStep()
    {
        if (bus != nullptr) {
            g_object_unref(bus);
        }
    }
};
using BusStepHandle = std::shared_ptr<BusStep>;

void OnConnected(GObject*, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<BusStepHandle> step(static_cast<BusStepHandle*>(data));
    (*step)->bus = g_dbus_connection_new_for_address_finish(result, nullptr);
    (*step)->succeeded = (*step)->bus != nullptr;
    (*step)->finished = true;
}

void OnFlushed(GObject* bus, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<BusStepHandle> step(static_cast<BusStepHandle*>(data));
    (*step)->succeeded = g_dbus_connection_flush_finish(G_DBUS_CONNECTION(bus), result, nullptr) != FALSE;
    (*step)->finished = true;
}

// The session bus's signal that Plasma's mouse settings changed, sent on a connection of its own
// and driven by a main context of its own, so that nothing waits for the bus beyond the time limit
// and the toolkit's event loop is not entered.
class SettingsChangeAnnouncement
{
public:
    SettingsChangeAnnouncement()
        : m_context(g_main_context_new()), m_cancel(g_cancellable_new()),
          m_timer(g_timeout_source_new(static_cast<guint>(kBusTimeLimit.count())))
    {
        g_main_context_push_thread_default(m_context);
        g_source_set_callback(m_timer, &SettingsChangeAnnouncement::OnTimeLimit, this, nullptr);
        g_source_attach(m_timer, m_context);
    }

    ~SettingsChangeAnnouncement()
    {
        g_cancellable_cancel(m_cancel);
        g_source_destroy(m_timer);
        g_source_unref(m_timer);
        g_main_context_pop_thread_default(m_context);
        g_object_unref(m_cancel);
        g_main_context_unref(m_context);
    }

    SettingsChangeAnnouncement(const SettingsChangeAnnouncement&) = delete;
    SettingsChangeAnnouncement& operator=(const SettingsChangeAnnouncement&) = delete;

    // True when the signal left for the bus.
    bool Send(const std::string& address)
    {
        const auto connected = std::make_shared<BusStep>();
        g_dbus_connection_new_for_address(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, m_cancel, OnConnected, new BusStepHandle(connected));
        if (!Await(*connected) || !connected->succeeded) {
            return false;
        }
        GDBusConnection* bus = connected->bus;
        if (!g_dbus_connection_emit_signal(bus, nullptr, kNotifyPath, kNotifyInterface, kNotifyMember,
                                           g_variant_new("(ii)", kSettingsChanged, kSettingsMouse), nullptr)) {
            return false;
        }
        const auto flushed = std::make_shared<BusStep>();
        g_dbus_connection_flush(bus, m_cancel, OnFlushed, new BusStepHandle(flushed));
        return Await(*flushed) && flushed->succeeded;
    }

private:
    static gboolean OnTimeLimit(gpointer self)
    {
        static_cast<SettingsChangeAnnouncement*>(self)->m_timedOut = true;
        return G_SOURCE_REMOVE;
    }

    // Runs the context until the step finishes; false when the time limit came first.
    bool Await(const BusStep& step)
    {
        while (!step.finished && !m_timedOut) {
            g_main_context_iteration(m_context, TRUE);
        }
        return step.finished;
    }

    GMainContext* m_context;
    GCancellable* m_cancel;
    GSource* m_timer;
    bool m_timedOut = false;
};

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
    if (m_tools.sessionBus.empty()) {
        return;
    }
    // A bus that cannot be reached leaves the files right; the session reads them at the next login.
    SettingsChangeAnnouncement announcement;
    [[maybe_unused]] const bool sent = announcement.Send(m_tools.sessionBus);
}

} // namespace veldrane
