// The main window on the offscreen platform: presses at the window's coordinates, the record, the
// grabbed pixels and the system's widgets behind the settings sections.
#include "gui/CHidMouseDlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <utility>

#include "gui/CAppRulesDialog.h"
#include "gui/CHelpDialog.h"
#include "gui/GuiFixture.h"
#include "screens/main/MainWindowLayout.h"

namespace veldrane {
namespace {

using test::SendMouse;

class CHidMouseDlgTest : public test::GuiFixture
{
protected:
    CHidMouseDlgTest() { WriteSkin(); }
};

// A button whose picture the skin cannot read is drawn plain, so that the place that takes its
// clicks can be seen; its "-over" picture shows while the pointer is on it.
TEST_F(CHidMouseDlgTest, HoverOverAButtonWithABrokenPictureShowsItsOverPicture)
{
    test::WriteFileBytes(skinDir / "button-save-normal.png", "not a picture");
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(PixelAt(dlg, {925, 606}), 0xff3c3c42u);
    SendMouse(dlg, QEvent::MouseMove, {930, 610}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt(dlg, {925, 606}), kSaveOverColour);
    SendMouse(dlg, QEvent::MouseMove, {500, 300}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt(dlg, {925, 606}), 0xff3c3c42u);
}

// The button of the view that shows is down, the other as it is; a click on the other swaps them
// and gives it the keyboard's focus, its ring drawn round it.
TEST_F(CHidMouseDlgTest, TheViewShownIsDownAndAClickMovesTheFocusThere)
{
    constexpr QRgb kNormal = 0xff404040;
    constexpr QRgb kDown = 0xffc00000;
    constexpr QRgb kRing = 0xffe8332b;
    test::WritePicture(skinDir / "Mouse" / "ViewButton-normal.png", {62, 29}, kNormal);
    test::WritePicture(skinDir / "Mouse" / "ViewButton-over.png", {62, 29}, 0xff808080);
    test::WritePicture(skinDir / "Mouse" / "ViewButton-down.png", {62, 29}, kDown);
    CHidMouseDlg& dlg = Window();
    const QPoint side{440, 553}; // corners, clear of the labels
    const QPoint top{558, 553};
    const QPoint aboveTop{530, kTopViewButton.top - 1};
    QImage shot = dlg.grab().toImage();
    EXPECT_EQ((std::array{shot.pixel(side), shot.pixel(top)}), (std::array{kDown, kNormal}));
    EXPECT_NE(shot.pixel(aboveTop), kRing);
    test::Click(dlg, top);
    shot = dlg.grab().toImage();
    EXPECT_EQ((std::array{shot.pixel(side), shot.pixel(top)}), (std::array{kNormal, kDown}));
    EXPECT_EQ(shot.pixel(aboveTop), kRing); // the focus is on "Top"
}

// The second click of a double click is not a second press: the header opens once and stays open.
TEST_F(CHidMouseDlgTest, ADoubleClickOnAHeaderOpensTheFoldedSectionOnce)
{
    CHidMouseDlg& dlg = Window();
    EXPECT_EQ(PixelAt(dlg, {800, 110}), kHeaderColour); // the shut "Mouse Speed" at 107..127
    test::Click(dlg, {740, 60});
    SendMouse(dlg, QEvent::MouseButtonDblClick, {740, 60}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(dlg, QEvent::MouseButtonRelease, {740, 60}, Qt::LeftButton, Qt::NoButton);
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(740, 60), kOpenHeaderColour);
    EXPECT_EQ(shot.pixel(740, 80), kLightingColour); // the content, under the header's focus ring
    EXPECT_EQ(shot.pixel(800, 192), kHeaderColour);  // "USB Report Rate" pushed down to 192
    EXPECT_EQ(shot.pixel(800, 190), kBackground);    // the gap above it
}

// Enter and Escape do not close the window; a drag on an empty spot moves it; the window
// manager's close request is refused and hides it.
TEST_F(CHidMouseDlgTest, KeysDragsAndCloseRequestsOfTheWindow)
{
    CHidMouseDlg& dlg = Window();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    dlg.move(100, 100);
    const QPoint start = dlg.pos();
    SendMouse(dlg, QEvent::MouseButtonPress, {400, 300}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(dlg, QEvent::MouseMove, {430, 320}, Qt::NoButton, Qt::LeftButton);
    SendMouse(dlg, QEvent::MouseButtonRelease, {430, 320}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(dlg.pos(), start + QPoint(30, 20));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.close());
    EXPECT_FALSE(dlg.isVisible());

    // The window goes while its help panel holds the keyboard (a language change, the exit).
    dlg.show();
    QKeyEvent help(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &help);
    ASSERT_NE(dlg.HelpDialog(), nullptr);
    QApplication::setActiveWindow(&dlg);
    dlg.HelpDialog()->setFocus();
    ASSERT_TRUE(dlg.HelpDialog()->hasFocus());
    window.reset();
}

class SectionsViewTest : public CHidMouseDlgTest
{
protected:
    SectionsViewTest()
    {
        records.Current.cpiEnabled = {1, 1, 1, 1, 1, 1};
        records.Current.cpiColor.fill(0x40);
        records.Current.scrollOneScreen = 0;
        records.Current.scrollLines = 3;
    }

    void OpenRightSection(RightPanel::SectionIndex section)
    {
        const Rect header = Window().Model().Right().Stack().HeaderArea(section);
        test::Click(Window(), {header.left + 6, header.top + 5});
    }
    // A drawing of the window, then what it left for the event loop (the edit box follows it).
    QImage Shot()
    {
        const QImage shot = Window().grab().toImage();
        QCoreApplication::processEvents();
        return shot;
    }
};

// A press on a header gives it the focus; Tab and Shift+Tab reach the painted controls before Qt
// would move the focus to another widget, the ring is painted in red around the control with the
// focus (Ctrl+S is the assignment's keys test's); assistive
// technology sees the same controls with their roles and values and moves a slider by its action.
TEST_F(SectionsViewTest, KeysPaintTheRingAndAssistiveTechnologySeesTheControls)
{
    CHidMouseDlg& dlg = Window();
    OpenRightSection(RightPanel::kCpiSetting);
    const auto send = [&dlg](int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(&dlg, &press);
        return press.isAccepted();
    };
    constexpr QRgb kRing = 0xffe8332b;
    const QPoint header{733, 40}; // left of "CPI Setting" (734, 32, 976, 52)
    const QPoint track{774, 100}; // left of the first stage's track (775, 58, 782, 228)
    EXPECT_EQ(PixelAt(dlg, header), kRing);
    EXPECT_TRUE(send(Qt::Key_Tab, Qt::NoModifier));
    QImage shot = dlg.grab().toImage();
    EXPECT_EQ((std::array{shot.pixel(header), shot.pixel(track)}), (std::array{kBackground, kRing}));
    EXPECT_TRUE(send(Qt::Key_Backtab, Qt::ShiftModifier));
    shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(header), kRing);
    EXPECT_NE(shot.pixel(track), kRing);

    QAccessibleInterface* canvas = QAccessible::queryAccessibleInterface(&dlg);
    ASSERT_NE(canvas, nullptr);
    QAccessibleInterface* slider = nullptr;
    for (int i = 0; i < canvas->childCount(); ++i) {
        QAccessibleInterface* control = canvas->child(i);
        if (control && control->text(QAccessible::Name) == QStringLiteral("CPI stage 2")) {
            slider = control;
            EXPECT_EQ(canvas->indexOfChild(control), i);
        }
    }
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    EXPECT_EQ(slider->text(QAccessible::Value), QStringLiteral("1600 CPI"));
    EXPECT_EQ(canvas->child(9)->role(), QAccessible::PageTab);
    EXPECT_TRUE(canvas->child(9)->state().expanded);
    ASSERT_NE(slider->actionInterface(), nullptr);
    slider->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(slider->valueInterface()->currentValue(), QVariant(1650));
    EXPECT_EQ(records.Current.cpiValue[1], 33);
    slider->valueInterface()->setCurrentValue(1420); // down from 1650, short of passing it: 1450
    EXPECT_EQ(records.Current.cpiValue[1], 29);
}

// The colour dialog's Cancel changes nothing; its OK stores the colour and paints the swatch.
TEST_F(SectionsViewTest, TheColourDialogSetsAStagesColourOnlyOnOk)
{
    OpenRightSection(RightPanel::kCpiSetting);
    EXPECT_EQ(Shot().pixel(776, 269), qRgb(0x40, 0x40, 0x40));
    auto expected = records.Current.cpiColor;
    expected[0] = 10, expected[1] = 200, expected[2] = 30;
    for (const auto& [ok, swatch] : {std::pair{false, QPoint(926, 270)}, std::pair{true, QPoint(776, 269)}}) {
        QTimer::singleShot(0, [ok = ok] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setCurrentColor(QColor(10, 200, 30));
            ok ? dialog->accept() : dialog->reject();
        });
        test::Click(Window(), swatch);
    }
    EXPECT_EQ(records.Current.cpiColor, expected);
    EXPECT_EQ(Shot().pixel(776, 269), qRgb(10, 200, 30));
}

TEST_F(SectionsViewTest, TypingAnOutOfRangeLineCountRefillsOne)
{
    OpenRightSection(RightPanel::kScrollSpeed);
    Shot();
    auto* box = Window().findChild<QLineEdit*>(QStringLiteral("scrollLines"));
    ASSERT_NE(box, nullptr);
    const auto type = [box](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box, &press);
    };
    box->selectAll();
    type(Qt::Key_4, "4");
    type(Qt::Key_2, "2");
    EXPECT_EQ(records.Current.scrollLines, 42);
    type(Qt::Key_0, "0"); // 420
    EXPECT_EQ(box->text(), "1");
    EXPECT_EQ(records.Current.scrollLines, 1); // which texts count is the scroll lines' test
}

