#include "screens/common/FileMessages.h"

#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"

namespace veldrane {

std::optional<UserMessage> FileFailureMessageOf(const FileOutcome& outcome, Language language)
{
    if (outcome.Done() || outcome.error == FileError::LabelBreaksLine) {
        return std::nullopt;
    }
    if (outcome.error == FileError::FileMissing) {
        return UserMessage{std::string(kConfigFileNotExist), std::string(kApplicationTitle)};
    }
    return UserMessage{FileFailureMessage(outcome.file, outcome.error.value(), language),
                       std::string(kFileOpenErrorTitle)};
}

std::optional<UserMessage> LoadFailureMessageOf(const FileOutcome& outcome, bool factoryStandsIn, Language language)
{
    if (!outcome.Done() && factoryStandsIn) {
        return UserMessage{UnreadableProfileMessage(outcome.file, outcome.error, language),
                           std::string(MessageCaptionsFor(language).warning)};
    }
    return FileFailureMessageOf(outcome, language);
}

void ShowFileFailure(MessageSink& messages, const FileOutcome& outcome, Language language)
{
    if (const std::optional<UserMessage> message = FileFailureMessageOf(outcome, language)) {
        messages.ShowMessage(message->text, message->title);
    }
}

void ShowLoadFailure(MessageSink& messages, const FileOutcome& outcome, bool factoryStandsIn, Language language)
{
    if (const std::optional<UserMessage> message = LoadFailureMessageOf(outcome, factoryStandsIn, language)) {
        messages.ShowMessage(message->text, message->title);
    }
}

} // namespace veldrane
