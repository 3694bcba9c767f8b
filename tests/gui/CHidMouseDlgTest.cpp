#include "gui/CHidMouseDlg.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWheelEvent>

#include "gui/CHelpDialog.h"
#include "gui/GuiFixture.h"
#include "gui/skin/CGdipButton.h"

namespace veldrane {
namespace {

class CHidMouseDlgTest : public test::GuiFixture
{
protected:
    CHidMouseDlgTest() { WriteSkin(); }

    // Clicks the header of a right-panel section where it is now.
    void ClickRightHeader(RightPanel::SectionIndex section)
    {
        const Rect header = Window().Model().Right().Stack().HeaderArea(section);
        test::SendMouse(Window(), QEvent::MouseButtonPress, {header.left + 6, header.top + 5}, Qt::LeftButton,
                        Qt::LeftButton);
    }
};

TEST_F(CHidMouseDlgTest, HoverOverSaveShowsItsOverPicture)
{
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveNormalColour);
    test::SendMouse(dlg, QEvent::MouseMove, {930, 610}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(dlg.Model().BottomRowOver(MainWindowModel::kSave));
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveOverColour);
    test::SendMouse(dlg, QEvent::MouseMove, {500, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveNormalColour);
}

TEST_F(CHidMouseDlgTest, AClickOnAHeaderOpensTheFoldedSection)
{
    CHidMouseDlg& dlg = Window();
    // shut: "Mouse Speed" has its header at 107..127; the place is a gap or a header
    EXPECT_EQ(PixelAt(dlg, {800, 110}), kHeaderColour);
    test::SendMouse(dlg, QEvent::MouseButtonPress, {740, 60}, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(dlg, QEvent::MouseButtonRelease, {740, 60}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(dlg.Model().Right().Stack().IsOpen(RightPanel::kLighting));

    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(740, 60), kOpenHeaderColour);
    EXPECT_EQ(shot.pixel(734, 77), kLightingColour);  // the content's first pixel
    EXPECT_EQ(shot.pixel(975, 186), kLightingColour); // and its last
    EXPECT_EQ(shot.pixel(800, 192), kHeaderColour);   // "USB Report Rate" pushed down to 192
    EXPECT_EQ(shot.pixel(800, 190), kBackground);     // the gap above it
}

// The second click of a double click is not a second press: the header opens once and stays open.
TEST_F(CHidMouseDlgTest, ADoubleClickOnAHeaderOpensItOnce)
{
    CHidMouseDlg& dlg = Window();
    const QPoint header{740, 60};
    test::SendMouse(dlg, QEvent::MouseButtonPress, header, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(dlg, QEvent::MouseButtonRelease, header, Qt::LeftButton, Qt::NoButton);
    test::SendMouse(dlg, QEvent::MouseButtonDblClick, header, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(dlg, QEvent::MouseButtonRelease, header, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(dlg.Model().Right().Stack().IsOpen(RightPanel::kLighting));
}

TEST_F(CHidMouseDlgTest, EnterAndEscapeAreSwallowedAndACloseRequestHides)
{
    CHidMouseDlg& dlg = Window();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.close()); // the window manager's close request is refused and hides
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(CHidMouseDlgTest, TheTrayRuleShowsTheHiddenWindow)
{
    CHidMouseDlg& dlg = Window();
    dlg.hide();
    mouse.connected = false;
    dlg.Model().ShowFromTray();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(notices.notices, (std::vector<std::pair<int, int>>{{15, 0}}));
}

TEST_F(CHidMouseDlgTest, DraggingAnEmptySpotMovesTheWindow)
{
    CHidMouseDlg& dlg = Window();
    dlg.move(100, 100);
    const QPoint start = dlg.pos();
    test::SendMouse(dlg, QEvent::MouseButtonPress, {400, 300}, Qt::LeftButton, Qt::LeftButton);
    const QPointF global = dlg.mapToGlobal(QPointF(400, 300)) + QPointF(30, 20);
    QMouseEvent move(QEvent::MouseMove, QPointF(430, 320), global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &move);
    test::SendMouse(dlg, QEvent::MouseButtonRelease, {430, 320}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(dlg.pos(), start + QPoint(30, 20));
}

class MissingPictureTest : public test::GuiFixture
{
};

// A button whose picture the skin lacks is drawn plain, so that the place that takes its clicks
// can be seen; its "-over" picture still shows while the pointer is on it.
TEST_F(MissingPictureTest, AMissingButtonPictureShowsAPlainButton)
{
    WriteSkin("/button-save-normal.png");
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(PixelAt(dlg, {925, 606}), 0xff3c3c42u);
    test::SendMouse(dlg, QEvent::MouseMove, {930, 610}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveOverColour);
}

// Without its picture the help panel is still seen where it takes the clicks, over the headers.
TEST_F(MissingPictureTest, TheHelpPanelWithoutItsPictureIsSeenWhereItTakesClicks)
{
    WriteSkin("/Help/HelpWindow.png");
    CHidMouseDlg& dlg = Window();
    test::SendMouse(dlg, QEvent::MouseButtonPress, {944, 12}, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(dlg, QEvent::MouseButtonRelease, {944, 12}, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(dlg.Model().HelpOpen());
    ASSERT_NE(dlg.HelpDialog(), nullptr);
    EXPECT_EQ(PixelAt(*dlg.HelpDialog(), {80, 70}), 0xffd6d6dcu);
    EXPECT_EQ(messages.shown.size(), 1u);
}

} // namespace
} // namespace veldrane
