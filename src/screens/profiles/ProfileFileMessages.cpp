#include "screens/profiles/ProfileFileMessages.h"

#include "core/text/AppSwitchTexts.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"

namespace veldrane {

namespace {

// The profile manager names no file: its failures show the error number alone.
void AddErrorNumber(std::vector<UserMessage>& shown, const FileOutcome& outcome)
{
    if (!outcome.Done()) {
        shown.push_back(
            {FormatWithErrorCode(kFileOpenErrorFormat, outcome.error.value()), std::string(kFileOpenErrorTitle)});
    }
}

} // namespace

std::string FormatProfileFileMessage(std::string_view format, std::string_view name, std::uintmax_t size)
{
    std::string text(format);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, name);
        if (const std::size_t sizeAt = text.find("%llu", at + name.size()); sizeAt != std::string::npos) {
            text.replace(sizeAt, 4, std::to_string(size));
        }
    }
    return text;
}

std::vector<UserMessage> TransferMessagesOf(const TransferOutcome& outcome, Language language)
{
    std::vector<UserMessage> shown;
    if (!outcome.refusedName.empty()) {
        shown.push_back(
            {FormatProfileFileMessage(kExportProgramFileFormat, outcome.refusedName), std::string(kApplicationTitle)});
    }
    for (const FileOutcome& failure : outcome.failures) {
        if (failure.error == FileError::WrongProfileSize) {
            shown.push_back({FormatProfileFileMessage(kImportWrongSizeFormat, failure.file.string(), outcome.wrongSize),
                             std::string(kApplicationTitle)});
        } else if (std::optional<UserMessage> message = FileFailureMessageOf(failure, language)) {
            shown.push_back(std::move(*message));
        }
    }
    return shown;
}

std::vector<UserMessage> ListStoreMessagesOf(const ProfileListStore& store, Language language)
{
    std::vector<UserMessage> shown;
    AddErrorNumber(shown, store.failure);
    AddErrorNumber(shown, store.undoFailure);
    AddErrorNumber(shown, store.commitFailure);
    if (store.Stored() && !store.droppedRules.empty()) {
        std::string note(AppRulesDroppedText(language));
        for (std::size_t index = 0; index < store.droppedRules.size(); ++index) {
            note += (index == 0 ? "" : ", ") + store.droppedRules[index];
        }
        shown.push_back({note, std::string(kApplicationTitle)});
    }
    return shown;
}

std::vector<UserMessage> RecoveryMessagesOf(const ProfileSlotMover::Recovery& recovery,
                                            const std::filesystem::path& journal, Language language)
{
    if (!recovery.error) {
        return {};
    }
    return {{JournalRecoveryMessage(journal, recovery.error, recovery.keptAside, language),
             std::string(kFileOpenErrorTitle)}};
}

void ShowMessages(MessageSink& messages, const std::vector<UserMessage>& shown)
{
    for (const UserMessage& message : shown) {
        messages.ShowMessage(message.text, message.title);
    }
}

} // namespace veldrane
