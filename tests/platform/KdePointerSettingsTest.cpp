#include "platform/linux/pointer/KdePointerSettings.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "platform/PointerSettingsBackend.h"
#include "platform/linux/pointer/KdeConfigFile.h"
#include "profile/ProfileRecord.h"
#include "settings/DesktopPointerSettingsApplier.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane::test {
namespace {

// An executable shell script standing in for a desktop tool: it appends each of its arguments on
// a line of its own to `log`, then a line "--".
std::filesystem::path WriteRecordingProgram(const std::filesystem::path& directory, const std::string& name,
                                            const std::filesystem::path& log)
{
    const std::filesystem::path program = directory / name;
    WriteFileBytes(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log.string() +
                                "'; done\necho -- >> '" + log.string() + "'\n");
    ::chmod(program.c_str(), 0755);
    return program;
}

constexpr auto kApplied = PointerSettingResult::Applied;
constexpr auto kRefused = PointerSettingResult::Refused;

class KdePointerSettingsFiles : public testing::Test
{
protected:
    std::filesystem::path Config() const { return m_home / "config"; }
    std::string InputFile() const { return ReadFileBytes(Config() / "kcminputrc"); }
    std::string GlobalsFile() const { return ReadFileBytes(Config() / "kdeglobals"); }

    TempDir m_home;
    KdePointerSettings m_kde{m_home / "config", KdeTools{}};
};

// Values Plasma cannot hold are refused and write nothing; the first apply writes both files.
TEST_F(KdePointerSettingsFiles, FirstApplyWritesBothFilesWithoutTheToolsAndRefusesWhatPlasmaCannotHold)
{
    EXPECT_EQ(m_kde.SetMouseSpeed(0), kRefused);
    EXPECT_EQ(m_kde.SetMouseSpeed(21), kRefused);
    EXPECT_EQ(m_kde.SetDoubleClickTime(0), kRefused);
    EXPECT_FALSE(std::filesystem::exists(Config()));

    RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(m_kde, messages);

    ProfileRecord record{};
    record.pointerPrecision = 1;
    record.mouseSpeed = 12;
    record.scrollLines = 7;
    record.doubleClickSpeed = 12;
    applier.ApplyPointerSettings(record);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(InputFile(), "[Mouse]\n"
                           "X11LibInputXAccelProfileFlat=false\n"
                           "Acceleration=2\n"
                           "Threshold=4\n"
                           "XLbInptPointerAcceleration=1.000\n");
    EXPECT_EQ(GlobalsFile(), "[KDE]\n"
                             "WheelScrollLines=7\n"
                             "DoubleClickInterval=130\n");
}

TEST_F(KdePointerSettingsFiles, UpdatesMiceInPlaceAndLeavesTouchpadsAndOtherLinesAlone)
{
    std::filesystem::create_directories(Config());
    WriteFileBytes(Config() / "kcminputrc", "# kept\r\n"
                                            "[Libinput][1133][49271][USB Optical Mouse]\r\n"
                                            "PointerAcceleration=0.400\r\n"
                                            "PointerAccelerationProfile=2\r\n"
                                            "\r\n"
                                            "[Libinput][1267][12521][ELAN1205:00 04F3:30E9 Touchpad]\r\n"
                                            "PointerAcceleration=0.000\r\n"
                                            "\r\n"
                                            "[Mouse]\r\n"
                                            "cursorTheme=breeze_cursors\r\n"
                                            "XLbInptPointerAcceleration=0.4");

    ASSERT_EQ(m_kde.SetMouse({0, 0, 0}), kApplied);
    ASSERT_EQ(m_kde.SetMouseSpeed(20), kApplied);

    EXPECT_EQ(InputFile(), "# kept\r\n"
                           "[Libinput][1133][49271][USB Optical Mouse]\r\n"
                           "PointerAcceleration=1.000\r\n"
                           "PointerAccelerationProfile=1\r\n"
                           "\r\n"
                           "[Libinput][1267][12521][ELAN1205:00 04F3:30E9 Touchpad]\r\n"
                           "PointerAcceleration=0.000\r\n"
                           "\r\n"
                           "[Mouse]\r\n"
                           "cursorTheme=breeze_cursors\r\n"
                           "XLbInptPointerAcceleration=1.000\n"
                           "X11LibInputXAccelProfileFlat=true\n"
                           "Acceleration=1\n");
}

TEST(KdePointerSettingsTools, WritesEveryEntryThroughKwriteconfigAndAnnouncesIt)
{
    TempDir dir;
    const std::filesystem::path toolLog = dir / "kwriteconfig.log";
    const std::filesystem::path busLog = dir / "dbus.log";
    std::filesystem::create_directories(dir / "config");
    WriteFileBytes(dir / "config" / "kcminputrc", "[Libinput][1133][49271][USB Optical Mouse]\n"
                                                  "PointerAccelerationProfile=2\n");
    const std::string file = (dir / "config" / "kcminputrc").string();
    KdePointerSettings kde(dir / "config", KdeTools{WriteRecordingProgram(dir.Path(), "kwriteconfig6", toolLog),
                                                    WriteRecordingProgram(dir.Path(), "dbus-send", busLog)});

    ASSERT_EQ(kde.SetMouseSpeed(1), kApplied);

    EXPECT_EQ(ReadFileBytes(toolLog), "--file\n" + file +
                                          "\n--group\nMouse\n--key\nXLbInptPointerAcceleration\n-1.000\n--\n"
                                          "--file\n" +
                                          file +
                                          "\n--group\nLibinput\n--group\n1133\n--group\n49271\n--group\n"
                                          "USB Optical Mouse\n--key\nPointerAcceleration\n-1.000\n--\n");
    EXPECT_EQ(ReadFileBytes(busLog), "--session\n--type=signal\n/KGlobalSettings\n"
                                     "org.kde.KGlobalSettings.notifyChange\nint32:3\nint32:0\n--\n");
}

} // namespace
} // namespace veldrane::test
