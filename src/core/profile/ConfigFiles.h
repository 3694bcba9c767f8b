#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/ini/FileError.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileList.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"
#include "ports/TextCodec.h"

namespace veldrane {

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
// the file name. Every failure is returned; the screen that asked shows it.
class ConfigFiles
{
public:
    using Labels = std::array<std::string, kButtonCount>;

    ConfigFiles(std::filesystem::path directory, const TextCodec& codec);

    // The rules of the assignment menus (core/buttons: BringButtonsIntoMenuRange), which every
    // load and import applies to the buttons: the buttons it gave their factory function.
    using ButtonRepair = std::vector<std::size_t> (*)(ProfileRecord& record);

    // Loads the selected profile's file (the factory file while a reset is in progress) into
    // `record`. A profile file that is not there leaves the record as it was (FileMissing). One
    // that is there but cannot be read (not 1825 bytes long, not readable, no regular file) gives
    // the factory settings ("config.bin", or FactoryProfile when that cannot be read either) with
    // the factory labels at the next LoadLabels, and a record that "Save" may store: the first
    // SaveConfig keeps the file aside (MoveAside) before it writes; FactoryStandsIn says so and
    // the error why the file could not be read. The factory file of a reset that cannot be read
    // leaves the record as it was; one of the wrong size does so without an error, as ever.
    FileOutcome LoadConfig(ProfileRecord& record);
    // The last load could not read the profile file and gave the factory settings instead.
    bool FactoryStandsIn() const;
    // Writes flag byte 1 and `record` to the selected profile's file, which must already exist
    // (or was found unreadable by the load, and is then kept aside first).
    FileOutcome SaveConfig(const ProfileRecord& record);
    // Reads the labels of `language` and the "Skins" and "Point" sections from the label file.
    // The buttons the last load or import gave their factory function get the factory labels
    // (once: the reading after it takes the file's labels again).
    void LoadLabels(Language language);
    // The buttons whose labels the next LoadLabels replaces with the factory ones.
    void UseFactoryLabelsFor(std::span<const std::size_t> buttons);
    // Writes "Item1" to "Item12" of the label file's sections of all three languages, each label
    // in that section's language (TranslateButtonLabel), in one replacement of the file; nothing
    // else. A label with a line break keeps the file's value while the others go in
    // (LabelBreaksLine); a file that cannot be written stays as it was.
    FileOutcome SaveLabels(Language language);
    // SaveLabels of `labels` into another label file (an export, an import into another profile).
    FileOutcome SaveLabelsTo(const std::filesystem::path& file, const Labels& labels, Language language) const;
    // The labels of `language` in another label file, with the factory labels for `factoryButtons`;
    // nothing here changes.
    Labels ReadLabelsFrom(const std::filesystem::path& file, Language language,
                          std::span<const std::size_t> factoryButtons = {}) const;
    // An import into the current profile: its flag byte, and the labels of its label file (the
    // factory ones for `factoryButtons`); the "Skins" and "Point" keys only where that file has
    // them, since an exported label file holds only the labels. The record counts as loaded.
    void TakeImport(std::uint8_t firstRunFlag, const std::filesystem::path& labelFile,
                    std::span<const std::size_t> factoryButtons, Language language);

    // The code page of a Windows machine in that interface language: how an INI file it wrote
    // without a "Lan" key of its own is decoded.
    static LegacyCodePage CodePageOf(Language language);

    // The name of the profile whose files CurrentProfileIndex chooses, as the list holds it;
    // empty when the list has no name there.
    std::string CurrentProfileName() const;

    // Section "Profile" of "str.ini" as it is stored.
    StoredProfileList ReadProfileList() const;
    // Stores `names` with the name at `index` as "CurProfileName", so that the next load reads
    // that profile's files; false when "str.ini" could not be written.
    [[nodiscard]] bool StoreSelectedProfile(std::span<const std::string> names, std::size_t index);

    // The file `fileName` beside the executable.
    std::filesystem::path PathOf(std::string_view fileName) const;

    const std::filesystem::path& ModulePath() const { return m_modulePath; } // the executable's directory
    const std::filesystem::path& ConfigPath() const { return m_configPath; } // empty until a load got past the list
    const std::filesystem::path& LabelPath() const { return m_labelPath; }
    const std::filesystem::path& MacroPath() const { return m_macroPath; }
    const std::filesystem::path& ListPath() const { return m_listPath; }

    std::uint8_t CurrentProfileIndex() const { return m_currentProfileIndex; }
    // The profile files now at `index` are the current ones (after the profile manager moved them).
    void SelectProfileIndex(std::uint8_t index);
    // The name of the profile whose files the last load read (empty before one found it).
    const std::string& LoadedProfileName() const { return m_currentProfileName; }
    std::uint8_t FirstRunFlag() const { return m_firstRunFlag; }
    // While a reset is in progress a load reads the factory file and keeps the user's macros.
    bool ResetInProgress() const { return m_resetInProgress; }
    void SetResetInProgress(bool inProgress) { m_resetInProgress = inProgress; }
    // The current record came whole from a profile file (a load or an import): only such a record
    // is sent to the mouse, never the zeros of a record that no file filled.
    bool RecordLoaded() const { return m_recordLoaded; }
    void MarkRecordLoaded() { m_recordLoaded = true; }

    const Labels& ButtonLabel() const { return m_buttonLabel; }
    void SetButtonLabel(std::size_t button, std::string label);
    // The labels the window edits: the button assignment and the macro manager write them as the
    // user assigns, and the next SaveLabels stores them.
    Labels& EditedLabels() { return m_buttonLabel; }
    const SkinSettings& Skin() const { return m_skin; }
    const PointSettings& Point() const { return m_point; }

    // The interface language once known; decides how a legacy-encoded INI file without its own
    // "Lan" key is decoded.
    Language InterfaceLanguage() const { return m_language; }
    void SetInterfaceLanguage(Language language) { m_language = language; }
    // Applied to the buttons of every record a load or import reads; none leaves them as read.
    void SetButtonRepair(ButtonRepair repair) { m_repairButtons = repair; }
    ButtonRepair RepairButtons() const { return m_repairButtons; }

private:
    // Steps 1 to 5 of a load: the fixed paths, then the profile files the list selects.
    void SelectFiles();
    void SetProfilePaths();
    void LoadFactoryInstead(ProfileRecord& record);

    const TextCodec& m_codec;
    std::filesystem::path m_modulePath;
    std::filesystem::path m_configPath;
    std::filesystem::path m_labelPath;
    std::filesystem::path m_macroPath;
    std::filesystem::path m_listPath;
    std::uint8_t m_currentProfileIndex = 0;
    std::string m_currentProfileName;
    std::uint8_t m_firstRunFlag = 0;
    bool m_resetInProgress = false;
    bool m_recordLoaded = false;
    Labels m_buttonLabel;
    SkinSettings m_skin;
    PointSettings m_point;
    Language m_language = Language::English;
    ButtonRepair m_repairButtons = nullptr;
    std::array<bool, kButtonCount> m_factoryLabels{};
    // The profile file the last load could not read; kept aside before the first save replaces it.
    std::filesystem::path m_unreadableConfig;
};

} // namespace veldrane
