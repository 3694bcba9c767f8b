// The profile manager in the real program on a private Xvfb server, driven with xdotool: names are
// deleted, created and renamed through the manager's window and menu, the profile is saved with the
// main window's "Save", and after a restart every name still has its own settings and labels.

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "ini/IniFile.h"
#include "platform/XvfbServer.h"
#include "platform/linux/IconvTextCodec.h"
#include "profile/ConfigFile.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileFileNames.h"
#include "support/TempDir.h"
#include "text/Language.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;

constexpr int kTimeoutMs = 30000;
constexpr std::string_view kMainWindowName = "^Tessaly VELDRANE$";
constexpr std::string_view kManagerName = "^Configuration$";
constexpr std::string_view kMenuName = "^ProfileList$";

// Window pixels of what the test presses: the main window's "Config", "Save" and close buttons; the
// manager's close button, "New" row and the middle of its first list line.
constexpr int kConfigX = 50, kConfigY = 619;
constexpr int kSaveX = 950, kSaveY = 619;
constexpr int kExitX = 986, kExitY = 12;
constexpr int kManagerCloseX = 247, kManagerCloseY = 15;
constexpr int kNewRowX = 130, kNewRowY = 586;
constexpr int kFirstLineX = 60, kFirstLineY = 39;

QCoreApplication& Application()
{
    static int argc = 1;
    static char name[] = "profile_manager_desktop_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

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

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class ProfileManagerDesktopTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        Application();
        const char* binDir = std::getenv("VELDRANE_BIN_DIR");
        if (!test::XvfbServer::Installed() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty() ||
            binDir == nullptr || !std::filesystem::exists(std::filesystem::path(binDir) / "veldrane")) {
            GTEST_SKIP() << "needs Xvfb, xdotool and the built program";
        }
        m_bin = binDir;
        m_xvfb = std::make_unique<test::XvfbServer>("1280x1024x24");
        ASSERT_FALSE(m_xvfb->Display().empty());
        std::filesystem::permissions(m_runtime.Path(), std::filesystem::perms::owner_all);
        Install();
    }

    void TearDown() override
    {
        if (m_app.state() != QProcess::NotRunning) {
            m_app.kill();
            m_app.waitForFinished(kTimeoutMs);
        }
    }

    // The program's installation: the built program, its factory files and skin, the interface
    // language under test, and three names A, B (selected), C with settings and labels of their own.
    void Install()
    {
        const auto copy = std::filesystem::copy_options::recursive;
        std::filesystem::copy(m_bin / "veldrane", dir / "veldrane");
        std::filesystem::copy(m_bin / "Skins", dir / "Skins", copy);
        for (const std::string& name : {std::string(kFactoryConfigName), std::string(kListName)}) {
            std::filesystem::copy(m_bin / name, dir / name);
        }
        for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
            std::filesystem::copy(m_bin / ProfileConfigName(index), dir / ProfileConfigName(index));
            std::filesystem::copy(m_bin / ProfileLabelName(index), dir / ProfileLabelName(index));
            Label(ProfileLabelName(index)).WriteString("Skins", "Lan", GetParam());
        }
        Label(std::string(kListName)).WriteString("Skins", "Lan", GetParam());
        const char* labels[] = {"label A", "label B", "label C"};
        m_factory = ConfigFile::Read(dir / kFactoryConfigName).contents.record;
        for (std::size_t index = 0; index < 3; ++index) {
            ASSERT_EQ(ConfigFile::Write(dir / ProfileConfigName(index), 1, Seeded(10 + index)), 0);
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
    IniFile Label(const std::string& name) { return IniFile(dir / name, m_codec); }
    std::string LabelOf(std::size_t index) { return Label(ProfileLabelName(index)).GetString(m_section, "Item1"); }
    std::string ListValue(std::string_view key) { return Label(std::string(kListName)).GetString("Profile", key); }
    // A profile file's record without byte 0, deviceProfile, which every download sets to 0.
    std::string SettingsOf(std::size_t index) { return ReadFileBytes(dir / ProfileConfigName(index)).substr(2); }
    static std::string SettingsOf(const ProfileRecord& record) { return ConfigFile::Encode(1, record).substr(2); }

    // Runs xdotool on the test's display; its output.
    QString Xdo(const QStringList& arguments)
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(m_xvfb->Display()));
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        if (!xdotool.waitForFinished(kTimeoutMs)) {
            xdotool.kill();
            xdotool.waitForFinished();
            ADD_FAILURE() << "xdotool did not finish: " << arguments.join(' ').toStdString();
        }
        return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }
    // The first visible window whose name matches, once it is there.
    QString WaitForWindow(std::string_view name)
    {
        return Xdo({"search", "--sync", "--onlyvisible", "--name", FromUtf8(name)}).section('\n', 0, 0);
    }
    void Click(const QString& window, int x, int y, int button = 1, int repeat = 1)
    {
        Xdo({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "--repeat",
             QString::number(repeat), "--delay", "120", QString::number(button)});
    }
    // Waits, without a fixed pause, until `done` holds after a change in the installation folder.
    bool WaitFor(const std::function<bool()>& done)
    {
        QFileSystemWatcher watcher({QString::fromStdString(dir.Path().string())});
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
            if (done()) {
                loop.quit();
            }
        });
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(kTimeoutMs);
        if (!done()) {
            loop.exec();
        }
        return done();
    }

    QString Start()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(m_xvfb->Display()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(m_runtime.Path().string()));
        m_app.setProcessEnvironment(environment);
        m_app.setProcessChannelMode(QProcess::ForwardedChannels);
        m_app.start(QString::fromStdString((dir / "veldrane").string()), {QStringLiteral("--simulate")});
        EXPECT_TRUE(m_app.waitForStarted(kTimeoutMs));
        return WaitForWindow(kMainWindowName);
    }
    // "Save" on the main window; true once the selected profile's file has been written.
    bool Save(const QString& window, std::size_t index)
    {
        const std::filesystem::path file = dir / ProfileConfigName(index);
        const auto aged = std::filesystem::last_write_time(file) - std::chrono::hours(1);
        std::filesystem::last_write_time(file, aged);
        Click(window, kSaveX, kSaveY);
        return WaitFor([&] { return std::filesystem::last_write_time(file) != aged; });
    }
    void Exit(const QString& window)
    {
        Click(window, kExitX, kExitY);
        const bool ended = m_app.waitForFinished(kTimeoutMs);
        EXPECT_TRUE(ended);
    }

    test::TempDir dir;
    test::TempDir m_runtime;
    IconvTextCodec m_codec;
    std::string m_section{LanguageSectionName(LanguageFromCode(GetParam()))};
    std::filesystem::path m_bin;
    ProfileRecord m_factory{};
    std::unique_ptr<test::XvfbServer> m_xvfb;
    QProcess m_app;
};

