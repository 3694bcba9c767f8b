#include "adapters/linux/X11FocusSource.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string_view>
#include <utility>

namespace veldrane {

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> XcbReply<T> Owned(T* reply)
{
    return XcbReply<T>(reply, &std::free);
}

std::uint32_t InternAtom(xcb_connection_t* connection, std::string_view name)
{
    const auto reply = Owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE);
}

// The bytes of a window's property, or nothing when it is not set with that type.
std::optional<std::string> PropertyBytes(xcb_connection_t* connection, std::uint32_t window, std::uint32_t property,
                                         std::uint32_t type, std::uint32_t longs)
{
    const auto reply = Owned(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, longs), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->type != type) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return std::string(bytes, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::uint32_t FirstCardinal(const std::optional<std::string>& bytes)
{
    std::uint32_t value = 0;
    if (bytes && bytes->size() >= sizeof(value)) {
        std::memcpy(&value, bytes->data(), sizeof(value));
    }
    return value;
}

} // namespace

X11FocusSource::X11FocusSource()
{
    if (std::getenv("DISPLAY") == nullptr) {
        return;
    }
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection) != 0) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int index = 0; index < screenNumber && screens.rem > 0; ++index) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        return;
    }
    m_root = screens.data->root;
    m_activeWindowAtom = InternAtom(m_connection, "_NET_ACTIVE_WINDOW");
    m_pidAtom = InternAtom(m_connection, "_NET_WM_PID");
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    // A window manager that follows the desktop hints keeps the active window on the root window.
    xcb_flush(m_connection);
    (void)Available();
}

X11FocusSource::~X11FocusSource()
{
    if (m_connection != nullptr) {
        xcb_disconnect(m_connection);
    }
}

bool X11FocusSource::Available()
{
    if (m_connection != nullptr && !m_supported) {
        m_supported = PropertyBytes(m_connection, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 1).has_value();
    }
    return m_connection != nullptr && m_supported;
}

int X11FocusSource::PollDescriptor() const
{
    return m_connection != nullptr ? xcb_get_file_descriptor(m_connection) : -1;
}

std::optional<FocusReport> X11FocusSource::TakeFocus()
{
    if (m_connection == nullptr) {
        return std::nullopt;
    }
    bool changed = std::exchange(m_first, false);
    changed = ActiveWindowChanged(false) || changed;
    if (!changed) {
        return std::nullopt;
    }
    m_supported = true;
    // The replies read below may bring the next change's event with them. xcb keeps such an event
    // in its queue, where the descriptor no longer shows it: read again until none is queued.
    FocusReport report = ReadActiveWindow();
    while (ActiveWindowChanged(true)) {
        report = ReadActiveWindow();
    }
    if (m_last == report) {
        return std::nullopt;
    }
    m_last = report;
    return report;
}

bool X11FocusSource::ActiveWindowChanged(bool queuedOnly)
{
    bool changed = false;
    while (xcb_generic_event_t* raw =
               queuedOnly ? xcb_poll_for_queued_event(m_connection) : xcb_poll_for_event(m_connection)) {
        const auto event = Owned(raw);
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
            changed = changed || (property->window == m_root && property->atom == m_activeWindowAtom);
        }
    }
    return changed;
}

FocusReport X11FocusSource::ReadActiveWindow()
{
    FocusReport report;
    const std::uint32_t window =
        FirstCardinal(PropertyBytes(m_connection, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 1));
    if (window == XCB_WINDOW_NONE) {
        return report;
    }
    // WM_CLASS holds the instance and then the class, each ended by a NUL.
    if (const std::optional<std::string> names =
            PropertyBytes(m_connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256)) {
        const std::size_t end = names->find('\0');
        report.instance = names->substr(0, end);
        if (end != std::string::npos) {
            const std::string rest = names->substr(end + 1);
            report.windowClass = rest.substr(0, rest.find('\0'));
        }
    }
    report.pid = FirstCardinal(PropertyBytes(m_connection, window, m_pidAtom, XCB_ATOM_CARDINAL, 1));
    return report;
}

std::string ExecutableNameOf(std::uint32_t pid)
{
    if (pid == 0) {
        return {};
    }
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

} // namespace veldrane
