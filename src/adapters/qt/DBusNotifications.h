#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ports/DesktopNotifications.h"

namespace veldrane {

// The desktop's notification service on the session bus (org.freedesktop.Notifications). Each
// kind of notice keeps the id the service gave its last one and sends it as `replaces_id`, so a
// new notice takes the place of the old one; every notice is marked transient. Without a session
// bus or a service on it, Notify says so and the caller falls back to its balloons.
class DBusNotifications : public DesktopNotifications
{
public:
    // `appName` and `appIcon` as the service shows them (the program's title and icon name).
    DBusNotifications(std::string_view appName, std::string_view appIcon);

    [[nodiscard]] bool Notify(NoticeKind kind, std::string_view title, std::string_view text,
                              std::chrono::milliseconds shown) override;

    static constexpr std::size_t kKindCount = 5;

private:
    std::string m_appName;
    std::string m_appIcon;
    std::array<std::uint32_t, kKindCount> m_lastIds{};
};

} // namespace veldrane
