#include "core/macro/MacroDeletion.h"

#include <array>
#include <string>
#include <vector>

#include "core/buttons/ButtonAssignment.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileSlotMover.h"

namespace veldrane {

namespace {

constexpr Language kAllLanguages[] = {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese};

// One profile whose files follow the deletion.
struct ProfileChange
{
    std::size_t slot;
    std::uint8_t firstRunFlag;
    ProfileRecord record;
    std::vector<std::size_t> unbound; // buttons that were bound to the deleted macro
};

std::vector<ProfileChange> PlanProfileChanges(const std::filesystem::path& directory, std::size_t number)
{
    std::vector<ProfileChange> changes;
    for (std::size_t slot = 0; slot < kProfileSlotCount; ++slot) {
        // A profile file that cannot be read is not this step's to rewrite: its load keeps it.
        const ConfigFileReadResult file = ConfigFile::Read(directory / ProfileConfigName(slot));
        if (file.status != ConfigFileStatus::Read) {
            continue;
        }
        ProfileChange change{slot, file.contents.firstRunFlag, file.contents.record, {}};
        ButtonLabels labels;
        change.unbound = ButtonAssignment(change.record, labels, Language::English).RemoveMacro(number);
        if (change.record != file.contents.record) {
            changes.push_back(std::move(change));
        }
    }
    return changes;
}

// The factory labels of `buttons` in every language's section, or in the English one alone for a
// legacy file whose code page cannot hold the others.
std::error_code WriteFactoryLabels(const std::filesystem::path& path, const std::vector<std::size_t>& buttons,
                                   const TextCodec& codec)
{
    const auto plan = [&](bool allLanguages) {
        IniBatch batch;
        for (const Language language : kAllLanguages) {
            if (!allLanguages && language != Language::English) {
                continue;
            }
            const std::array<std::string, kButtonCount> factory = FactoryLabels(language);
            for (const std::size_t button : buttons) {
                batch.WriteString(LanguageSectionName(language), LabelKey(button), factory[button]);
            }
        }
        return batch;
    };
    IniFile labels(path, codec);
    IniWriteResult result = labels.Apply(plan(true));
    if (result == IniWriteResult::IoError && labels.LastError() == FileError::UnencodableText) {
        result = labels.Apply(plan(false));
    }
    if (result == IniWriteResult::Written) {
        return {};
    }
    return labels.LastError() ? labels.LastError() : std::make_error_code(std::errc::io_error);
}

} // namespace

MacroDeletion DeleteMacroWithProfiles(IniFile& macroFile, std::string_view name, std::size_t number,
                                      const TextCodec& codec)
{
    const std::filesystem::path directory = macroFile.Path().parent_path();
    const std::vector<ProfileChange> changes = PlanProfileChanges(directory, number);

    std::vector<std::string> fileNames{macroFile.Path().filename().string()};
    for (const ProfileChange& change : changes) {
        fileNames.push_back(ProfileConfigName(change.slot));
        if (!change.unbound.empty()) {
            fileNames.push_back(ProfileLabelName(change.slot));
        }
    }
    const std::filesystem::path journal = directory / ProfileSlotMover::kJournalName;
    if (const ProfileSlotMover::StepError begun = ProfileSlotMover::BeginStep(directory, fileNames); begun.error) {
        return {begun.error, begun.file};
    }
    // From here on a failure puts every file back from the journal; should that fail too, the
    // journal stays and the next start finishes it.
    const auto failed = [&directory](std::error_code error, std::filesystem::path file) {
        (void)ProfileSlotMover::Recover(directory);
        return MacroDeletion{error, std::move(file)};
    };
    if (!DeleteMacroSection(macroFile, name)) {
        const std::error_code error = macroFile.LastError();
        return failed(error ? error : std::make_error_code(std::errc::io_error), macroFile.Path());
    }
    for (const ProfileChange& change : changes) {
        const std::filesystem::path config = directory / ProfileConfigName(change.slot);
        if (const std::error_code error = ConfigFile::Write(config, change.firstRunFlag, change.record)) {
            return failed(error, config);
        }
        if (change.unbound.empty()) {
            continue;
        }
        const std::filesystem::path labels = directory / ProfileLabelName(change.slot);
        if (const std::error_code error = WriteFactoryLabels(labels, change.unbound, codec)) {
            return failed(error, labels);
        }
    }
    if (const std::error_code error = ProfileSlotMover::EndStep(directory)) {
        return failed(error, journal);
    }
    return {};
}

} // namespace veldrane
