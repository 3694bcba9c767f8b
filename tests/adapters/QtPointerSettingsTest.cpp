#include "adapters/qt/QtPointerSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>

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

// The applier's conversions are the KDE tests'; here only that Qt's own hints take the values.
TEST(QtPointerSettings, TheProgramsOwnWindowsFollowWheelAndDoubleClick)
{
    Application();
    QtPointerSettings qt;
    EXPECT_EQ(qt.SetWheelScrollLines(7), PointerSettingResult::Applied);
    EXPECT_EQ(qt.SetDoubleClickTime(130), PointerSettingResult::Applied);
    EXPECT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    EXPECT_EQ(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 130);
}

} // namespace
} // namespace veldrane
