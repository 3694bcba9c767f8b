// The button assignment's views: the lists in the main window, the key-capture dialogs and the
// key names they show, from key events as the window system delivers them.
#include <gtest/gtest.h>

#include <QApplication>

#include <string>
#include <tuple>
#include <utility>

#include "adapters/qt/QtKeyNameSource.h"
#include "core/buttons/KeyTables.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ProfileFileNames.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/buttons/CComboDialog.h"
#include "gui/buttons/CMacroDialog.h"
#include "gui/buttons/CSingleDialog.h"
#include "screens/main/LeftPanel.h"

namespace veldrane {
namespace {

// The button assignment in the main window's first left row, opened.
class AssignmentSectionView : public test::GuiFixture
{
protected:
    AssignmentSectionView()
    {
        WriteSkin();
        m_ui.emplace(Window(), ButtonAssignmentContext{records.Current, files.EditedLabels(), language,
                                                       MainWindowTextsFor(language).buttonAssignment, messages, cache,
                                                       Window().Fonts(), m_keyNames, m_macroFile});
        Window().Model().SetLeftSection(LeftPanel::kButtonAssignment, m_ui->TakeSection());
        test::Click(Window(), {40, 115});
    }
    // A press at a point of the window goes to the child under it, as the window system sends it;
    // row r's box is (120, 134 + 20 r, 250, 150 + 20 r).
    void ClickInWindow(QPoint at)
    {
        QWidget* target = Window().childAt(at) ? Window().childAt(at) : &Window();
        test::Click(*target, target->mapFrom(&Window(), at));
    }
    static QPoint BoxPoint(int row) { return {185, 142 + 20 * row}; }

    QtKeyNameSource m_keyNames;
    IniFile m_macroFile{dir / kMacroFileName, codec};
    std::optional<ButtonAssignmentUi> m_ui;
};

// An open list closes on a press anywhere outside it and on Escape; a press on another row's box
// opens that row's list instead.
TEST_F(AssignmentSectionView, AListClosesOnAPressOutsideItAndOnEscape)
{
    ClickInWindow(BoxPoint(1));
    ASSERT_EQ(m_ui->Model().OpenButton(), 7u);
    ClickInWindow(BoxPoint(2));
    EXPECT_EQ(m_ui->Model().OpenButton(), 8u);
    ClickInWindow({500, 300}); // the mouse picture
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);
    ClickInWindow(BoxPoint(1));
    test::TapKey(Window(), Qt::Key_Escape, 1);
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    EXPECT_EQ(m_ui->MouseHighlightPicture(), std::nullopt);
}

// A key that would close or leave an ordinary dialog is captured by both capture dialogs, which
// hold the keyboard so that the desktop does not take Super, Print or Alt+Tab first.
using CaptureDialogView = test::GuiFixture;

TEST_F(CaptureDialogView, KeysThatWouldCloseAreCapturedAndLeaveTheDialogOpen)
{
    for (const char* picture : {"single-key.png", "combo-key.png"}) {
        test::WritePicture(skinDir / picture, {384, 286}, QColor(10, 20, 30));
    }
    const QtKeyNameSource keyNames;
    // The key, Qt's key and the evdev code.
    for (const auto& [name, qtKey, evdev] : {std::tuple<const char*, int, std::uint32_t>{"Enter", Qt::Key_Return, 28},
                                             {"Esc", Qt::Key_Escape, 1},
                                             {"Left Windows", Qt::Key_Super_L, 125},
                                             {"Tab", Qt::Key_Tab, 15}}) {
        CSingleDialog single(cache, messages, keyNames, Language::English);
        CComboDialog combo(cache, messages, keyNames, Language::English);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&single, &combo}) {
            dialog->show();
            dialog->activateWindow();
            dialog->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(QWidget::keyboardGrabber(), dialog) << name;
            test::TapKey(*dialog, qtKey, evdev); // the combo's first key field has the focus at once
            EXPECT_TRUE(dialog->isVisible()) << name;
            EXPECT_EQ(dialog->result(), 0) << name;
        }
        EXPECT_EQ(single.Model().KeyName(), name);
        EXPECT_EQ(combo.Model().Result().key1Name, name);
        single.hide();
        EXPECT_EQ(QWidget::keyboardGrabber(), &combo);
        combo.hide();
        EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    }
}

