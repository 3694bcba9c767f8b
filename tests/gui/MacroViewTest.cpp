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
#include "macro/MacroManagerLayout.h"
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

TEST_F(MacroViewTest, RecordsTheKeysTypedIntoTheDialog)
{
    auto& dialog = Open();
    ClickSurface({300, 95});
    EXPECT_TRUE(dialog.Model().IsRecording());
    EXPECT_EQ(dialog.windowTitle(), "Press Ctrl+Break key to stop recording");
    // The dialog has no title bar: the hint is drawn in it, in the skin's red.
    const auto hintShown = [&] {
        const QImage shown = dialog
                                 .grab(QRect(kRecordingHintRect.left, kRecordingHintRect.top,
                                             kRecordingHintRect.Width(), kRecordingHintRect.Height()))
                                 .toImage();
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                if (pixel.red() > 150 && pixel.green() < 90) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(hintShown());
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
    EXPECT_FALSE(hintShown());
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

} // namespace
} // namespace veldrane
