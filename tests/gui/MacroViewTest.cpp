#include "gui/macro/CMacroProgramDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <memory>

#include "adapters/qt/QtKeyNameSource.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ScriptedFileDialog.h"
#include "gui/CConfigDialog.h"
#include "gui/CLBEditorWnd.h"
#include "gui/GuiFixture.h"
#include "screens/macro/MacroManagerLayout.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;

// The macro manager over a file of two macros, pressed and typed into as the toolkit delivers it.
class MacroViewTest : public test::GuiFixture
{
protected:
    MacroViewTest()
    {
        test::WritePicture(dir / "Skin/MacroManagement/MacroManagement.png", {500, 440}, Qt::darkGray);
        test::WriteFileBytes(m_file.Path(), "[Alpha]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=1\r\n"
                                            "MacroLoopTimes=5\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=120 ms\r\n"
                                            "Item2=A   Up\r\n[Beta]\r\nDelayTimeSelStatus=0\r\nLoopTimeSelStatus=0\r\n"
                                            "MacroLoopTimes=1\r\nItemCount=2\r\nItem0=B   Dn\r\nItem1=B   Up\r\n");
        m_dialog = std::make_unique<CMacroProgramDialog>(
            MacroManagerContext{m_file, m_state, messages, Language::English, Colour{230, 230, 230, 255}}, m_images,
            m_keyNames);
        m_dialog->show();
    }

    static QStringList Lines(const QListWidget& list)
    {
        QStringList lines;
        for (int i = 0; i < list.count(); ++i) {
            lines << list.item(i)->text();
        }
        return lines;
    }
    static void Key(QWidget& widget, QEvent::Type type, int key, const QString& text = {}, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
        QCoreApplication::sendEvent(&widget, &event);
    }
    // Keys typed into `window` where its keyboard focus is, each pressed and released.
    static void Type(QWidget& window, std::initializer_list<int> keys)
    {
        for (const int key : keys) {
            const Qt::KeyboardModifiers modifiers = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
            const QString text = key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)) : QString();
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
                QKeyEvent event(type, key, modifiers, text);
                QCoreApplication::sendEvent(target, &event);
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // an ended editor goes
        }
    }
    // Whether the recording hint shows in the skin's red in the band where a title bar would be.
    bool HintShown() const
    {
        const Rect& area = kRecordingHintRect;
        const QImage band = m_dialog->grab(QRect(area.left, area.top, area.Width(), area.Height())).toImage();
        for (int i = 0; i < band.width() * band.height(); ++i) {
            if (const QColor pixel = band.pixelColor(i % band.width(), i / band.width());
                pixel.red() > 150 && pixel.green() < 90) {
                return true;
            }
        }
        return false;
    }

    IniFile m_file{dir / kMacroFileName, codec};
    MacroManagerState m_state{clock};
    SkinImageCache m_images{dir / "Skin"};
    QtKeyNameSource m_keyNames;
    std::unique_ptr<CMacroProgramDialog> m_dialog;
};

