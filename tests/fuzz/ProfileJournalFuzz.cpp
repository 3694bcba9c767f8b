// The journal of a profile move, as any bytes, found at start beside the profile files: Recover
// writes nothing outside its folder, puts back exactly what a journal read whole holds and then
// removes it, and leaves every file as it was when it cannot read the journal whole (which it may
// keep aside under another name).
//
// Input: a choice between a journal built from pieces (names, sizes, bytes, an end or none) and
// raw bytes, then the pieces or the bytes.

#include <map>
#include <optional>
#include <set>

#include "FuzzSupport.h"
#include "core/profile/ProfileSlotMover.h"

namespace {

using namespace veldrane;
namespace fs = std::filesystem;

constexpr std::string_view kHeader = "veldrane profile move 1\n";
constexpr std::string_view kNames[] = {"config0.bin", "str0.ini", "str.ini", "config5.bin", "profiles.journal",
                                       "..",          "sub/x",    "",        "outside"};

// Every regular file under `folder` with its bytes.
std::map<std::string, std::string> FilesIn(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = fuzz::ReadBytes(entry.path());
        }
    }
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::InputFolder inputFiles;
    fuzz::InputReader input(data, size);
    // The profile folder inside one of this input's own, beside a file it must never touch.
    const fs::path root = fuzz::Folder() / "journal";
    const fs::path folder = root / "profiles";
    fs::create_directories(folder / "sub");
    fuzz::WriteBytes(root / "outside", "outside");
    fuzz::WriteBytes(folder / "config0.bin", "old config");
    fuzz::WriteBytes(folder / "str.ini", "[Profile]\r\n");

    std::string journal;
    // The files a journal read whole puts back: the last entry of each name counts.
    std::map<std::string, std::optional<std::string>> expected;
    if (input.Byte() < 0xC0) {
        journal = kHeader;
        const std::size_t entries = input.Byte() % 6;
        for (std::size_t i = 0; i < entries && !input.Empty(); ++i) {
            const std::string name(kNames[input.Byte() % std::size(kNames)]);
            journal += name + "\n";
            if (input.Byte() < 0x40) {
                journal += "-\n";
                expected[name] = std::nullopt;
            } else {
                const std::string bytes(input.Bytes(input.Byte() % 24));
                journal += std::to_string(bytes.size()) + "\n" + bytes;
                expected[name] = bytes;
            }
        }
        if (input.Byte() < 0xE0) {
            journal += "end\n";
        }
    } else {
        journal = std::string(input.Rest());
    }
    fuzz::WriteBytes(folder / ProfileSlotMover::kJournalName, journal);
    const std::map<std::string, std::string> before = FilesIn(root);

    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(folder);

    fuzz::Require(fuzz::ReadBytes(root / "outside") == "outside", "the journal wrote outside its folder");
    const std::map<std::string, std::string> after = FilesIn(root);
    for (const auto& [name, bytes] : after) {
        fuzz::Require(before.contains(name) || name.starts_with("profiles/"), "a file appeared outside the folder");
    }
    if (!recovery.error) {
        fuzz::Require(!fs::exists(folder / ProfileSlotMover::kJournalName), "a finished recovery left its journal");
        for (const auto& [name, bytes] : expected) {
            if (name == ProfileSlotMover::kJournalName) {
                continue;
            }
            const fs::path path = folder / name;
            fuzz::Require(bytes ? fuzz::ReadBytes(path) == *bytes && fs::is_regular_file(path) : !fs::exists(path),
                          "a file was not put back as the journal holds it");
        }
    } else {
        // Nothing was put back from a journal that could not be read whole.
        const bool readWhole = journal.starts_with(kHeader) && journal.ends_with("end\n");
        if (!readWhole) {
            // Every file stays as it was; the journal itself may have been kept aside under a new name.
            std::map<std::string, std::string> expectedAfter = before;
            if (!recovery.keptAside.empty()) {
                const std::string journalName = fs::relative(folder / ProfileSlotMover::kJournalName, root).string();
                expectedAfter[fs::relative(recovery.keptAside, root).string()] = expectedAfter[journalName];
                expectedAfter.erase(journalName);
            }
            fuzz::Require(after == expectedAfter, "a journal that was not read whole changed files");
        }
    }
    return 0;
}
