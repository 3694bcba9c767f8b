#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <functional>

#include "app/LeftPanel.h"
#include "buttons/KeyMatrixBlock.h"
#include "buttons/RecordingAssignmentDialogs.h"
#include "gui/AssignmentViewSupport.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/ButtonAssignmentSection.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/buttons/QtKeyNameSource.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "support/HexBytes.h"

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

// An open list closes on a press anywhere outside it and on Escape; a press on another row's box
// opens that row's list instead.
TEST_F(AssignmentSectionView, AListClosesOnAPressOutsideItAndOnEscape)
{
    CHidMouseDlg& window = OpenSection();
    ClickInWindow(window, BoxPoint(1));
    ASSERT_EQ(m_ui->Model().OpenButton(), 7u);
    ClickInWindow(window, BoxPoint(2));
    EXPECT_EQ(m_ui->Model().OpenButton(), 8u);
    ClickInWindow(window, {500, 300}); // the mouse picture
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    DropClosedWidgets();
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);

    ClickInWindow(window, BoxPoint(1));
    ASSERT_EQ(m_ui->Model().OpenButton(), 7u);
    test::TapKey(window, Qt::Key_Escape, 9);
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    EXPECT_EQ(m_ui->MouseHighlightPicture(), std::nullopt);
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

} // namespace
} // namespace veldrane
