#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "ports/MessageSink.h"

namespace veldrane::test {

// Keeps every message, question and balloon in the order they were shown, and the kind of each
// notice about the mouse; questions get `answer`.
class RecordingMessageSink : public MessageSink
{
public:
    struct Shown
    {
        enum class Kind
        {
            Message,
            Balloon,
            Question
        } kind;
        std::string text;
        std::string title;
        std::chrono::milliseconds shownFor{0}; // balloons only
        friend bool operator==(const Shown&, const Shown&) = default;
    };

    void ShowMessage(std::string_view text, std::string_view title) override
    {
        shown.push_back({Shown::Kind::Message, std::string(text), std::string(title)});
    }
    void ShowBalloon(std::string_view text, std::string_view title, std::chrono::milliseconds shownFor) override
    {
        shown.push_back({Shown::Kind::Balloon, std::string(text), std::string(title), shownFor});
    }

    void ShowNotice(NoticeKind kind, std::string_view text, std::string_view title,
                    std::chrono::milliseconds shownFor) override
    {
        noticeKinds.push_back(kind);
        ShowBalloon(text, title, shownFor);
    }

    bool Ask(std::string_view text, std::string_view title) override
    {
        shown.push_back({Shown::Kind::Question, std::string(text), std::string(title)});
        return answer;
    }

    std::vector<Shown> shown;
    std::vector<NoticeKind> noticeKinds; // of the balloons that were notices about the mouse
    bool answer = false;
};

} // namespace veldrane::test
