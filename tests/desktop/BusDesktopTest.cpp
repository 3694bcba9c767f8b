// The program on a session bus (the test runs under dbus-run-session): a client reads every
// property of "veldrane --simulate", calls every method, sees the download a switch makes in the
// simulated mouse's trace, the PropertiesChanged and ProfileSwitched signals and each error;
// veldranectl goes through the running program (the bus's NoMouse is its exit status 4); the
// tray's "Profiles" switches; the desktop's notification service gets one notice per kind that
// replaces the one before.

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <map>

#include "DesktopSession.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {
namespace {

const QString kService = QStringLiteral("io.github.veldrane.Veldrane");
const QString kPath = QStringLiteral("/io/github/veldrane/Veldrane");
const QString kInterface = QStringLiteral("io.github.veldrane.Veldrane1");
const QString kError = QStringLiteral("io.github.veldrane.Veldrane1.Error.");

// The desktop's notification service as the test's own object on the bus: every notice, and
// which are on screen, a notice with a `replaces_id` taking the place of that one.
class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice
    {
        uint replaces;
        QString summary;
        QString body;
        QVariantMap hints;
    };

    std::vector<Notice> received;
    std::map<uint, QString> onScreen; // id -> body

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& hints, int)
    {
        received.push_back({replacesId, summary, body, hints});
        const uint id = replacesId != 0 && onScreen.contains(replacesId) ? replacesId : ++m_lastId;
        onScreen[id] = body;
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

private:
    uint m_lastId = 0;
};

// Records the signals of the program's object.
class SignalLog : public QObject
{
    Q_OBJECT

public:
    std::vector<QString> switches;
    std::vector<QVariantMap> changes;

public slots:
    void ProfileSwitched(int index, const QString& name, const QString& reason)
    {
        switches.push_back(QStringLiteral("%1 %2 %3").arg(index).arg(name, reason));
    }
    void PropertiesChanged(const QString&, const QVariantMap& changed, const QStringList&)
    {
        changes.push_back(changed);
    }
};

class BusDesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VELDRANE_REQUIRE_DESKTOP(true);
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
            GTEST_SKIP() << "needs a session bus (run under dbus-run-session)";
        }
        m_session.emplace("EN", true);
        ASSERT_TRUE(Bus().isConnected());
        ASSERT_TRUE(Bus().registerService(QStringLiteral("org.freedesktop.Notifications")));
        ASSERT_TRUE(Bus().registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_notifications,
                                         QDBusConnection::ExportAllSlots));
        // Two named profiles; the second one's stage 1 runs at 3200 CPI.
        IniFile list(Session() / "str.ini", Session().Codec());
        for (const auto& [key, value] : std::initializer_list<std::pair<std::string, std::string>>{
                 {"CurProfileName", "PROFILE_0"}, {"ItemCount", "2"}, {"Item0", "PROFILE_0"}, {"Item1", "Game"}}) {
            ASSERT_EQ(list.WriteString("Profile", key, value), IniWriteResult::Written);
        }
        ConfigFileReadResult game = ConfigFile::Read(Session() / ProfileConfigName(1));
        game.contents.record.cpiValue[0] = 64;
        ASSERT_FALSE(ConfigFile::Write(Session() / ProfileConfigName(1), 1, game.contents.record));
        Bus().connect(kService, kPath, kInterface, QStringLiteral("ProfileSwitched"), &m_log,
                      SLOT(ProfileSwitched(int, QString, QString)));
        Bus().connect(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                      QStringLiteral("PropertiesChanged"), &m_log,
                      SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
    }

    void TearDown() override
    {
        Bus().unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        Bus().unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    }

    static QDBusConnection Bus() { return QDBusConnection::sessionBus(); }
    test::DesktopSession& Session() { return *m_session; }

    // Starts the program and waits until it owns its name.
    void StartProgram(const QStringList& extra = {})
    {
        Session().UseSessionBus();
        Session().Launch(extra);
        ASSERT_TRUE(Session().WaitFor([] { return Bus().interface()->isServiceRegistered(kService).value(); }))
            << "the program did not take its bus name";
    }

    // A call answered while the test keeps serving its own objects; the reply.
    QDBusMessage Call(const QString& method, const QVariantList& arguments = {}, const QString& interface = kInterface)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        call.setArguments(arguments);
        QDBusPendingCall pending = Bus().asyncCall(call, test::DesktopSession::kTimeoutMs);
        EXPECT_TRUE(Session().WaitFor([&] { return pending.isFinished(); })) << method.toStdString();
        return pending.reply();
    }
    static std::string ErrorOf(const QDBusMessage& reply)
    {
        return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName().mid(kError.size()).toStdString()
                                                          : std::string("none");
    }

    QVariantMap Properties()
    {
        const QDBusMessage reply = Call("GetAll", {kInterface}, QStringLiteral("org.freedesktop.DBus.Properties"));
        return qdbus_cast<QVariantMap>(reply.arguments().value(0));
    }

    // veldranectl, which finds the program on the bus and goes through it: its exit status and its
    // output and error output together.
    std::pair<int, QString> Veldranectl(QStringList arguments)
    {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QString::fromUtf8(qgetenv("VELDRANE_BIN_DIR")) + "/veldranectl", arguments << "--simulate");
        // The test serves its own objects (the notification service) while the tool waits.
        EXPECT_TRUE(Session().WaitFor([&] { return tool.state() == QProcess::NotRunning; }));
        return {tool.exitCode(), QString::fromUtf8(tool.readAll())};
    }

    // The stage-1 CPI code of the settings block the last download wrote.
    std::optional<std::uint8_t> SentStage1Code()
    {
        const std::vector<std::uint8_t> block = Session().WrittenBlock(0x0C);
        return block.size() > 84 ? std::optional(block[84]) : std::nullopt;
    }

    NotificationServer m_notifications;
    SignalLog m_log;
    std::optional<test::DesktopSession> m_session;
};

