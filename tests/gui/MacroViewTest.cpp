#include "gui/macro/CMacroProgramDialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <memory>

#include "gui/CLBEditorWnd.h"
#include "gui/GuiFixture.h"
#include "gui/skin/SkinImageCache.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "platform/KeyNameSource.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/FakeClock.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;

// Names letters, Enter and Escape from the toolkit's key code, as the key tables spell them.
class LetterKeyNames : public KeyNameSource
{
public:
    std::string KeyName(const KeyStroke& stroke) const override
    {
        if (stroke.toolkitKey >= Qt::Key_A && stroke.toolkitKey <= Qt::Key_Z) {
            return std::string(1, static_cast<char>('A' + (stroke.toolkitKey - Qt::Key_A)));
        }
        switch (stroke.toolkitKey) {
        case Qt::Key_Return:
            return "Enter";
        case Qt::Key_Escape:
            return "Esc";
        default:
            return "Unknown key";
        }
    }
};

constexpr std::string_view kTwoMacros = "[Alpha]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=5\r\n"
                                        "ItemCount=3\r\nItem0=A   Dn\r\nItem1=120 ms\r\nItem2=A   Up\r\n"
                                        "[Beta]\r\nDelayTimeSelStatus=0\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=1\r\n"
                                        "ItemCount=2\r\nItem0=B   Dn\r\nItem1=B   Up\r\n";

class MacroViewTest : public testing::Test
{
protected:
    MacroViewTest()
    {
        // Qt's list of input devices must outlive the test process's QApplication, whose children
        // include the pointer device of synthetic mouse events: taken first, it is destroyed last.
        QInputDevice::devices();
        test::TestApplication();
        test::WritePicture(m_dir / "Skin/MacroManagement/MacroManagement.png", {500, 440}, Qt::darkGray);
        test::WriteFileBytes(m_file.Path(), kTwoMacros);
    }

    CMacroProgramDialog& Open(Language language = Language::English)
    {
        m_dialog = std::make_unique<CMacroProgramDialog>(
            MacroManagerContext{m_file, m_state, m_messages, language, Colour{230, 230, 230, 255}}, m_images,
            m_keyNames);
        m_dialog->show();
        return *m_dialog;
    }
    std::string Text() const { return test::ReadFileBytes(m_file.Path()); }

    static QStringList Lines(const QListWidget& list)
    {
        QStringList lines;
        for (int i = 0; i < list.count(); ++i) {
            lines << list.item(i)->text();
        }
        return lines;
    }
    static QPoint LineCentre(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }
    static void Click(QListWidget& list, int row)
    {
        const QPoint at = LineCentre(list, row);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    static void DoubleClick(QListWidget& list, int row)
    {
        Click(list, row);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonDblClick, LineCentre(list, row), Qt::LeftButton,
                        Qt::LeftButton);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonRelease, LineCentre(list, row), Qt::LeftButton,
                        Qt::NoButton);
    }
    void ClickSurface(QPoint at)
    {
        test::SendMouse(*m_dialog, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(*m_dialog, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    static void Key(QWidget& widget, QEvent::Type type, int key, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&widget, &event);
    }
    static void TypeInto(QWidget& widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&widget, &press);
        }
    }
    // Types a replacement into the open editor and ends the edit with `end`.
    void Edit(const QString& text, int end = Qt::Key_Return)
    {
        CLBEditorWnd* editor = m_dialog->Editor();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        TypeInto(*editor, text);
        Key(*editor, QEvent::KeyPress, end);
    }

    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
    test::FakeClock m_clock;
    MacroManagerState m_state{m_clock};
    test::RecordingMessageSink m_messages;
    SkinImageCache m_images{m_dir / "Skin"};
    LetterKeyNames m_keyNames;
    std::unique_ptr<CMacroProgramDialog> m_dialog;
};

TEST_F(MacroViewTest, ShowsTheListsAndTheFieldWhereTheyBelong)
{
    auto& dialog = Open();
    EXPECT_EQ(dialog.size(), QSize(500, 440));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog.windowTitle(), "Macro Manager");
    EXPECT_EQ(dialog.MacroList()->geometry(), QRect(21, 82, 109, 271));
    EXPECT_EQ(dialog.EventList()->geometry(), QRect(153, 82, 109, 271));
    EXPECT_EQ(dialog.LoopField()->geometry(), QRect(298, 333, 81, 12));
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(dialog.MacroList()->currentRow(), 0);
    EXPECT_EQ(Lines(*dialog.EventList()), QStringList({"A   Dn", "120 ms", "A   Up"}));
    EXPECT_EQ(dialog.LoopField()->text(), "5");
    EXPECT_TRUE(dialog.LoopField()->isEnabled());
}

