#pragma once

#include <chrono>
#include <string_view>

namespace veldrane {

// The kinds of notice the program gives about the mouse. A notice replaces the one of its kind
// that is still shown, so that a row of CPI switches leaves one notice, not a stack.
enum class NoticeKind
{
    CpiStage,
    MacroKey,
    ProfileSwitched,
    MousePlugged,
    MouseUnplugged,
};

// The desktop's own notification service, where there is one.
class DesktopNotifications
{
public:
    virtual ~DesktopNotifications() = default;

    // Shows the notice in place of the previous one of `kind`, as a transient notice that the
    // desktop does not keep in its history. False when the desktop has no service that took it:
    // the caller shows it another way.
    [[nodiscard]] virtual bool Notify(NoticeKind kind, std::string_view title, std::string_view text,
                                      std::chrono::milliseconds shown) = 0;
};

} // namespace veldrane