// The macro key dialog's list of macros closes on Escape; the dialog stays.
TEST_F(CaptureDialogView, EscapeClosesTheMacroListOfTheMacroKeyDialog)
{
    test::WritePicture(skinDir / "macro-key.png", {400, 286}, QColor(10, 20, 30));
    const IniFile macros(dir / kMacroFileName, codec);
    test::WriteFileBytes(macros.Path(), "[Alpha]\r\nMacroLoopTimes=1\r\n");
    CMacroDialog dialog(cache, messages, macros, Language::English);
    dialog.show();
    test::Click(dialog, {90, 136});
    ASSERT_TRUE(dialog.Model().Dropdown().has_value());
    test::TapKey(dialog, Qt::Key_Escape, 1);
    EXPECT_FALSE(dialog.Model().Dropdown().has_value());
    EXPECT_TRUE(dialog.isVisible());
}

// With a keycode (the evdev code + 8) the physical key decides, whatever Qt's key says (a French
// layout gives Qt::Key_A on the US "Q" key); without one, Qt's key code.
TEST(QtKeyNameSource, GivesTheKeyTablesName)
{
    const QtKeyNameSource source;
    // The evdev code (0: none), Qt's key, whether it came from the keypad, and the name.
    for (const auto& [evdev, qtKey, keypad, expected] :
         {std::tuple<std::uint32_t, int, bool, const char*>{97, Qt::Key_Control, false, "Right Ctrl"},
          {100, Qt::Key_AltGr, false, "Right Alt"},
          {16, Qt::Key_A, false, "Q"},
          {96, Qt::Key_Enter, true, "Num Enter"},
          {82, Qt::Key_Insert, true, "Num 0"},
          {0, Qt::Key_F5, false, "F5"},
          {0, Qt::Key_Exclam, false, "1"},
          {0, Qt::Key_5, true, "Num 5"},
          {0, Qt::Key_Enter, true, "Num Enter"},
          {0, Qt::Key_Menu, false, "Application"}}) {
        EXPECT_EQ(source.KeyName({evdev == 0 ? 0 : evdev + 8, qtKey, keypad}), expected) << expected;
    }
}

// A media key, a key Qt does not know, a keycode outside the table whose Qt key would be a table
// name (it must not borrow that name), and a Qt key without keycode that the table lacks: each
// gets a name, and none that the tables hold. Every name Qt's own key codes get is a table name.
TEST(QtKeyNameSource, AKeyOutsideTheTablesGetsANameTheyDoNotHold)
{
    const QtKeyNameSource source;
    for (const auto& [nativeScanCode, qtKey] : {std::pair<std::uint32_t, int>{113 + 8, Qt::Key_VolumeMute},
                                                {250, Qt::Key_unknown},
                                                {0x2FF, Qt::Key_F5},
                                                {0, Qt::Key_F13},
                                                {0, Qt::Key_unknown},
                                                {0, 0x00E9}}) {
        const std::string name = source.KeyName({nativeScanCode, qtKey, false});
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(KeyCodeFromName(name), 0) << name;
        EXPECT_EQ(ModifierBitFromName(name), 0) << name;
    }
    for (const bool keypad : {false, true}) {
        for (int key = 0x20; key < Qt::Key_Escape + 0x100; key = key == 0x7E ? Qt::Key_Escape : key + 1) {
            if (const auto known = QtKeyNameSource::QtKeyName(key, keypad)) {
                EXPECT_NE(KeyCodeFromName(*known), 0) << std::hex << key;
            }
        }
    }
}

} // namespace
} // namespace veldrane
