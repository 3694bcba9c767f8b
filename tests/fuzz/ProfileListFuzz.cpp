// Section "Profile" of "str.ini" as any bytes: the list is read, its selected name found, and the
// list written back in place reads back as it was, selected name included, without a change to
// any other section. A name typed by the user is stored only as a text that reads back the same.
//
// Input: the selected position to write back, a typed name's pieces, then the file's bytes.

#include <algorithm>
#include <optional>
#include <vector>

#include "FuzzSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veldrane;
    const fuzz::InputFolder inputFiles;
    static const IconvTextCodec codec;
    fuzz::InputReader input(data, size);
    const std::uint8_t selectedChoice = input.Byte();
    const std::string typed = input.Text(input.Byte() % 12);
    const std::filesystem::path path = fuzz::Folder() / kListName;
    fuzz::WriteBytes(path, input.Rest());

    IniFile file(path, codec);
    const IniSnapshot before = file.Read();
    const StoredProfileList list = ProfileList::Read(before);
    fuzz::Require(list.names.size() <= kProfileSlotCount, "more names than profiles were read");
    const std::optional<std::size_t> position = ProfileList::PositionOf(list.names, list.currentName);
    fuzz::Require(!position || *position < list.names.size(), "the selected name stands outside the list");
    if (position) {
        fuzz::Require(IniNamesEqual(list.names[*position], list.currentName), "the selected name is another name");
    }

    if (const std::optional<std::string> name = ProfileList::StorableName(typed)) {
        fuzz::Require(!name->empty() && name->find_first_of("\r\n") == std::string::npos,
                      "a name that cannot stand as one value line was taken");
        fuzz::Require(std::string_view(" \t").find(name->front()) == std::string_view::npos &&
                          std::string_view(" \t").find(name->back()) == std::string_view::npos,
                      "a name kept blanks the file would drop");
    }

    std::vector<std::string> names = list.names;
    if (names.empty()) {
        names.push_back(std::string(ProfileList::kRepairedName));
    }
    const std::optional<std::size_t> selected =
        selectedChoice < 0x80 ? std::optional<std::size_t>(selectedChoice % names.size()) : position;
    const std::string bytesBefore = fuzz::ReadBytes(path);
    if (file.Apply(ProfileList::Replacement(names, selected)) != IniWriteResult::Written) {
        fuzz::Require(fuzz::ReadBytes(path) == bytesBefore, "a list that was not written changed the file");
        return 0;
    }
    const IniSnapshot after = file.Read();
    const StoredProfileList reread = ProfileList::Read(after);
    // A name the program would store as it stands reads back as it was (one read from quotes
    // around blanks is not such a name).
    const bool storable = std::all_of(names.begin(), names.end(),
                                      [](const std::string& name) { return ProfileList::StorableName(name) == name; });
    if (storable) {
        fuzz::Require(reread.names == names, "the list reads back differently");
        fuzz::Require(reread.currentName == names[selected.value_or(0)], "the selected name reads back differently");
    }
    for (const std::string& section : before.SectionNames()) {
        if (IniNamesEqual(section, kProfileSection)) {
            continue;
        }
        for (const std::string& key : before.KeyNames(section)) {
            fuzz::Require(after.GetString(section, key) == before.GetString(section, key),
                          "writing the list changed another section");
        }
    }
    return 0;
}
