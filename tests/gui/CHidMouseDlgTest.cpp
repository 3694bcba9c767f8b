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
    void OpenAllRightSections()
    {
        for (std::size_t i = 0; i < RightPanel::kSectionCount; ++i) {
            ClickRightHeader(static_cast<RightPanel::SectionIndex>(i));
        }
    }
};

TEST_F(CHidMouseDlgTest, IsAFramelessToolWindowAsLargeAsItsBackground)
{
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(dlg.size(), QSize(1000, 640));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(dlg.windowTitle(), "Tessaly VELDRANE");
}

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

TEST_F(CHidMouseDlgTest, SectionsAreClippedToThePanel)
{
    test::WritePicture(skinDir / "DPISetting/BK_DPISetting.png", {242, 500}, QColor(0, 255, 255));
    CHidMouseDlg& dlg = Window();
    ClickRightHeader(RightPanel::kCpiSetting);
    ClickRightHeader(RightPanel::kLighting);
    // "Lighting" opens at 577 and would reach 687: the panel ends at 596
    ASSERT_EQ(dlg.Model().Right().Stack().ContentOrigin(RightPanel::kLighting), (Point{734, 577}));
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(800, 51), kOpenHeaderColour);
    EXPECT_EQ(shot.pixel(800, 52), 0xff00ffffu);
    EXPECT_EQ(shot.pixel(800, 595), kLightingColour);
    EXPECT_EQ(shot.pixel(800, 596), kBackground);
    EXPECT_EQ(shot.pixel(800, 620), kBackground);
}

TEST_F(CHidMouseDlgTest, DraggingTheThumbScrollsThePanel)
{
    CHidMouseDlg& dlg = Window();
    OpenAllRightSections();
    const int overflow = dlg.Model().Right().Overflow();
    ASSERT_GT(overflow, 0);

    CGdipButton& thumb = *dlg.ScrollThumbButton();
    EXPECT_EQ(thumb.geometry(), QRect(984, 32, 10, 60));
    EXPECT_EQ(PixelAt(dlg, {988, 40}), kThumbColour);
    test::SendMouse(thumb, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(thumb, QEvent::MouseMove, {5, 5 + 503}, Qt::NoButton, Qt::LeftButton);
    test::SendMouse(thumb, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(thumb.geometry(), QRect(984, 535, 10, 60));
    EXPECT_EQ(dlg.Model().Right().Stack().ScrollOffset(), overflow);
    EXPECT_EQ(PixelAt(dlg, {988, 540}), kThumbColour);
    EXPECT_EQ(PixelAt(dlg, {988, 40}), kBackground);
}

TEST_F(CHidMouseDlgTest, TheWheelOverThePanelScrollsIt)
{
    CHidMouseDlg& dlg = Window();
    OpenAllRightSections();
    ASSERT_GT(dlg.Model().Right().Overflow(), 0);
    auto wheel = [&](QPoint at, int delta) {
        QWheelEvent event(QPointF(at), dlg.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&dlg, &event);
    };
    wheel({800, 300}, -60); // half a notch: nothing yet
    EXPECT_EQ(dlg.Model().Right().Stack().ScrollOffset(), 0);
    wheel({800, 300}, -60);
    EXPECT_GE(dlg.Model().Right().Stack().ScrollOffset(), RightPanel::kWheelStep);
    EXPECT_GT(dlg.ScrollThumbButton()->y(), 32);
}

TEST_F(CHidMouseDlgTest, TheHelpButtonOpensAndClosesThePanel)
{
    CHidMouseDlg& dlg = Window();
    test::SendMouse(dlg, QEvent::MouseButtonPress, {940, 10}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_NE(dlg.HelpDialog(), nullptr);
    EXPECT_EQ(dlg.HelpDialog()->geometry(), QRect(786, 25, 166, 78));
    EXPECT_EQ(PixelAt(dlg, {800, 90}), kHelpColour);

    test::SendMouse(dlg, QEvent::MouseButtonPress, {940, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(dlg.HelpDialog(), nullptr);
    EXPECT_FALSE(dlg.Model().HelpOpen());
}

TEST_F(CHidMouseDlgTest, TheHelpPanelOpensTheMakersPage)
{
    CHidMouseDlg& dlg = Window();
    test::SendMouse(dlg, QEvent::MouseButtonPress, {940, 10}, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(*dlg.HelpDialog(), QEvent::MouseButtonPress, {80, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(shell.openedUrls, std::vector<std::string>{"http://www.tessaly.example"});
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

TEST_F(CHidMouseDlgTest, TheCloseButtonEndsThroughTheApplication)
{
    CHidMouseDlg& dlg = Window();
    int exits = 0;
    dlg.SetExitHandler([&] { ++exits; });
    test::SendMouse(dlg, QEvent::MouseButtonPress, {985, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(exits, 1);
}

TEST_F(CHidMouseDlgTest, SaveShowsTheWaitCursorOnTheWindow)
{
    CHidMouseDlg& dlg = Window();
    test::SendMouse(dlg, QEvent::MouseButtonPress, {930, 610}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(mouse.downloads.size(), 1u);
    EXPECT_EQ(dlg.cursor().shape(), Qt::WaitCursor);
    clock.Advance(std::chrono::milliseconds{6000});
    dlg.Model().OnTimer();
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
}

class MissingPictureTest : public test::GuiFixture
{
};

TEST_F(MissingPictureTest, AMissingButtonPictureShowsNothingThere)
{
    WriteSkin("/button-save-normal.png");
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kBackground);
    test::SendMouse(dlg, QEvent::MouseMove, {930, 610}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveOverColour);
}

TEST_F(MissingPictureTest, WithoutAnySkinTheWindowStillOpensAtItsFallbackSize)
{
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(dlg.size(), QSize(1000, 640));
    EXPECT_EQ(PixelAt(dlg, {500, 300}), 0xff000000u);
    test::SendMouse(dlg, QEvent::MouseButtonPress, {940, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 1u); // the help panel's "error"
    test::SendMouse(dlg, QEvent::MouseButtonPress, {740, 60}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(dlg.Model().Right().Stack().IsOpen(RightPanel::kLighting));
    dlg.grab();
}

} // namespace
} // namespace veldrane
