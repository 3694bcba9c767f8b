#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/profile/ProfileTransfer.h"
#include "core/text/Language.h"
#include "screens/common/FileMessages.h"

namespace veldrane {

class MessageSink;

// The messages of import and export that name a file, titled kApplicationTitle; FormatProfileFileMessage fills
// in the name for "%s" and, in the first, the size for "%llu".
inline constexpr std::string_view kImportWrongSizeFormat =
    "%s has %llu bytes. A profile file has 1825 bytes; nothing was imported.";
inline constexpr std::string_view kExportProgramFileFormat =
    "%s is the name of one of the program's own files. Please choose another name.";

// A message of import or export with "%s" replaced by the file's name and "%llu" by `size`.
std::string FormatProfileFileMessage(std::string_view format, std::string_view name, std::uintmax_t size = 0);

// What the user is told of an import or export, in the order it happened: the refused name, or
// each file that failed ("Config file is not exist.", the size of a file that is no profile file,
// "Error Code is: %d \n" with the file and the reason; nothing for a label with a line break).
std::vector<UserMessage> TransferMessagesOf(const TransferOutcome& outcome, Language language);

// What the user is told of a store of the profile list: "Error Code is: %d \n" for the failure
// and for a file that could not be put back, or for a journal that stayed; then the names whose
// applications were removed.
std::vector<UserMessage> ListStoreMessagesOf(const ProfileListStore& store, Language language);

// What the user is told when a cut-off move of the profile files could not be taken back
// (`journal` the journal's path); nothing when there was nothing to say.
std::vector<UserMessage> RecoveryMessagesOf(const ProfileSlotMover::Recovery& recovery,
                                            const std::filesystem::path& journal, Language language);

// Each message shown, in order.
void ShowMessages(MessageSink& messages, const std::vector<UserMessage>& shown);

} // namespace veldrane
