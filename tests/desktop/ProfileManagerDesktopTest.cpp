// The profile manager in the real program on a private Xvfb server, driven with xdotool: names are
// deleted, created and renamed through the manager's window and menu, the profile is saved with the
// main window's "Save", and after a restart every name still has its own settings and labels.

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "ini/IniFile.h"
#include "profile/ConfigFile.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileFileNames.h"
#include "support/TempDir.h"
#include "text/Language.h"
#include "text/ProfileManagerTexts.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;

constexpr std::string_view kMenuName = "^ProfileList$";

// Window pixels of what the test presses: the main window's "Config"; the manager's
// close button, "New" row and the middle of its first list line.
constexpr int kConfigX = 50, kConfigY = 619;
constexpr int kManagerCloseX = 247, kManagerCloseY = 15;
constexpr int kNewRowX = 130, kNewRowY = 586;
constexpr int kFirstLineX = 60, kFirstLineY = 39;

// The factory profile with settings of its own: CPI values, stage colours, reserved bytes and macros
// that depend on `seed`. The pointer settings stay valid, so that "Save" can apply them.
ProfileRecord Distinct(const ProfileRecord& factory, std::uint8_t seed)
{
    ProfileRecord record = factory;
    for (std::size_t stage = 0; stage < record.cpiValue.size(); ++stage) {
        record.cpiValue[stage] = static_cast<std::uint8_t>(seed + stage);
    }
    record.cpiColor.fill(seed);
    record.reserved001.fill(seed);
    auto macros = record.MacroPart();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        macros[i] = static_cast<std::uint8_t>(i * 3 + seed);
    }
    return record;
}

class ProfileManagerDesktopTest : public test::DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (!IsSkipped()) {
            Install();
        }
    }

    // Three names A, B (selected), C with settings and labels of their own.
    void Install()
    {
        const char* labels[] = {"label A", "label B", "label C"};
        m_factory = ConfigFile::Read(Session() / kFactoryConfigName).contents.record;
        for (std::size_t index = 0; index < 3; ++index) {
            ASSERT_EQ(ConfigFile::Write(Session() / ProfileConfigName(index), 1, Seeded(10 + index)), 0);
            Label(ProfileLabelName(index)).WriteString(m_section, "Item1", labels[index]);
        }
        IniFile list = Label(std::string(kListName));
        list.DeleteSection("Profile");
        list.WriteString("Profile", "CurProfileName", "B");
        list.WriteString("Profile", "ItemCount", "3");
        list.WriteString("Profile", "Item0", "A");
        list.WriteString("Profile", "Item1", "B");
        list.WriteString("Profile", "Item2", "C");
    }

    ProfileRecord Seeded(std::size_t seed) const { return Distinct(m_factory, static_cast<std::uint8_t>(seed)); }
    IniFile Label(const std::string& name) { return IniFile(Session() / name, Session().Codec()); }
    std::string LabelOf(std::size_t index) { return Label(ProfileLabelName(index)).GetString(m_section, "Item1"); }
    std::string ListValue(std::string_view key) { return Label(std::string(kListName)).GetString("Profile", key); }
    // A profile file's record without byte 0, deviceProfile, which every download sets to 0.
    std::string SettingsOf(std::size_t index) { return ReadFileBytes(Session() / ProfileConfigName(index)).substr(2); }
    static std::string SettingsOf(const ProfileRecord& record) { return ConfigFile::Encode(1, record).substr(2); }

    // "Save" on the main window; true once the selected profile's file has been written.
    bool Save(const QString& window, std::size_t index)
    {
        const auto aged = Session().Age(ProfileConfigName(index));
        Session().PressSave(window);
        return Session().WaitUntilWritten(ProfileConfigName(index), aged);
    }

    std::string m_section{LanguageSectionName(LanguageFromCode(GetParam()))};
    ProfileRecord m_factory{};
};

TEST_P(ProfileManagerDesktopTest, NamesKeepTheirSettingsThroughDeleteNewRenameSaveAndRestart)
{
    test::DesktopSession& session = Session();
    QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    session.Click(window, kConfigX, kConfigY);
    // The manager's window carries its title in the interface language.
    const std::string title(ProfileManagerTextsFor(LanguageFromCode(GetParam())).title);
    const QString manager = session.WaitForWindow("^" + title + "$");
    ASSERT_FALSE(manager.isEmpty());

    // Delete A: select it, then "Delete", the first entry of the menu of a right-button release.
    session.Click(manager, kFirstLineX, kFirstLineY);
    session.Click(manager, kFirstLineX, kFirstLineY, 3);
    ASSERT_FALSE(session.WaitForWindow(kMenuName).isEmpty());
    session.Xdo({"key", "Down", "Return"});
    // A new name after C, then B renamed in place; B stays selected.
    session.Click(manager, kNewRowX, kNewRowY);
    session.Click(manager, kFirstLineX, kFirstLineY, 1, 2);
    session.Xdo({"windowfocus", "--sync", manager});
    session.Xdo({"key", "ctrl+a"});
    session.Xdo({"type", "--delay", "30", "Bee"});
    session.Xdo({"key", "Return"});
    session.Click(manager, kManagerCloseX, kManagerCloseY);
    ASSERT_TRUE(session.WaitFor([&] { return ListValue("Item0") == "Bee"; }));

    EXPECT_EQ(ListValue("CurProfileName"), "Bee");
    EXPECT_EQ(ListValue("ItemCount"), "3");
    EXPECT_EQ(ListValue("Item1"), "C");
    EXPECT_EQ(ListValue("Item2"), "C_2");
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    EXPECT_EQ(LabelOf(1), "label C");
    EXPECT_EQ(ReadFileBytes(session / "config2.bin"), ReadFileBytes(session / "config.bin"));

    // "Save" writes the profile loaded at the start (B's) into the files of its new position.
    ASSERT_TRUE(Save(window, 0));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    EXPECT_EQ(session.CloseWithExitButton(window), 0);

    // After a restart the program loads Bee's own files: saving them again changes nothing.
    window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(Save(window, 0));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(LabelOf(1), "label C");
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ProfileManagerDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

} // namespace
} // namespace veldrane
