#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "gui/GuiFixture.h"
#include "gui/QtProfileFileDialog.h"
#include "gui/TrayMessageSink.h"
#include "platform/qt/SingleInstanceLock.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

class SingleInstanceLockTest : public ::testing::Test
{
protected:
    SingleInstanceLockTest() { test::TestApplication(); }

    QString Directory() const { return QString::fromStdString(m_directory.Path().string()); }

    // Runs the event loop until `done` holds or two seconds have passed.
    template <typename Condition> static bool ProcessEventsUntil(Condition done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        return done();
    }

    test::TempDir m_directory;
};

TEST_F(SingleInstanceLockTest, SecondLockInTheSameDirectoryFailsUntilTheFirstIsGone)
{
    auto first = std::make_unique<SingleInstanceLock>(Directory());
    SingleInstanceLock second(Directory());

    ASSERT_TRUE(first->TryAcquire());
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_FALSE(second.IsHeld());

    first.reset();
    EXPECT_TRUE(second.TryAcquire());
}

TEST_F(SingleInstanceLockTest, StaleLockAndSocketOfADeadProcessDoNotBlock)
{
    SingleInstanceLock lock(Directory());
    // A process that takes the lock and dies without releasing it, as a crash would.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile crashed(lock.LockFilePath());
        _exit(crashed.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(lock.LockFilePath()));
    // The crashed instance's socket file stays behind too.
    test::WriteFileBytes(lock.ServerPath().toStdString(), "");

    ASSERT_TRUE(lock.TryAcquire());

    bool activated = false;
    QObject::connect(&lock, &SingleInstanceLock::ActivationRequested, [&] { activated = true; });
    SingleInstanceLock later(Directory());
    EXPECT_FALSE(later.TryAcquire());
    EXPECT_TRUE(later.RequestActivation());
    EXPECT_TRUE(ProcessEventsUntil([&] { return activated; }));
}

TEST(TrayMessageSink, BalloonWithoutTrayBecomesANoteWithTitleAndText)
{
    test::TestApplication();
    TrayMessageSink sink;
    ASSERT_EQ(sink.Note(), nullptr);

    sink.ShowBalloon("Mouse detected", "Info", std::chrono::milliseconds(100));

    ASSERT_NE(sink.Note(), nullptr);
    EXPECT_TRUE(sink.Note()->isVisible());
    EXPECT_EQ(sink.Note()->text(), QString::fromUtf8("Info\nMouse detected"));

    sink.ShowBalloon("切换到宏按键 3", "Info", std::chrono::milliseconds(5000));
    EXPECT_EQ(sink.Note()->text(), QString::fromUtf8("Info\n切换到宏按键 3"));
}

TEST(TrayMessageSink, BriefBalloonsStayLongEnoughToBeRead)
{
    using std::chrono::milliseconds;
    EXPECT_EQ(TrayMessageSink::Duration(milliseconds(100)), milliseconds(3000));
    EXPECT_EQ(TrayMessageSink::Duration(milliseconds(5000)), milliseconds(5000));
}

TEST(QtProfileFileDialog, FilterInQtsForm)
{
    EXPECT_EQ(QtProfileFileDialog::QtFilter("Gaming Mouse Profile(*.bin)|*.bin||"),
              QStringLiteral("Gaming Mouse Profile(*.bin)"));
    EXPECT_EQ(QtProfileFileDialog::QtFilter("A (*.a)|*.a|B (*.b)|*.b||"), QStringLiteral("A (*.a);;B (*.b)"));
}

} // namespace
} // namespace veldrane