TEST_F(BusDesktopTest, ClientReadsEveryPropertyCallsEveryMethodAndGetsEachError)
{
    StartProgram();

    // gdbus shows the interface with every member the installed description names.
    QProcess gdbus;
    gdbus.start(QStringLiteral("gdbus"), {"introspect", "--session", "--dest", kService, "--object-path", kPath});
    ASSERT_TRUE(gdbus.waitForFinished(test::DesktopSession::kTimeoutMs));
    const QString introspected = QString::fromUtf8(gdbus.readAllStandardOutput());
    EXPECT_TRUE(introspected.contains(QStringLiteral("interface io.github.veldrane.Veldrane1")));
    QFile description(QStringLiteral(VELDRANE_SOURCE_DIR "/data/io.github.veldrane.Veldrane1.xml"));
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    static const QRegularExpression member(QStringLiteral("<(method|property|signal) name=\"(\\w+)\""));
    int members = 0;
    for (auto it = member.globalMatch(QString::fromUtf8(description.readAll())); it.hasNext(); ++members) {
        const QString name = it.next().captured(2);
        EXPECT_TRUE(introspected.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(name))))
            << name.toStdString() << " is described but not offered";
    }
    EXPECT_EQ(members, 20);

    const QVariantMap start = Properties();
    EXPECT_EQ(start.value("Connected"), true);
    EXPECT_EQ(start.value("Simulated"), true);
    EXPECT_EQ(start.value("Profiles").toStringList(), (QStringList{"PROFILE_0", "Game"}));
    EXPECT_EQ(start.value("ActiveProfile"), 0);
    EXPECT_EQ(start.value("Busy"), false);
    EXPECT_EQ(start.value("CpiStage"), 1);
    EXPECT_EQ(start.value("Cpi").typeId(), QMetaType::UInt);
    EXPECT_EQ(start.value("ReportRateHz").toUInt(),
              1000u / ConfigFile::Read(Session() / "config0.bin").contents.record.reportRate);
    EXPECT_EQ(start.value("UnsavedEdits"), false);
    EXPECT_EQ(Veldranectl({"profiles"}), std::pair(0, QStringLiteral("* 0 PROFILE_0\n  1 Game\n")));

    // The switch answers once the mouse has taken profile 1: its stage-1 CPI went out.
    EXPECT_EQ(ErrorOf(Call("SwitchProfile", {1})), "none");
    EXPECT_EQ(SentStage1Code(), 64);
    EXPECT_EQ(Properties().value("ActiveProfile"), 1);
    EXPECT_TRUE(Session().WaitFor([&] { return !m_log.switches.empty(); }));
    EXPECT_EQ(m_log.switches, std::vector<QString>{"1 Game bus"});
    const auto announced = [&](const char* name, const QVariant& value) {
        return std::ranges::any_of(m_log.changes,
                                   [&](const QVariantMap& changed) { return changed.value(name) == value; });
    };
    EXPECT_TRUE(Session().WaitFor([&] { return announced("ActiveProfile", 1) && announced("Busy", false); }));
    EXPECT_TRUE(announced("Busy", true));
    EXPECT_TRUE(announced("Cpi", 3200u));

    // By name with veldranectl, and round the list both ways.
    EXPECT_EQ(Veldranectl({"profile", "switch", "PROFILE_0"}),
              std::pair(0, QStringLiteral("switched to 0 PROFILE_0\n")));
    EXPECT_EQ(ErrorOf(Call("NextProfile")), "none");
    EXPECT_EQ(Properties().value("ActiveProfile"), 1);
    EXPECT_EQ(ErrorOf(Call("PreviousProfile")), "none");
    EXPECT_EQ(Properties().value("ActiveProfile"), 0);
    EXPECT_NE(SentStage1Code(), 64);

    // No such profile, and nothing queues behind a running switch.
    EXPECT_EQ(ErrorOf(Call("SwitchProfile", {7})), "NoSuchProfile");
    EXPECT_EQ(ErrorOf(Call("SwitchProfileByName", {"game"})), "NoSuchProfile");
    QDBusMessage first = QDBusMessage::createMethodCall(kService, kPath, kInterface, "SwitchProfile") << 1;
    QDBusMessage second = QDBusMessage::createMethodCall(kService, kPath, kInterface, "SwitchProfile") << 0;
    QDBusPendingCall running = Bus().asyncCall(first, test::DesktopSession::kTimeoutMs);
    QDBusPendingCall behind = Bus().asyncCall(second, test::DesktopSession::kTimeoutMs);
    ASSERT_TRUE(Session().WaitFor([&] { return running.isFinished() && behind.isFinished(); }));
    EXPECT_EQ(ErrorOf(running.reply()), "none");
    EXPECT_EQ(ErrorOf(behind.reply()), "Busy");
    EXPECT_EQ(Properties().value("ActiveProfile"), 1);

    // The readable form goes out; a broken one is refused with its fields.
    const QDBusMessage exported = Call("ExportProfile", {1});
    ASSERT_EQ(ErrorOf(exported), "none");
    EXPECT_TRUE(exported.arguments().value(0).toString().contains("\"name\": \"Game\""));
    const QDBusMessage invalid = Call("ImportProfile", {0, QStringLiteral("{\"format\": \"veldrane-profile\"}")});
    EXPECT_EQ(ErrorOf(invalid), "InvalidProfile");
    EXPECT_TRUE(invalid.errorMessage().contains("version: missing"));

    // An edit in the window: a switch is refused and the edit stays.
    EXPECT_EQ(ErrorOf(Call("ShowWindow")), "none");
    const QString window = Session().MainWindow();
    ASSERT_FALSE(window.isEmpty());
    Session().Click(window, 800, 92); // the report-rate header, its dial's ring, the header again
    Session().Click(window, 820, 137);
    Session().Click(window, 800, 92);
    ASSERT_TRUE(Session().WaitFor([&] { return Properties().value("UnsavedEdits") == true; }));
    EXPECT_EQ(ErrorOf(Call("SwitchProfile", {0})), "UnsavedEdits");
    EXPECT_EQ(Properties().value("UnsavedEdits"), true);
    Session().Click(window, 888, 619); // "Cancel"
    ASSERT_TRUE(Session().WaitFor([&] { return Properties().value("UnsavedEdits") == false; }));

    // The mouse leaves ("Unplug", after "Open", the four stages and twelve macro keys): no mouse.
    Session().PickTrayMenuEntry(Session().TrayIcon(), 10, 3, 17);
    ASSERT_TRUE(Session().WaitFor([&] { return Properties().value("Connected") == false; }));
    EXPECT_EQ(ErrorOf(Call("SwitchProfile", {0})), "NoMouse");
    EXPECT_EQ(Veldranectl({"profile", "switch", "Game"}),
              std::pair(4, QStringLiteral("veldranectl: profile switch: The gaming mouse is not connected\n")));
    // Back, but not answering ("Plug in", "Stop answering"): the switch fails and says why.
    Session().PickTrayMenuEntry(Session().TrayIcon(), 10, 3, 18);
    ASSERT_TRUE(Session().WaitFor([&] { return Properties().value("Connected") == true; }));
    Session().PickTrayMenuEntry(Session().TrayIcon(), 10, 3, 19);
    EXPECT_EQ(ErrorOf(Call("SwitchProfile", {0})), "Failed");
    EXPECT_FALSE(Session().WaitForWindow("^Warning$").isEmpty()) << "no warning as after Save";
}

