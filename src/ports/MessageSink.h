#pragma once

#include <chrono>
#include <string_view>

#include "ports/DesktopNotifications.h"

namespace veldrane {

// Where the user's messages go: message boxes with one OK button, questions with Yes and No, and
// balloons at the tray icon.
// Texts and titles are UTF-8 and are shown exactly as given.
class MessageSink
{
public:
    virtual ~MessageSink() = default;

    virtual void ShowMessage(std::string_view text, std::string_view title) = 0;
    // A balloon asks to stay for `shown`; the desktop may keep it longer.
    virtual void ShowBalloon(std::string_view text, std::string_view title, std::chrono::milliseconds shown) = 0;
    // A notice about the mouse, which replaces the previous one of its kind where the desktop can
    // do so; a balloon otherwise.
    virtual void ShowNotice(NoticeKind /*kind*/, std::string_view text, std::string_view title,
                            std::chrono::milliseconds shown)
    {
        ShowBalloon(text, title, shown);
    }
    // A question before something is lost; true for Yes. Where nobody can answer, the answer is
    // No, so that nothing is dropped unasked.
    virtual bool Ask(std::string_view /*text*/, std::string_view /*title*/) { return false; }
};

} // namespace veldrane
