#include "platform/qt/QtPointerSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>

#include "profile/ProfileRecord.h"
#include "settings/DesktopPointerSettingsApplier.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

// One application for the whole test program, on the offscreen platform unless told otherwise.
QApplication& Application()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "qt_pointer_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

class QtPointerSettingsInTheApplication : public testing::Test
{
protected:
    void SetUp() override { Application(); }

    QtPointerSettings m_qt;
};

TEST_F(QtPointerSettingsInTheApplication, TheProgramsOwnWindowsFollowWheelAndDoubleClick)
{
    test::RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(m_qt, messages);
    ProfileRecord record{};
    record.pointerPrecision = 1;
    record.mouseSpeed = 12;
    record.scrollLines = 7;
    record.doubleClickSpeed = 12;

    applier.ApplyPointerSettings(record);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QApplication::wheelScrollLines(), 7);
    EXPECT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    EXPECT_EQ(QApplication::doubleClickInterval(), 130);
    EXPECT_EQ(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 130);
}

TEST_F(QtPointerSettingsInTheApplication, OneScreenPerNotchKeepsTheLinesQtHas)
{
    ASSERT_EQ(m_qt.SetWheelScrollLines(5), PointerSettingResult::Applied);

    EXPECT_EQ(m_qt.SetWheelScrollLines(kWheelScrollOneScreen), PointerSettingResult::Unsupported);
    EXPECT_EQ(QApplication::wheelScrollLines(), 5);
}

TEST_F(QtPointerSettingsInTheApplication, ADoubleClickTimeBelowOneIsRefused)
{
    ASSERT_EQ(m_qt.SetDoubleClickTime(900), PointerSettingResult::Applied);

    EXPECT_EQ(m_qt.SetDoubleClickTime(-10), PointerSettingResult::Refused);
    EXPECT_EQ(QApplication::doubleClickInterval(), 900);
}

TEST_F(QtPointerSettingsInTheApplication, PointerAccelerationAndSpeedAreTheDesktops)
{
    EXPECT_EQ(m_qt.SetMouse({6, 10, 1}), PointerSettingResult::Unsupported);
    EXPECT_EQ(m_qt.SetMouseSpeed(10), PointerSettingResult::Unsupported);
}

} // namespace
} // namespace veldrane