TEST_F(BusDesktopTest, TrayProfilesSwitchAndNoticesReplaceTheirKind)
{
    StartProgram();
    const QString icon = Session().TrayIcon();
    ASSERT_FALSE(icon.isEmpty());

    // Two CPI switches of the mouse in a row: the second notice takes the first one's place, the one
    // notice on screen.
    Session().PickTrayMenuEntry(icon, 10, 3, 1);
    ASSERT_TRUE(Session().WaitFor([&] { return m_notifications.received.size() == 1; }));
    Session().PickTrayMenuEntry(icon, 10, 3, 2);
    ASSERT_TRUE(Session().WaitFor([&] { return m_notifications.received.size() == 2; }));
    EXPECT_EQ(m_notifications.received[1].body.left(32), QStringLiteral("Switch CPI into the second stage"));
    EXPECT_EQ(m_notifications.onScreen.size(), 1u);
    EXPECT_EQ(m_notifications.received[1].hints.value("transient"), true);
    EXPECT_EQ(m_notifications.received[1].summary, "Info");
    EXPECT_EQ(Properties().value("CpiStage"), 2);

    // "Profiles", then its second name.
    Session().PickTrayMenuEntry(icon, 10, 3, 22);
    QTest::qWait(500);
    Session().Key({"Down", "Return"});
    ASSERT_TRUE(Session().WaitFor([&] { return !m_log.switches.empty(); }));
    EXPECT_EQ(m_log.switches, std::vector<QString>{"1 Game tray"});
    EXPECT_TRUE(Session().WaitFor([&] {
        return std::ranges::any_of(m_notifications.received,
                                   [](const auto& notice) { return notice.body == "Switch to profile Game"; });
    }));
    // "Previous profile" goes back to the first.
    Session().PickTrayMenuEntry(icon, 10, 3, 24);
    ASSERT_TRUE(Session().WaitFor([&] { return m_log.switches.size() == 2; }));
    EXPECT_EQ(m_log.switches[1], "0 PROFILE_0 tray");
    // The profile notices replace each other too: one CPI notice and one profile notice on screen.
    EXPECT_TRUE(Session().WaitFor([&] { return m_notifications.onScreen.size() == 2; }));
}

