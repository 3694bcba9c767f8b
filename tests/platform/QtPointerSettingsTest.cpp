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
    EXPECT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    EXPECT_EQ(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 130);
}

} // namespace
} // namespace veldrane
