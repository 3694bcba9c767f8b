// A profile's configuration file and its label file, as any bytes, loaded and saved again: the
// load reads nothing outside the files, and the save writes back exactly what was loaded, changes
// nothing else in the label file, and leaves a label file it cannot rewrite faithfully alone.
//
// Input: interface language, length of the configuration file (two bytes), its bytes, then the
// label file's bytes.

#include <tuple>

#include "FuzzSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniEncoding.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "support/RecordingMessageSink.h"

namespace {

using namespace veldrane;

constexpr std::string_view kList = "[Profile]\r\nCurProfileName=A\r\nItemCount=1\r\nItem0=A\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::InputFolder inputFiles;
    static const IconvTextCodec codec;
    fuzz::InputReader input(data, size);
    const auto language = static_cast<Language>(input.Byte() % 3);
    // Mostly the one length that loads, sometimes any other.
    const std::uint16_t lengthChoice = input.Word();
    const std::size_t configLength = lengthChoice < 0xF000 ? kConfigFileSize : lengthChoice & 0x0FFF;
    const std::string config(input.Bytes(configLength));
    const std::string labels(input.Rest());

    const std::filesystem::path folder = fuzz::Folder();
    fuzz::WriteBytes(folder / kListName, kList);
    fuzz::WriteBytes(folder / ProfileConfigName(0), config);
    fuzz::WriteBytes(folder / ProfileLabelName(0), labels);

    ConfigFiles files(folder, codec);
    files.SetInterfaceLanguage(language);
    ProfileRecord record;
    record.Bytes()[0] = 0xA5; // tells a loaded record from one left alone
    const ProfileRecord untouched = record;
    const std::error_code unreadable = files.LoadConfig(record).error;
    files.LoadLabels(language);
    const bool loaded = config.size() == kConfigFileSize;
    fuzz::Require(loaded != static_cast<bool>(unreadable),
                  "a file of the wrong size was not refused, or one of the right size was");
    if (!loaded) {
        return 0;
    }
    // The load takes the file whole, with the settings brought into the controls' range.
    const ConfigFileReadResult stored = ConfigFile::Read(folder / ProfileConfigName(0));
    fuzz::Require(stored.status == ConfigFileStatus::Read, "a file of the right size was not read");
    ProfileRecord expected = stored.contents.record;
    (void)BringIntoControlRange(expected);
    fuzz::Require(files.FirstRunFlag() == stored.contents.firstRunFlag && record == expected,
                  "the load did not take the file whole");

    const ConfigFiles loadedFiles = files;
    fuzz::Require(files.SaveConfig(record).Done(), "the save of a loaded profile failed");
    fuzz::Require(fuzz::ReadBytes(folder / ProfileConfigName(0)) == ConfigFile::Encode(1, record),
                  "the saved configuration file is not flag 1 and the record");
    const bool labelsSaved = files.SaveLabels(language).Done();
    const std::string labelsNow = fuzz::ReadBytes(folder / ProfileLabelName(0));
    if (!IniEncoding(codec, ConfigFiles::CodePageOf(language)).Decode(labels).exact) {
        fuzz::Require(!labelsSaved && labelsNow == labels, "a label file that does not decode exactly was rewritten");
        return 0;
    }

    ConfigFiles again(folder, codec);
    again.SetInterfaceLanguage(language);
    ProfileRecord reloaded;
    fuzz::Require(again.LoadConfig(reloaded).Done(), "the saved profile could not be read");
    again.LoadLabels(language);
    fuzz::Require(reloaded == record, "the saved profile loads differently");
    const auto skin = [](const ConfigFiles& f) {
        return std::tie(f.Skin().path, f.Skin().red, f.Skin().green, f.Skin().blue);
    };
    const auto layout = [](const ConfigFiles& f) { return std::tie(f.Point().sensitivityX_Y, f.Point().mouseSpeed_Y); };
    fuzz::Require(skin(again) == skin(loadedFiles), "saving the labels changed the skin settings");
    fuzz::Require(layout(again) == layout(loadedFiles), "saving the labels changed the layout settings");
    fuzz::Require(!labelsSaved || again.ButtonLabel() == loadedFiles.ButtonLabel(),
                  "the saved labels load differently");
    return 0;
}