TEST_F(MacroViewTest, ClickingAMacroShowsItsEvents)
{
    auto& dialog = Open();
    Click(*dialog.MacroList(), 1);
    EXPECT_EQ(Lines(*dialog.EventList()), QStringList({"B   Dn", "B   Up"}));
    EXPECT_FALSE(dialog.LoopField()->isEnabled());
    EXPECT_EQ(dialog.Model().SelectedMacro(), 1u);
}

TEST_F(MacroViewTest, RecordsTheKeysTypedIntoTheDialog)
{
    auto& dialog = Open();
    ClickSurface({300, 95});
    EXPECT_TRUE(dialog.Model().IsRecording());
    EXPECT_EQ(dialog.windowTitle(), "Press Ctrl+Break key to stop recording");
    EXPECT_FALSE(dialog.LoopField()->isEnabled());
    QListWidget& events = *dialog.EventList();
    Key(events, QEvent::KeyPress, Qt::Key_K);
    m_clock.Advance(250ms);
    Key(events, QEvent::KeyRelease, Qt::Key_K, true); // X11 sends these between repeats
    Key(events, QEvent::KeyPress, Qt::Key_K, true);
    m_clock.Advance(250ms);
    Key(events, QEvent::KeyRelease, Qt::Key_K);
    Key(events, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible()) << "Escape is recorded and does not close the manager";
    ClickSurface({380, 100});
    EXPECT_FALSE(dialog.Model().IsRecording());
    EXPECT_EQ(Lines(events), QStringList({"K   Dn", "500 ms", "K   Up", "0 ms", "Esc   Dn"}));
    EXPECT_EQ(m_file.GetString("Alpha", "ItemCount"), "5");
    EXPECT_EQ(m_file.GetString("Alpha", "Item1"), "500 ms");
}

TEST_F(MacroViewTest, EscapeNeverClosesAndEnterClosesAsOkOnlyAfterAStoppedRecording)
{
    auto& dialog = Open();
    Key(*dialog.MacroList(), QEvent::KeyPress, Qt::Key_Escape);
    Key(dialog, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    ClickSurface({300, 95});
    Key(*dialog.EventList(), QEvent::KeyPress, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    ClickSurface({300, 95});
    Key(*dialog.EventList(), QEvent::KeyPress, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Model().Result());
    EXPECT_EQ(*dialog.Model().Result(), RebuildMacroData(m_file, 2));
    EXPECT_EQ(m_file.GetString("Alpha", "Item0"), "Enter   Dn");
}

TEST_F(MacroViewTest, OkAndCancelAreasCloseTheDialog)
{
    Open();
    ClickSurface({360, 400});
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog->Model().Result());
    Open();
    ClickSurface({300, 400});
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_dialog->Model().Result());
}

TEST_F(MacroViewTest, ARenameInTheInPlaceEditorReplacesTheName)
{
    auto& dialog = Open();
    DoubleClick(*dialog.MacroList(), 1);
    EXPECT_EQ(dialog.Editor(), nullptr);
    DoubleClick(*dialog.MacroList(), 1);
    CLBEditorWnd* editor = dialog.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Beta");
    EXPECT_EQ(editor->geometry(),
              dialog.MacroList()->visualItemRect(dialog.MacroList()->item(1)).adjusted(-1, -1, 1, 1));
    Edit("Bravo");
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Alpha", "Bravo"}));
    ClickSurface({300, 400});
    EXPECT_EQ(m_file.SectionNames(), (std::vector<std::string>{"Alpha", "Bravo"}));
}

TEST_F(MacroViewTest, ARefusedNameIsReportedAndEscapeKeepsTheOldOne)
{
    auto& dialog = Open();
    DoubleClick(*dialog.MacroList(), 1);
    DoubleClick(*dialog.MacroList(), 1);
    Edit("alpha");
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Alpha", "Beta"}));
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "Macro name already exists");

    DoubleClick(*dialog.MacroList(), 1);
    Edit("Other", Qt::Key_Escape);
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Alpha", "Beta"}));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MacroViewTest, ADoubleClickedDelayIsEditedAndSaved)
{
    auto& dialog = Open();
    DoubleClick(*dialog.EventList(), 1);
    Edit("7000000 ms");
    EXPECT_EQ(Lines(*dialog.EventList()), QStringList({"A   Dn", "6553500 ms", "A   Up"}));
    EXPECT_EQ(m_file.GetString("Alpha", "Item1"), "6553500 ms");

    DoubleClick(*dialog.EventList(), 1);
    Edit("12a ms");
    EXPECT_EQ(m_file.GetString("Alpha", "Item1"), "6553500 ms");
}