// Enter closes the manager as OK does only after a stopped recording.
TEST_F(MacroViewTest, RecordsTheKeysTypedIntoTheDialogAndEnterThenClosesIt)
{
    CMacroProgramDialog& dialog = *m_dialog;
    // A screen reader names the lists by the captions above them.
    EXPECT_EQ(dialog.MacroList()->accessibleName(), "Select Macro");
    EXPECT_EQ(dialog.EventList()->accessibleName(), "Key Press Sequence");
    Key(dialog, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    test::Click(dialog, {300, 95});
    EXPECT_TRUE(dialog.Model().IsRecording());
    EXPECT_EQ(dialog.windowTitle(), "Press Ctrl+Break key to stop recording");
    EXPECT_TRUE(HintShown());
    EXPECT_FALSE(dialog.LoopField()->isEnabled());
    QListWidget& events = *dialog.EventList();
    Key(events, QEvent::KeyPress, Qt::Key_K);
    clock.Advance(250ms);
    Key(events, QEvent::KeyRelease, Qt::Key_K, {}, true); // X11 sends these between repeats
    Key(events, QEvent::KeyPress, Qt::Key_K, {}, true);
    clock.Advance(250ms);
    Key(events, QEvent::KeyRelease, Qt::Key_K);
    Key(events, QEvent::KeyPress, Qt::Key_Escape);
    Key(events, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Escape and Enter are recorded and do not close the manager";
    test::Click(dialog, {380, 100});
    EXPECT_FALSE(dialog.Model().IsRecording());
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(Lines(events), QStringList({"K   Dn", "500 ms", "K   Up", "0 ms", "Esc   Dn", "0 ms", "Enter   Dn"}));
    Key(events, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Everything by keys: a macro picked, a delay inserted, the macro renamed (after an edit left with
// Escape, which closes only the editor), another deleted, and OK.
TEST_F(MacroViewTest, AMacroIsEditedRenamedDeletedAndSavedByKeysAlone)
{
    CMacroProgramDialog& dialog = *m_dialog;
    EXPECT_EQ(dialog.focusWidget(), dialog.MacroList());
    Type(dialog, {Qt::Key_Down, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down, Qt::Key_Insert});
    EXPECT_EQ(Lines(*dialog.EventList()), QStringList({"B   Dn", "50 ms", "B   Up"}));
    EXPECT_EQ(dialog.EventList()->currentRow(), 1);
    Type(dialog, {Qt::Key_Backtab, Qt::Key_F2});
    ASSERT_NE(dialog.Editor(), nullptr);
    Type(dialog, {Qt::Key_Escape});
    EXPECT_EQ(dialog.Editor(), nullptr);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.MacroList());
    Type(dialog, {Qt::Key_F2});
    ASSERT_NE(dialog.Editor(), nullptr);
    dialog.Editor()->selectAll();
    Type(dialog, {Qt::Key_B, Qt::Key_R, Qt::Key_A, Qt::Key_V, Qt::Key_O, Qt::Key_Return});
    Type(dialog, {Qt::Key_Up, Qt::Key_Delete});
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"BRAVO"}));
    for (int tabs = 0; tabs < 12 && dialog.Model().Controls()[*dialog.Model().FocusIndex()].name != "OK"; ++tabs) {
        Type(dialog, {Qt::Key_Tab});
    }
    EXPECT_EQ(dialog.focusWidget(), &dialog) << "a painted button has the focus";
    Type(dialog, {Qt::Key_Return});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_file.SectionNames(), std::vector<std::string>{"BRAVO"}); // what OK writes is the model's test
}

