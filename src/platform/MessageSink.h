#pragma once

#include <string_view>

namespace veldrane {

// Where the user's messages go: message boxes with one OK button, and balloons at the tray icon.
// Texts and titles are UTF-8 and are shown exactly as given.
class MessageSink
{
public:
    virtual ~MessageSink() = default;

    virtual void ShowMessage(std::string_view text, std::string_view title) = 0;
    virtual void ShowBalloon(std::string_view text, std::string_view title) = 0;
};

} // namespace veldrane
