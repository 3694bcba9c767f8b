#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <functional>

#include "app/LeftPanel.h"
#include "buttons/HexBytes.h"
#include "buttons/KeyMatrixBlock.h"
#include "buttons/RecordingAssignmentDialogs.h"
#include "gui/AssignmentViewSupport.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/ButtonAssignmentSection.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/buttons/QtKeyNameSource.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"

namespace veldrane {
namespace {

using Shown = test::RecordingMessageSink::Shown;

constexpr QPoint kAssignmentHeader{40, 115};
constexpr std::uint32_t kKeyF5 = 63;

// Window points: row r's box is (120, 134 + 20 r, 250, 150 + 20 r), its list (262, 134 + 20 r,
// 365, 394 + 20 r) with a one-pixel border and 16-pixel entries.
QPoint BoxPoint(int row)
{
    return {185, 142 + 20 * row};
}
QPoint EntryPoint(int row, int entry)
{
    return {300, 134 + 20 * row + 1 + 16 * entry + 8};
}

void Click(QWidget& widget, QPoint at)
{
    test::SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

class AssignmentSectionView : public test::InputDevicesFirst, public test::GuiFixture
{
protected:
    AssignmentSectionView()
    {
        WriteSkin();
        for (const char* dialog : {"single-key.png", "combo-key.png", "macro-key.png"}) {
            test::WritePicture(skinDir / dialog, {400, 286}, QColor(10, 20, 30));
        }
    }

    CHidMouseDlg& OpenSection()
    {
        CHidMouseDlg& window = Window();
        m_ui.emplace(window, ButtonAssignmentContext{records.Current, files.buttonLabel, language,
                                                     MainWindowTextsFor(language).buttonAssignment, messages, cache,
                                                     window.Fonts(), m_keyNames, m_macroFile});
        window.Model().SetLeftSection(LeftPanel::kButtonAssignment, m_ui->TakeSection());
        Click(window, kAssignmentHeader);
        EXPECT_TRUE(window.Model().Left().Stack().IsOpen(LeftPanel::kButtonAssignment));
        return window;
    }
    // Points of the window go to the child under them, as the window system sends them.
    static void ClickInWindow(QWidget& window, QPoint at)
    {
        QWidget* target = window.childAt(at);
        if (!target) {
            target = &window;
        }
        Click(*target, target->mapFrom(&window, at));
    }
    static void MoveInWindow(QWidget& window, QPoint at)
    {
        QWidget* target = window.childAt(at);
        if (!target) {
            target = &window;
        }
        test::SendMouse(*target, QEvent::MouseMove, target->mapFrom(&window, at), Qt::NoButton, Qt::NoButton);
    }
    static void DropClosedWidgets() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::string ButtonEntryHex(std::size_t slot) const
    {
        const KeyMatrixBlock block = BuildKeyMatrixBlock(records.Current);
        return test::HexBytes(std::span(block).subspan(4 * slot, 4));
    }

    QtKeyNameSource m_keyNames;
    IniFile m_macroFile{dir / kMacroFileName, codec};
    std::optional<ButtonAssignmentUi> m_ui;
};

TEST_F(AssignmentSectionView, BoxOpensItsListAsAWidgetAndASecondClickRemovesIt)
{
    CHidMouseDlg& window = OpenSection();
    // The rows' coordinates hold where the left panel puts the section's content.
    EXPECT_EQ(window.Model().Left().Stack().ContentOrigin(LeftPanel::kButtonAssignment),
              AssignmentMenuModel::kContentOrigin);
    ClickInWindow(window, BoxPoint(1));
    QWidget* list = m_ui->Lists().MainListWidget();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->geometry(), QRect(262, 154, 103, 260));
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(m_ui->Model().OpenButton(), 7u); // the window starts on the side view: Button 8
    EXPECT_EQ(m_ui->MouseHighlightPicture(), "/Mouse/Side/S-1-over.png");

    ClickInWindow(window, BoxPoint(1));
    DropClosedWidgets();
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);
    EXPECT_EQ(window.findChildren<AssignmentListPopup*>().size(), 0);
}

TEST_F(AssignmentSectionView, ListIsPaintedLightOnDarkRed)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(2));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixel(355, 182), qRgb(80, 0, 0));
    // Some pixel of the entry "Click" carries the light text.
    bool lightText = false;
    for (int x = 265; x < 300; ++x) {
        for (int y = 175; y < 191; ++y) {
            const QColor c = shot.pixelColor(x, y);
            lightText = lightText || (c.green() > 100 && c.blue() > 100);
        }
    }
    EXPECT_TRUE(lightText);
}

TEST_F(AssignmentSectionView, RestingOnWindowsOpensItsSubmenuAndRunIsStored)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(1));
    MoveInWindow(window, EntryPoint(1, 9));
    QWidget* submenu = m_ui->Lists().SubmenuWidget();
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->geometry(), QRect(365, 201, 90, 114));
    MoveInWindow(window, {400, 201 + 1 + 16 * 6 + 8});
    EXPECT_EQ(m_ui->Model().Submenu()->Highlighted(), 6u);
    ClickInWindow(window, {400, 201 + 1 + 16 * 6 + 8});
    DropClosedWidgets();
    EXPECT_EQ(records.Current.buttonFunction[7], 9);
    EXPECT_EQ(records.Current.systemCommand[7], 6);
    EXPECT_EQ(files.buttonLabel[7], "Run");
    EXPECT_EQ(ButtonEntryHex(11), "00 00 E3 15"); // Button 8 is slot 11
    EXPECT_EQ(window.findChildren<AssignmentListPopup*>().size(), 0);
}