// The profile manager by keys: names added by Insert and by the "New" row reached with Tab, one
// renamed with F2, one deleted, and Escape closes it as its close button does, storing the list.
TEST_F(MacroViewTest, TheProfileManagerWorksByKeysAlone)
{
    test::WritePicture(dir / "Skin/Config/Config.png", {263, 598}, Qt::darkGray);
    test::ScriptedFileDialog fileDialog;
    auto* manager = new CConfigDialog(
        {files, records, codec, messages, fileDialog, Language::English, Colour{230, 230, 230, 255}, {}}, m_images);
    manager->show();
    QApplication::setActiveWindow(manager); // focus changes reach the dialog's filter, as on a desktop
    QPointer<CConfigDialog> alive(manager);
    EXPECT_EQ(manager->focusWidget(), manager->List());
    Type(*manager, {Qt::Key_Insert, Qt::Key_Tab, Qt::Key_Space});
    EXPECT_EQ(manager->focusWidget(), manager);
    Type(*manager, {Qt::Key_Backtab, Qt::Key_Up, Qt::Key_F2});
    ASSERT_NE(manager->Editor(), nullptr);
    manager->Editor()->selectAll();
    Type(*manager, {Qt::Key_Insert, Qt::Key_Down}); // the editor's, not the list's
    Type(*manager, {Qt::Key_G, Qt::Key_A, Qt::Key_M, Qt::Key_E, Qt::Key_Return, Qt::Key_Home, Qt::Key_Delete});
    EXPECT_EQ(Lines(*manager->List()), QStringList({"GAME", "PROFILE_2"}));
    EXPECT_TRUE(messages.shown.empty());
    Type(*manager, {Qt::Key_Down, Qt::Key_Escape});
    EXPECT_TRUE(alive.isNull() || !manager->isVisible());
    // Stored as the close button stores it (what that writes is the manager model's test).
    EXPECT_EQ(IniFile(dir.Path() / "str.ini", codec).GetString("Profile", "CurProfileName"), "GAME");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The first double click only selects the line; the second opens the editor over it.
TEST_F(MacroViewTest, ARenameInTheInPlaceEditorReplacesTheName)
{
    QListWidget& macros = *m_dialog->MacroList();
    const QPoint beta = macros.visualItemRect(macros.item(1)).center();
    for (int time = 0; time < 2; ++time) {
        EXPECT_EQ(m_dialog->Editor(), nullptr);
        test::Click(*macros.viewport(), beta);
        test::SendMouse(*macros.viewport(), QEvent::MouseButtonDblClick, beta, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(*macros.viewport(), QEvent::MouseButtonRelease, beta, Qt::LeftButton, Qt::NoButton);
    }
    CLBEditorWnd* editor = m_dialog->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Beta");
    EXPECT_EQ(editor->geometry(), macros.visualItemRect(macros.item(1)).adjusted(-1, -1, 1, 1));
    editor->selectAll();
    for (const QChar c : QStringLiteral("Bravo")) {
        Key(*editor, QEvent::KeyPress, 0, QString(c));
    }
    Key(*editor, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(Lines(macros), QStringList({"Alpha", "Bravo"})); // OK stores it as the keys test shows
}

// The menu acts on the line the right click was on, not on the one highlighted before; a delay
// typed as a bare number is milliseconds, and a text that is no delay is refused aloud.
TEST_F(MacroViewTest, ARightClickPointsTheMenuAtItsLineAndADelayIsTypedAsANumber)
{
    m_dialog->MacroList()->setCurrentRow(1);
    QListWidget& events = *m_dialog->EventList();
    ASSERT_EQ(Lines(events), QStringList({"B   Dn", "B   Up"}));
    test::Click(*events.viewport(), events.visualItemRect(events.item(0)).center());
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().at(4)->trigger(); // "Insert Delay"
        menu->close();
    });
    test::SendMouse(*events.viewport(), QEvent::MouseButtonPress, events.visualItemRect(events.item(1)).center(),
                    Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(Lines(events), QStringList({"B   Dn", "50 ms", "B   Up"}));

    const auto edit = [&](const QString& typed) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last editor goes
        const QPoint delay = events.visualItemRect(events.item(1)).center();
        for (int time = 0; time < 2 && !m_dialog->Editor(); ++time) {
            test::Click(*events.viewport(), delay);
            test::SendMouse(*events.viewport(), QEvent::MouseButtonDblClick, delay, Qt::LeftButton, Qt::LeftButton);
        }
        ASSERT_NE(m_dialog->Editor(), nullptr);
        m_dialog->Editor()->setText(typed);
        Key(*m_dialog->Editor(), QEvent::KeyPress, Qt::Key_Return);
    };
    edit("250");
    EXPECT_EQ(Lines(events), QStringList({"B   Dn", "250 ms", "B   Up"}));
    EXPECT_EQ(m_file.GetString("Beta", "Item1"), "250 ms");
    edit("soon");
    EXPECT_EQ(messages.shown.size(), 1u) << "the editor's refusal reaches the manager";
}

} // namespace
} // namespace veldrane
