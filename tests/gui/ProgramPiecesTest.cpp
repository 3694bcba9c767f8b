// The program's own pieces: its command line, its single-instance lock, its balloons without a tray,
// the pointer settings of its own windows.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLockFile>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>

#include <future>
#include <set>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "adapters/qt/QtPointerSettings.h"
#include "adapters/qt/SingleInstanceLock.h"
#include "adapters/qt/TrayMessageSink.h"
#include "core/text/ProfileManagerTexts.h"
#include "gui/AppOptions.h"
#include "gui/GuiFixture.h"
#include "gui/QtProfileFileDialog.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

// The desktop tests start the program with --simulate, --sim-trace, --sim-fault and --data-dir; the
// simulator's options also imply --simulate. --help ends with 0 and its text on the output; a bad
// command line with the usage on the error output and 2.
TEST(AppCommandLine, HelpAndBadOptionsEndAtOnce)
{
    const auto fault = ParseAppCommandLine({"veldrane", "--sim-trace=/tmp/t", "--sim-fault", "silent"});
    EXPECT_TRUE(fault.options && fault.options->simulate && fault.options->simTrace == "/tmp/t");
    const auto help = ParseAppCommandLine({"veldrane", "--help"});
    EXPECT_TRUE(!help.options && help.exitStatus == 0 && help.err.isEmpty());
    EXPECT_TRUE(help.out.contains("--data-dir <dir>"));
    EXPECT_TRUE(help.out.contains("Exit status: 0 done; 1 the operation failed; 2 a usage error;"));
    for (const QStringList& bad : {QStringList{"veldrane", "--frob"}, QStringList{"veldrane", "--sim-trace"},
                                   QStringList{"veldrane", "--sim-fault", "slow"}, QStringList{"veldrane", "stray"}}) {
        const auto run = ParseAppCommandLine(bad);
        EXPECT_TRUE(!run.options && run.exitStatus == 2 && run.out.isEmpty()) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("--simulate")) << "no usage";
    }
}

// A second start finds the first through its lock (the desktop tests start the program twice);
// a lock and a socket that a crashed instance left behind must not block the next start.
TEST(SingleInstanceLock, StaleLockAndSocketOfADeadProcessDoNotBlock)
{
    test::TestApplication();
    test::TempDir directory;
    const QString path = QString::fromStdString(directory.Path().string());
    SingleInstanceLock lock(path);
    // A process that takes the lock and dies without releasing it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile crashed(lock.LockFilePath());
        _exit(crashed.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && QFile::exists(lock.LockFilePath()));
    // The crashed instance's socket file stays behind too.
    test::WriteFileBytes(lock.ServerPath().toStdString(), "");
    ASSERT_TRUE(lock.TryAcquire("/home/u/.local/share/veldrane"));

    int activations = 0;
    QObject::connect(&lock, &SingleInstanceLock::ActivationRequested, [&] { ++activations; });
    // The later start asks from another process, as it would: the running one answers from its
    // event loop.
    const auto ask = [&](const QString& identity) {
        std::future<ActivationAnswer> answer = std::async(std::launch::async, [&] {
            SingleInstanceLock second(path);
            return second.TryAcquire(identity) ? ActivationAnswer::NoAnswer : second.RequestActivation(identity);
        });
        while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QCoreApplication::processEvents();
        return answer.get();
    };
    // A start with another data folder does not raise the running instance, which says so.
    EXPECT_EQ(ask("/tmp/other"), ActivationAnswer::OtherOptions);
    EXPECT_EQ(activations, 0);
    EXPECT_EQ(ask("/home/u/.local/share/veldrane"), ActivationAnswer::Activated);
    EXPECT_EQ(activations, 1);
}

// Without a tray a balloon becomes a note, shown at least long enough to be read.
TEST(TrayMessageSink, BalloonWithoutTrayBecomesANoteWithTitleAndText)
{
    test::TestApplication();
    TrayMessageSink sink;
    sink.ShowBalloon("Mouse detected", "Info", std::chrono::milliseconds(100));
    ASSERT_NE(sink.Note(), nullptr);
    EXPECT_TRUE(sink.Note()->isVisible());
    EXPECT_EQ(sink.Note()->text(), QString::fromUtf8("Info\nMouse detected"));
    sink.ShowBalloon("切换到宏按键 3", "Info", std::chrono::milliseconds(5000));
    EXPECT_EQ(sink.Note()->text(), QString::fromUtf8("Info\n切换到宏按键 3"));
    EXPECT_EQ(TrayMessageSink::Duration(std::chrono::milliseconds(100)), std::chrono::milliseconds(3000));
    EXPECT_EQ(TrayMessageSink::Duration(std::chrono::milliseconds(5000)), std::chrono::milliseconds(5000));
}

