#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileList.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"
#include "ports/TextCodec.h"

namespace veldrane {

class MessageSink;

inline constexpr std::size_t kProfileSlotCount = 6;

// Section "Skins" of a label file: the skin folder and the text colour of all drawing.
struct SkinSettings
{
    std::string path;
    int red = 0;
    int green = 0;
    int blue = 0;
};

// Section "Point" of a label file: vertical positions used by the page layout.
struct PointSettings
{
    int sensitivityX_Y = 0;
    int sensitivityY_Y = 0;
    int sensitivity_Y = 0;
    int mouseSpeed_Y = 0;
};

// The configuration and label files beside the executable, and the state that chooses them:
// "config.bin" (factory), "config%d.bin" and "str%d.ini" (profile %d), "str.ini" (profile list,
// factory labels), "record.ini" (macros). Every path is the executable's directory joined with
// the file name.
class ConfigFiles
{
public:
    ConfigFiles(std::filesystem::path directory, MessageSink& messages, const TextCodec& codec);

    // The rules of the assignment menus (core/buttons: BringButtonsIntoMenuRange), which every
    // load and import applies to the buttons: the buttons it gave their factory function.
    using ButtonRepair = std::vector<std::size_t> (*)(ProfileRecord& record);

    // Loads the selected profile's file (the factory file while resetInProgress) into `record`.
    // A profile file that is there but cannot be read (not 1825 bytes long, not readable, no
    // regular file) gives the factory settings ("config.bin", or FactoryProfile when that cannot
    // be read either) with the factory labels at the next LoadLabels, and a record that "Save"
    // may store: the first SaveConfig keeps the file aside (MoveAside) before it writes. The
    // error then says why the file at configPath could not be read; it is empty otherwise.
    [[nodiscard]] std::error_code LoadConfig(ProfileRecord& record);
    // Writes flag byte 1 and `record` to the selected profile's file, which must already exist
    // (or was found unreadable by the load, and is then kept aside first). False (after the
    // message) when nothing was written.
    bool SaveConfig(const ProfileRecord& record);
    // Reads the labels of `language` and the "Skins" and "Point" sections from labelPath. The
    // buttons the last load or import gave their factory function get the factory labels (once:
    // the reading after it takes the file's labels again).
    void LoadLabels(Language language);
    // The buttons whose labels the next LoadLabels replaces with the factory ones.
    void UseFactoryLabelsFor(std::span<const std::size_t> buttons);
    // Writes "Item1" to "Item12" of labelPath's sections of all three languages, each label in
    // that section's language (TranslateButtonLabel), in one replacement of the file; nothing
    // else. False when a label could not be written: a label with a line break keeps the file's
    // value while the others go in; a file that cannot be written is reported (the system's
    // "Error Code is: %d \n" with a line naming the file and the reason) and stays as it was.
    bool SaveLabels(Language language);

    // The code page of a Windows machine in that interface language: how an INI file it wrote
    // without a "Lan" key of its own is decoded.
    static LegacyCodePage CodePageOf(Language language);

    // The name of the profile whose files currentProfileIndex chooses, as the list holds it;
    // empty when the list has no name there.
    std::string CurrentProfileName() const;

    // Section "Profile" of "str.ini" as it is stored.
    StoredProfileList ReadProfileList() const;
    // Stores `names` with the name at `index` as "CurProfileName", so that the next load reads
    // that profile's files; false when "str.ini" could not be written.
    [[nodiscard]] bool StoreSelectedProfile(std::span<const std::string> names, std::size_t index);

    // The file `fileName` beside the executable.
    std::filesystem::path PathOf(std::string_view fileName) const;

    std::filesystem::path modulePath; // the executable's directory
    std::filesystem::path configPath; // empty until the first load that gets past the list
    std::filesystem::path labelPath;
    std::filesystem::path macroPath;
    std::filesystem::path listPath;

    std::uint8_t currentProfileIndex = 0;
    // The name of the profile whose files the last load read (empty before one found it).
    std::string currentProfileName;
    std::uint8_t firstRunFlag = 0;
    bool resetInProgress = false;
    // The current record came whole from a profile file (a load or an import): only such a record
    // is sent to the mouse, never the zeros of a record that no file filled.
    bool recordLoaded = false;
    std::array<std::string, kButtonCount> buttonLabel;
    SkinSettings skin;
    PointSettings point;

    // The interface language once known; decides how a legacy-encoded INI file without its own
    // "Lan" key is decoded.
    Language language = Language::English;

    // Applied to the buttons of every record a load or import reads; none leaves them as read.
    ButtonRepair repairButtons = nullptr;

private:
    // Steps 1 to 5 of a load: the fixed paths, then the profile files the list selects. False when
    // the list stops the load.
    bool SelectFiles();
    void SetProfilePaths();
    void ReportFileFailure(const std::filesystem::path& file, int errorCode);
    void LoadFactoryInstead(ProfileRecord& record);

    MessageSink& m_messages;
    const TextCodec& m_codec;
    std::array<bool, kButtonCount> m_factoryLabels{};
    // The profile file the last load could not read; kept aside before the first save replaces it.
    std::filesystem::path m_unreadableConfig;
};

} // namespace veldrane