// Switching by application under a window manager that names the active window (openbox): each
// change of the focused window downloads its profile once, a window no rule names brings the
// default; the KWin script's and GNOME extension's
// path, the bus's FocusChanged, does the same.
TEST_F(BusDesktopTest, FocusedApplicationBringsItsProfile)
{
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xmessage")).isEmpty()) {
        GTEST_SKIP() << "needs openbox and xmessage";
    }
    test::WriteFileBytes(Session() / "apps.ini", "[Settings]\r\nEnabled=1\r\nDefault=PROFILE_0\r\n"
                                                 "[Game]\r\nApp0=veldrane-test-game\r\nApp1=org.example.Game\r\n");
    Session().Spawn(QStringLiteral("openbox"), {});
    Session().Spawn(QStringLiteral("xmessage"), {"-name", "veldrane-test-game", "-title", "GameWindow", "game"});
    Session().Spawn(QStringLiteral("xmessage"), {"-name", "veldrane-test-other", "-title", "OtherWindow", "other"});
    const QString game = Session().WaitForWindow("^GameWindow$");
    const QString other = Session().WaitForWindow("^OtherWindow$");
    ASSERT_FALSE(game.isEmpty());
    ASSERT_FALSE(other.isEmpty());
    Session().Xdo({"windowactivate", "--sync", other});
    StartProgram();
    const auto downloads = [&] {
        return std::ranges::count_if(Session().Trace("SET_FEATURE"), [](const test::TracedReport& report) {
            return report.second.size() > 1 && report.second[1] == 0x0C;
        });
    };
    const auto active = [&] { return Properties().value("ActiveProfile").toInt(); };

    // The game's window brings Game (index 1), once.
    Session().Xdo({"windowactivate", "--sync", game});
    ASSERT_TRUE(Session().WaitFor([&] { return active() == 1; }));
    EXPECT_EQ(downloads(), 1);
    EXPECT_EQ(SentStage1Code(), 64);
    // Another window: the default.
    Session().Xdo({"windowactivate", "--sync", other});
    ASSERT_TRUE(Session().WaitFor([&] { return active() == 0; }));
    EXPECT_EQ(downloads(), 2);

    // The desktop's script or extension on the bus: an app id, then the desktop itself.
    EXPECT_EQ(ErrorOf(Call("FocusChanged", {"org.example.game.desktop", "", "", 0u})), "none");
    ASSERT_TRUE(Session().WaitFor([&] { return active() == 1; }));
    EXPECT_EQ(ErrorOf(Call("FocusChanged", {"", "", "", 0u})), "none");
    ASSERT_TRUE(Session().WaitFor([&] { return active() == 0; }));
    EXPECT_EQ(downloads(), 4);
    EXPECT_TRUE(Session().WaitFor(
        [&] { return IniFile(Session() / "apps.ini", Session().Codec()).GetString("Settings", "Switches") == "4"; }));
}

} // namespace
} // namespace veldrane

#include "BusDesktopTest.moc"
