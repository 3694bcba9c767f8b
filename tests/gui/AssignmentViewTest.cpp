// The button assignment's views: the lists in the main window, the key-capture dialogs and the
// key names they show, from key events as the window system delivers them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

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

// An open list closes on a press anywhere outside it (Escape is the keyboard test's); a press on
// another row's box (above the list, which covers the rows under its own) opens that row's list.
TEST_F(AssignmentSectionView, AListClosesOnAPressOutsideIt)
{
    ClickInWindow(BoxPoint(2));
    ASSERT_EQ(m_ui->Model().OpenButton(), 8u);
    ClickInWindow(BoxPoint(1));
    EXPECT_EQ(m_ui->Model().OpenButton(), 7u);
    ClickInWindow({500, 300}); // the mouse picture
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_ui->Lists().MainListWidget(), nullptr);
    EXPECT_EQ(m_ui->MouseHighlightPicture(), std::nullopt);
}

// By keys alone: Tab goes from the section's header to Button 8's box (the side view's first row),
// a combo box valued with its label; Space opens its list on the button's own function; Home and
// Down walk to "Windows", Right enters its submenu, Left leaves it, Return enters it again; End
// and Return choose "Run" as a click would, and Ctrl+S saves it into the profile file. Escape
// closes a list without a change, the focus staying on the box. Assistive technology sees the
// list and the submenu with their entries, the highlighted one focused.
TEST_F(AssignmentSectionView, KeysAloneAssignAFunctionThatTheSavedProfileHolds)
{
    MainWindowModel& model = Window().Model();
    const auto focused = [&model] { return model.Controls().at(model.FocusIndex().value()); };
    const auto tap = [this](int qtKey, std::uint32_t evdev) { test::TapKey(Window(), qtKey, evdev); };
    tap(Qt::Key_Tab, 15);
    EXPECT_EQ(focused().name, "Button 8");
    EXPECT_EQ(focused().role, ControlRole::ComboBox);
    EXPECT_EQ(focused().value, files.EditedLabels()[7]);
    tap(Qt::Key_Space, 57);
    ASSERT_EQ(m_ui->Model().OpenButton(), 7u);
    EXPECT_TRUE(focused().expanded);
    EXPECT_EQ(m_ui->Model().MainList()->Highlighted(), records.Current.buttonFunction[7]);
    tap(Qt::Key_Escape, 1);
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    EXPECT_EQ(records.Current, records.Backup);
    EXPECT_EQ(focused().name, "Button 8");

    tap(Qt::Key_Return, 28);
    tap(Qt::Key_Home, 102);
    for (int i = 0; i < 9; ++i) {
        tap(Qt::Key_Down, 108);
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_ui->Lists().MainListWidget());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->childCount(), 16);
    ASSERT_NE(list->focusChild(), nullptr);
    EXPECT_EQ(list->focusChild()->text(QAccessible::Name), QStringLiteral("Windows"));
    EXPECT_TRUE(list->focusChild()->state().hasPopup);
    tap(Qt::Key_Right, 106);
    ASSERT_TRUE(m_ui->Model().Submenu().has_value());
    QAccessibleInterface* submenu = QAccessible::queryAccessibleInterface(m_ui->Lists().SubmenuWidget());
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->role(), QAccessible::PopupMenu);
    EXPECT_EQ(submenu->childCount(), 7);
    ASSERT_NE(submenu->focusChild(), nullptr);
    EXPECT_EQ(submenu->focusChild()->text(QAccessible::Name), QStringLiteral("My computer"));
    tap(Qt::Key_Left, 105); // out of the submenu, or the Return below would choose "My computer"
    tap(Qt::Key_Return, 28);
    tap(Qt::Key_End, 107);
    tap(Qt::Key_Return, 28);
    EXPECT_EQ(m_ui->Model().OpenButton(), std::nullopt);
    EXPECT_EQ(focused().value, "Run");

    QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, 31 + 8, 0, 0, QStringLiteral("s"));
    QCoreApplication::sendEvent(&Window(), &save);
    ProfileRecord saved{};
    ASSERT_TRUE(files.LoadConfig(saved).Done());
    EXPECT_EQ(saved.buttonFunction[7], 9);
    EXPECT_EQ(saved.systemCommand[7], 6);
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
