// The settings sections in the real main window on the offscreen platform: presses at the
// window's coordinates, the record, the grabbed pixels and the system's widgets behind them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <functional>

#include "gui/GuiFixture.h"

namespace veldrane {
namespace {

constexpr QRgb kSectionColour = 0xff202030;
constexpr QRgb kLowTrackColour = 0xff004060;
constexpr QRgb kTopTrackColour = 0xff00c0ff;
constexpr QRgb kEnabledColour = 0xff00ff00;
constexpr QRgb kDisabledColour = 0xff404040;
constexpr QRgb kChosenColour = 0xff30ff30;
constexpr QRgb kNotChosenColour = 0xff505050;
constexpr QRgb kFieldColour = 0xff101010;
constexpr QRgb kStepColour = 0xffc0c0c0;
constexpr QRgb kRateColour = 0xffff8000;
constexpr QRgb kLevelColour = 0xff8080ff;

class SectionsViewTest : public test::GuiFixture
{
protected:
    SectionsViewTest()
    {
        WriteSkin();
        struct Picture
        {
            const char* path;
            QSize size;
            QRgb colour;
        };
        const Picture pictures[] = {
            {"/DPISetting/BK_DPISetting.png", {242, 232}, kSectionColour},
            {"/DPISetting/DPIStage/5.png", {7, 170}, kLowTrackColour},
            {"/DPISetting/DPIStage/82.png", {7, 170}, kTopTrackColour},
            {"/Enable.png", {10, 9}, kEnabledColour},
            {"/Disable.png", {10, 9}, kDisabledColour},
            {"/USBReportRate/BK_USBReportRate.png", {242, 140}, kSectionColour},
            {"/USBReportRate/250HZ.png", {128, 128}, kRateColour},
            {"/MouseAttribute/BK_ScrollSpeed.png", {242, 80}, kSectionColour},
            {"/MouseAttribute/ScrollSpeed/Enable.png", {12, 12}, kChosenColour},
            {"/MouseAttribute/ScrollSpeed/Disable.png", {12, 12}, kNotChosenColour},
            {"/MouseAttribute/ScrollSpeed/ScrollLines.png", {48, 20}, kFieldColour},
            {"/MouseAttribute/ScrollSpeed/Up.png", {10, 6}, kStepColour},
            {"/MouseAttribute/ScrollSpeed/Down.png", {10, 6}, kStepColour},
            {"/XYSensitivity/BK_XYSensSetting.png", {242, 118}, kSectionColour},
            {"/StageSlider/11.png", {208, 9}, kLevelColour},
            {"/Lighting/6.png", {128, 8}, kLevelColour},
        };
        for (const Picture& picture : pictures) {
            test::WritePicture(skinDir / std::filesystem::path(picture.path).relative_path(), picture.size,
                               QColor::fromRgba(picture.colour));
        }
        files.point = {24, 84, 97, 8};
        records.Current.cpiValue = {10, 10, 10, 10, 10, 10};
        records.Current.cpiEnabled = {1, 1, 1, 1, 1, 1};
        records.Current.cpiColor.fill(0x40);
        records.Current.scrollOneScreen = 0;
        records.Current.scrollLines = 3;
    }

    void Click(QPoint p)
    {
        test::SendMouse(Window(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(Window(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    void ClickRightHeader(RightPanel::SectionIndex section)
    {
        const Rect header = Window().Model().Right().Stack().HeaderArea(section);
        Click({header.left + 6, header.top + 5});
    }
    // A drawing of the window, then what it left for the event loop (the edit box follows it).
    QImage Shot()
    {
        const QImage shot = Window().grab().toImage();
        QCoreApplication::processEvents();
        return shot;
    }
    QLineEdit* LinesBox() { return Window().findChild<QLineEdit*>(QStringLiteral("scrollLines")); }

    // Runs `answer` on the colour dialog once it is open.
    void AnswerColourDialog(std::function<void(QColorDialog&)> answer)
    {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }
};

TEST_F(SectionsViewTest, ATrackPressSetsTheStageAndItsPicture)
{
    ClickRightHeader(RightPanel::kCpiSetting);
    EXPECT_EQ(Shot().pixel(777, 100), kLowTrackColour);
    Click({777, 58});
    EXPECT_EQ(records.Current.cpiValue[0], 164);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixel(777, 100), kTopTrackColour);
    EXPECT_EQ(shot.pixel(827, 100), kLowTrackColour); // stage 2 as it was
}

TEST_F(SectionsViewTest, TheColourDialogsOkStoresTheColourAndPaintsTheSwatch)
{
    ClickRightHeader(RightPanel::kCpiSetting);
    EXPECT_EQ(Shot().pixel(776, 269), qRgb(0x40, 0x40, 0x40));
    AnswerColourDialog([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(10, 200, 30));
        dialog.accept();
    });
    Click({776, 269});
    EXPECT_EQ(records.Current.cpiColor[0], 10);
    EXPECT_EQ(records.Current.cpiColor[1], 200);
    EXPECT_EQ(records.Current.cpiColor[2], 30);
    EXPECT_EQ(records.Current.cpiColor[3], 0x40);
    EXPECT_EQ(Shot().pixel(776, 269), qRgb(10, 200, 30));
}

TEST_F(SectionsViewTest, CancellingTheColourDialogChangesNothing)
{
    ClickRightHeader(RightPanel::kCpiSetting);
    const ProfileRecord before = records.Current;
    AnswerColourDialog([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(10, 200, 30));
        dialog.reject();
    });
    Click({926, 270});
    EXPECT_EQ(records.Current, before);
    EXPECT_EQ(Shot().pixel(926, 270), qRgb(0x40, 0x40, 0x40));
}

class ScrollSpeedViewTest : public SectionsViewTest
{
protected:
    ScrollSpeedViewTest()
    {
        ClickRightHeader(RightPanel::kScrollSpeed);
        Shot();
    }

    void Type(QLineEdit& box, Qt::Key key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&box, &release);
    }
};

TEST_F(ScrollSpeedViewTest, TypingAnOutOfRangeCountRefillsOne)
{
    QLineEdit* box = LinesBox();
    ASSERT_NE(box, nullptr);
    box->selectAll();
    Type(*box, Qt::Key_4, "4");
    Type(*box, Qt::Key_2, "2");
    EXPECT_EQ(records.Current.scrollLines, 42);
    EXPECT_EQ(box->text(), "42");
    Type(*box, Qt::Key_0, "0"); // 420
    EXPECT_EQ(box->text(), "1");
    EXPECT_EQ(records.Current.scrollLines, 1);
    box->selectAll();
    Type(*box, Qt::Key_Backspace, QString());
    EXPECT_EQ(box->text(), "1");
}

} // namespace
} // namespace veldrane