TEST_F(MacroViewTest, APressOutsideTheEditorCommitsIt)
{
    auto& dialog = Open();
    DoubleClick(*dialog.EventList(), 1);
    CLBEditorWnd* editor = dialog.Editor();
    ASSERT_NE(editor, nullptr);
    editor->setText("90 ms");
    test::SendMouse(*editor, QEvent::MouseButtonPress, {-40, -40}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Lines(*dialog.EventList())[1], "90 ms");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MacroViewTest, TheEventMenuInsertsTheLeftButtonAfterTheSelectedLine)
{
    auto& dialog = Open();
    Click(*dialog.EventList(), 0);
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            entries << action->text();
        }
        menu->actions().at(1)->trigger();
        menu->close();
    });
    // A right press on another line opens the menu without selecting that line.
    test::SendMouse(*dialog.EventList()->viewport(), QEvent::MouseButtonPress, LineCentre(*dialog.EventList(), 2),
                    Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(entries, QStringList({"Delete", "Insert the left Button", "Insert the middle Button",
                                    "Insert the right button", "Insert Delay"}));
    EXPECT_EQ(Lines(*dialog.EventList()),
              QStringList({"A   Dn", "L-Button   Dn", "L-Button   Up", "120 ms", "A   Up"}));
    EXPECT_EQ(dialog.EventList()->currentRow(), 1);
    EXPECT_EQ(m_file.GetString("Alpha", "ItemCount"), "5");
}

TEST_F(MacroViewTest, TheWheelScrollsTheEventListThreeLinesPerNotch)
{
    std::string text = "[Long]\r\nItemCount=40\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "Item" + std::to_string(i) + "=A   Dn\r\n";
    }
    test::WriteFileBytes(m_file.Path(), text);
    auto& dialog = Open();
    QScrollBar* bar = dialog.EventList()->verticalScrollBar();
    bar->setValue(10);
    QWheelEvent down(QPointF(200, 200), dialog.mapToGlobal(QPointF(200, 200)), {}, QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&dialog, &down);
    EXPECT_EQ(bar->value(), 13);
    QWheelEvent up(QPointF(50, 50), dialog.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 240), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(dialog.MacroList()->viewport(), &up);
    EXPECT_EQ(bar->value(), 7);
}

TEST_F(MacroViewTest, TheLoopFieldFallsBackTo1)
{
    auto& dialog = Open();
    QLineEdit& field = *dialog.LoopField();
    field.selectAll();
    TypeInto(field, "0");
    EXPECT_EQ(field.text(), "1");
    TypeInto(field, "2");
    EXPECT_EQ(field.text(), "12");
    EXPECT_EQ(m_file.GetString("Alpha", "MacroLoopTimes"), "12");
}

TEST_F(MacroViewTest, NewAndDeleteAreas)
{
    auto& dialog = Open(Language::SimplifiedChinese);
    ClickSurface({20, 370});
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Alpha", "Beta", "宏_2"}));
    EXPECT_EQ(dialog.MacroList()->currentRow(), 2);
    Click(*dialog.MacroList(), 0);
    ClickSurface({80, 370});
    EXPECT_EQ(Lines(*dialog.MacroList()), QStringList({"Beta", "宏_2"}));
    EXPECT_EQ(dialog.MacroList()->currentRow(), -1);
    EXPECT_EQ(m_file.SectionNames(), (std::vector<std::string>{"Beta", "宏_2"}));
}

TEST_F(MacroViewTest, HoverShowsTheOverPicture)
{
    test::WritePicture(m_dir / "Skin/MacroManagement/button-new-normal.png", {58, 25}, Qt::blue);
    test::WritePicture(m_dir / "Skin/MacroManagement/button-new-over.png", {58, 25}, Qt::red);
    auto& dialog = Open();
    EXPECT_EQ(dialog.grab().toImage().pixel(20, 388), QColor(Qt::blue).rgb());
    test::SendMouse(dialog, QEvent::MouseMove, {20, 388}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(dialog.grab().toImage().pixel(20, 388), QColor(Qt::red).rgb());
    EXPECT_EQ(dialog.grab().toImage().pixel(80, 388), QColor(Qt::blue).rgb());
}

TEST_F(MacroViewTest, AMissingBackgroundIsReportedAndTheListsStayAway)
{
    std::filesystem::remove(m_dir / "Skin/MacroManagement/MacroManagement.png");
    auto& dialog = Open();
    EXPECT_EQ(dialog.MacroList(), nullptr);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].title, "Macro Manager Dialog Load background image failed!!!");
    ClickSurface({300, 400});
    ASSERT_TRUE(dialog.Model().Result());
    EXPECT_EQ(*dialog.Model().Result(), RebuildMacroData(m_file, 2));
}

} // namespace
} // namespace veldrane