// Boxes carry their kind's icon (a question Yes and No, No the default), the interface language's
// buttons and the look they are given; the answer is the button clicked.
TEST(TrayMessageSink, BoxesHaveTheirKindsIconAndTheLanguagesButtons)
{
    test::TestApplication();
    // A desktop whose style puts its stock icons on dialog buttons, as many do.
    struct IconButtonsStyle : QProxyStyle
    {
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* data) const override
        {
            return hint == SH_DialogButtonBox_ButtonsHaveIcons ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    QApplication::setStyle(new IconButtonsStyle);
    struct Case
    {
        Language language;
        bool question;
        const char* text;
        const char* title;
        QMessageBox::Icon icon;
        std::vector<QString> buttons;
    };
    const std::vector<Case> cases{
        {Language::English, false, "error", "Help", QMessageBox::Critical, {"Ok"}},
        {Language::SimplifiedChinese, false, "SETMOUSE failed.", "警告", QMessageBox::Warning, {"确定"}},
        {Language::TraditionalChinese, false, "已儲存", "VELDRANE", QMessageBox::Information, {"確定"}},
        {Language::SimplifiedChinese, true, "删除?", "VELDRANE", QMessageBox::Question, {"是", "否"}},
    };
    for (const Case& c : cases) {
        TrayMessageSink sink;
        sink.SetLanguage(c.language);
        sink.SetBoxStyle(QStringLiteral("QMessageBox { background: black; }"));
        bool shown = false;
        sink.SetBoxObserver([&](QMessageBox& box) {
            shown = true;
            EXPECT_EQ(box.icon(), c.icon) << c.text;
            EXPECT_EQ(box.styleSheet(), QStringLiteral("QMessageBox { background: black; }"));
            std::set<QString> buttons;
            for (QAbstractButton* button : box.buttons()) {
                buttons.insert(button->text());
                EXPECT_TRUE(button->icon().isNull()) << c.text;
            }
            EXPECT_EQ(buttons, std::set(c.buttons.begin(), c.buttons.end())) << c.text;
            EXPECT_TRUE(!c.question || box.defaultButton() == box.button(QMessageBox::No)) << c.text;
            QTimer::singleShot(0, box.button(c.question ? QMessageBox::Yes : QMessageBox::Ok), &QAbstractButton::click);
        });
        if (c.question) {
            EXPECT_TRUE(sink.Ask(c.text, c.title)) << c.text;
        } else {
            sink.ShowMessage(c.text, c.title);
        }
        EXPECT_TRUE(shown) << c.text;
    }
}

TEST(QtPointerSettings, TheProgramsOwnWindowsFollowWheelAndDoubleClick)
{
    test::TestApplication();
    QtPointerSettings qt;
    EXPECT_EQ(qt.SetWheelScrollLines(7), PointerSettingResult::Applied);
    EXPECT_EQ(qt.SetDoubleClickTime(130), PointerSettingResult::Applied);
    EXPECT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    EXPECT_EQ(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 130);
}

TEST(QtProfileFileDialog, FilterInQtsForm)
{
    EXPECT_EQ(QtProfileFileDialog::QtFilter("Gaming Mouse Profile(*.bin)|*.bin||"),
              QStringLiteral("Gaming Mouse Profile(*.bin)"));
    EXPECT_EQ(QtProfileFileDialog::QtFilter("A (*.a)|*.a|B (*.b)|*.b||"), QStringLiteral("A (*.a);;B (*.b)"));
    // The dialogs list the binary file and its readable form together.
    EXPECT_EQ(QtProfileFileDialog::QtFilter(kProfileFileFilter), QStringLiteral("Gaming Mouse Profile(*.bin *.json)"));
}

} // namespace
} // namespace veldrane
