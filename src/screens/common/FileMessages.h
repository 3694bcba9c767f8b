#pragma once

#include <optional>
#include <string>

#include "core/ini/FileError.h"
#include "core/text/Language.h"

namespace veldrane {

class MessageSink;

// A message box: its text and its title.
struct UserMessage
{
    std::string text;
    std::string title;

    bool operator==(const UserMessage&) const = default;
};

// The user's message of a file operation that did not happen, in the interface language and the
// system's own words: a profile file that is not there is "Config file is not exist." under the
// program's title; any other file is "Error Code is: %d \n" with a line naming the file and the
// reason, titled "NULL ==fp ". A label with a line break keeps the file's own value without a
// word. Nothing when the outcome is done.
std::optional<UserMessage> FileFailureMessageOf(const FileOutcome& outcome, Language language);

// The message after a load (ConfigFiles::LoadConfig): when the factory settings stand in for a
// profile file that could not be read, the warning that says so and why; otherwise as above.
std::optional<UserMessage> LoadFailureMessageOf(const FileOutcome& outcome, bool factoryStandsIn, Language language);

// Each of the above shown, where there is one.
void ShowFileFailure(MessageSink& messages, const FileOutcome& outcome, Language language);
void ShowLoadFailure(MessageSink& messages, const FileOutcome& outcome, bool factoryStandsIn, Language language);

} // namespace veldrane
