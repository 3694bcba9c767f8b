#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Language.h"
#include "screens/common/FileMessages.h"

namespace veldrane {

class ConfigFiles;
class TextCodec;
struct ProfileRecords;

// What LoadProfileAndSkin chose: the profile files with the loaded profile's labels, the interface
// language the label file names, the skin folder to paint with, and the boxes to show once the
// language is known.
struct StartupChoice
{
    std::unique_ptr<ConfigFiles> files;
    Language language = Language::English;
    std::filesystem::path skinDirectory;
    std::vector<UserMessage> messages; // in the order they are to be shown
};

// The decisions of the program's start, before any window: the data folder seeded from the
// installed factory files, what a cut-off write or move left behind put right, the selected
// profile loaded (the factory settings standing in for a file that cannot be read), its label
// file's language and skin, and what the user is told about each of these.
class StartupModel
{
public:
    // `userData` is the user's data folder (empty when none is known), `installedData` the
    // installed factory files and skins.
    StartupModel(std::filesystem::path userData, std::filesystem::path installedData, const TextCodec& codec);

    // Copies the factory files the data folder lacks. A line for standard error when the folder is
    // unknown or cannot be prepared; the program goes on with what is there.
    std::optional<std::string> PrepareDataDirectory() const;

    // Removes what a write cut short left, gives profile files whose move was cut off their old
    // places, loads the selected profile into `records` (and takes it as the backup), reads the
    // interface language from the profile's label file and its labels in that language, and
    // chooses the skin: the user's copy of it before the installed one.
    StartupChoice LoadProfileAndSkin(ProfileRecords& records) const;

    // A language chosen while the program runs: the labels the window edits become those it shows
    // in `language`. A button whose assignment changed since the last load or save shows its
    // function in `language`, as an assignment made in it would name it; every other button shows
    // the label stored under the section of `language` in the label file. The record is untouched.
    static void TakeLanguage(const ProfileRecords& records, ConfigFiles& files, Language language);

    // The box of a mouse that is there but that this user may not open (`deniedNode`), or nothing.
    static std::optional<UserMessage> MouseDeniedMessage(Language language, std::string_view deniedNode);

    // A second start with another data folder is refused in the language of the profile list
    // ("str.ini") of the user's folder, or of the installed one while the user has none.
    std::string SecondStartRefusal() const;

private:
    std::filesystem::path m_userData;
    std::filesystem::path m_installedData;
    const TextCodec& m_codec;
};

} // namespace veldrane