TEST_P(ProfileManagerDesktopTest, NamesKeepTheirSettingsThroughDeleteNewRenameSaveAndRestart)
{
    QString window = Start();
    ASSERT_FALSE(window.isEmpty());
    Click(window, kConfigX, kConfigY);
    const QString manager = WaitForWindow(kManagerName);
    ASSERT_FALSE(manager.isEmpty());

    // Delete A: select it, then "Delete", the first entry of the menu of a right-button release.
    Click(manager, kFirstLineX, kFirstLineY);
    Click(manager, kFirstLineX, kFirstLineY, 3);
    ASSERT_FALSE(WaitForWindow(kMenuName).isEmpty());
    Xdo({"key", "Down", "Return"});
    // A new name after C, then B renamed in place; B stays selected.
    Click(manager, kNewRowX, kNewRowY);
    Click(manager, kFirstLineX, kFirstLineY, 1, 2);
    Xdo({"windowfocus", "--sync", manager});
    Xdo({"key", "ctrl+a"});
    Xdo({"type", "--delay", "30", "Bee"});
    Xdo({"key", "Return"});
    Click(manager, kManagerCloseX, kManagerCloseY);
    ASSERT_TRUE(WaitFor([&] { return ListValue("Item0") == "Bee"; }));

    EXPECT_EQ(ListValue("CurProfileName"), "Bee");
    EXPECT_EQ(ListValue("ItemCount"), "3");
    EXPECT_EQ(ListValue("Item1"), "C");
    EXPECT_EQ(ListValue("Item2"), "C_2");
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    EXPECT_EQ(LabelOf(1), "label C");
    EXPECT_EQ(ReadFileBytes(dir / "config2.bin"), ReadFileBytes(dir / "config.bin"));

    // "Save" writes the profile loaded at the start (B's) into the files of its new position.
    ASSERT_TRUE(Save(window, 0));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    Exit(window);

    // After a restart the program loads Bee's own files: saving them again changes nothing.
    window = Start();
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(Save(window, 0));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(LabelOf(1), "label C");
    Exit(window);
}

INSTANTIATE_TEST_SUITE_P(Languages, ProfileManagerDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

} // namespace
} // namespace veldrane