// "Applications...": the next window that takes the focus adds its application (by app id, else
// class), "Remove" takes the selected one away, the check box makes the profile the default;
// each change is stored at once. A window without any name adds nothing.
TEST_F(CHidMouseDlgTest, ApplicationsDialogEditsTheProfilesRules)
{
    AppRules stored;
    ASSERT_TRUE(stored.AddApp("Other", "gimp"));
    ASSERT_TRUE(stored.SetDefaultProfile("Other"));
    int stores = 0;
    std::function<void(const FocusedWindow&)> capture;
    auto* dialog = new CAppRulesDialog({"Game", Language::SimplifiedChinese, Colour{255, 255, 255}, messages,
                                        [&] { return stored; },
                                        [&](const AppRules& rules) {
                                            stored = rules;
                                            ++stores;
                                            return std::error_code();
                                        },
                                        [&](std::function<void(const FocusedWindow&)> next) { capture = next; }},
                                       cache);
    const auto button = [&](const char* text) {
        for (QPushButton* each : dialog->findChildren<QPushButton*>()) {
            if (each->text() == QString::fromUtf8(text)) {
                return each;
            }
        }
        ADD_FAILURE() << text;
        return static_cast<QPushButton*>(nullptr);
    };
    auto* list = dialog->findChild<QListWidget*>();
    auto* useAsDefault = dialog->findChild<QCheckBox*>();
    ASSERT_NE(useAsDefault, nullptr);
    EXPECT_EQ(useAsDefault->text(), QString::fromUtf8("没有匹配的规则时使用此配置"));

    button("添加我下一个点击的窗口")->click();
    ASSERT_TRUE(capture);
    EXPECT_FALSE(button("添加我下一个点击的窗口")->isEnabled());
    std::exchange(capture, nullptr)({"", "Steam", "steamwebhelper", "steam"});
    button("添加我下一个点击的窗口")->click();
    std::exchange(capture, nullptr)({"org.example.Game", "Game", "game", "game"});
    button("添加我下一个点击的窗口")->click();
    std::exchange(capture, nullptr)({});
    EXPECT_EQ(stored.AppsOf("Game"), (std::vector<std::string>{"Steam", "org.example.Game"}));
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(0);
    button("删除")->click();
    EXPECT_EQ(stored.AppsOf("Game"), std::vector<std::string>{"org.example.Game"});
    EXPECT_EQ(stored.AppsOf("Other"), std::vector<std::string>{"gimp"});

    useAsDefault->setChecked(true);
    EXPECT_EQ(stored.DefaultProfile(), "Game");
    useAsDefault->setChecked(false);
    EXPECT_EQ(stored.DefaultProfile(), std::nullopt);
    EXPECT_EQ(stores, 5);
    delete dialog;
}

} // namespace
} // namespace veldrane