TEST_F(AssignmentSectionView, RestingOnAPlainEntryClosesTheSubmenuWidget)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(3));
    MoveInWindow(window, EntryPoint(3, 6));
    ASSERT_NE(m_ui->Lists().SubmenuWidget(), nullptr);
    EXPECT_EQ(m_ui->Lists().SubmenuWidget()->geometry(), QRect(364, 291, 60, 60));
    MoveInWindow(window, EntryPoint(3, 2));
    DropClosedWidgets();
    EXPECT_EQ(m_ui->Lists().SubmenuWidget(), nullptr);
    EXPECT_EQ(window.findChildren<AssignmentListPopup*>().size(), 1);
}

TEST_F(AssignmentSectionView, FrontViewAssignsCpiMinusToButton2)
{
    CHidMouseDlg& window = OpenSection();
    Click(window, {530, 540}); // "Top"
    ClickInWindow(window, BoxPoint(2));
    EXPECT_EQ(m_ui->Model().OpenButton(), 1u);
    EXPECT_EQ(m_ui->MouseHighlightPicture(), "/Mouse/Front/F-2-over.png");
    MoveInWindow(window, EntryPoint(2, 6));
    ClickInWindow(window, {380, 174 + 1 + 96 + 1 + 16 + 8});
    EXPECT_EQ(records.Current.buttonFunction[1], 6);
    EXPECT_EQ(records.Current.cpiAction[1], 2);
    EXPECT_EQ(files.buttonLabel[1], "CPI -");
}

TEST_F(AssignmentSectionView, SingleKeyCapturesF5FromTheDialogsKeyEvents)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(1));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        test::TapKey(*dialog, Qt::Key_F5, kKeyF5);
        Click(*dialog, {279, 262});
    });
    messages.shown.clear();
    ClickInWindow(window, EntryPoint(1, 10));
    DropClosedWidgets();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(records.Current.buttonFunction[7], 10);
    EXPECT_EQ(records.Current.singleKey[7], 0x3E);
    EXPECT_EQ(files.buttonLabel[7], "Single Key-F5");
    EXPECT_EQ(ButtonEntryHex(11), "00 00 3E 00");
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);
}

TEST_F(AssignmentSectionView, CancelledComboKeyLeavesTheButton)
{
    CHidMouseDlg& window = OpenSection();
    const ProfileRecord before = records.Current;
    const auto labels = files.buttonLabel;
    ClickInWindow(window, BoxPoint(2));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        Click(*dialog, {343, 262});
    });
    ClickInWindow(window, EntryPoint(2, 11));
    EXPECT_EQ(records.Current, before);
    EXPECT_EQ(files.buttonLabel, labels);
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
}

TEST_F(AssignmentSectionView, OnlyClickButtonShowsTheWarningAndNoList)
{
    records.Current.buttonFunction.fill(1);
    records.Current.buttonFunction[8] = 0;
    CHidMouseDlg& window = OpenSection();
    messages.shown.clear();
    ClickInWindow(window, BoxPoint(2));
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Left key must be selected!", "Warning"}}));
}

class CloseAll : public AssignmentSectionView, public testing::WithParamInterface<std::function<void(CHidMouseDlg&)>>
{
};

TEST_P(CloseAll, RemovesTheOpenListsOfSideButtons)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(5));
    MoveInWindow(window, EntryPoint(5, 7));
    ASSERT_EQ(window.findChildren<AssignmentListPopup*>().size(), 2);
    GetParam()(window);
    DropClosedWidgets();
    EXPECT_EQ(window.findChildren<AssignmentListPopup*>().size(), 0);
    EXPECT_FALSE(m_ui->Model().OpenButton().has_value());
}

INSTANTIATE_TEST_SUITE_P(Occasions, CloseAll,
                         testing::Values([](CHidMouseDlg& w) { w.Model().OnProfileManagerNotice(2); },
                                         [](CHidMouseDlg& w) { w.Model().ShowFromTray(); },
                                         [](CHidMouseDlg& w) { Click(w, kAssignmentHeader); }, // folding it
                                         [](CHidMouseDlg& w) {
                                             Click(w, {820, 615});
                                         })); // "Reset"

TEST(ButtonAssignmentSection, TakesPressesOnBoxesAndFollowsTheMouseView)
{
    ProfileRecord record{};
    ButtonLabels labels{};
    test::RecordingAssignmentDialogs dialogs;
    test::RecordingMessageSink messages;
    test::RecordingCanvas images;
    AssignmentMenuModel model(record, labels, Language::English, dialogs, messages);
    ButtonAssignmentSection section(model, "Button Assignment", images);
    const Point origin = AssignmentMenuModel::kContentOrigin;
    EXPECT_EQ(section.Title(), "Button Assignment");
    EXPECT_TRUE(section.TakesPress({185, 162}, origin));
    EXPECT_TRUE(section.TakesPress({185, 282}, origin));  // row 7, a row of the front view only
    EXPECT_FALSE(section.TakesPress({60, 162}, origin));  // the button's name
    EXPECT_FALSE(section.TakesPress({185, 171}, origin)); // between two rows
    EXPECT_EQ(section.ContentHeight(), 133);
    section.MouseViewChanged(MouseView::Top);
    EXPECT_EQ(section.ContentHeight(), 173);
    int changes = 0;
    section.SetListsChanged([&changes] { ++changes; });
    EXPECT_TRUE(section.Press({185, 182}, origin));
    EXPECT_EQ(model.OpenButton(), 1u);
    EXPECT_EQ(section.MousePicture(), "/Mouse/Front/F-2-over.png");
    section.MouseViewChanged(MouseView::Side);
    EXPECT_FALSE(section.MousePicture().has_value());
    section.CloseLists();
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace veldrane
