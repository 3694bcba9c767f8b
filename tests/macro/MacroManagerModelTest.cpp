#include "macro/MacroManagerModel.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "buttons/ButtonAssignment.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "macro/MacroTestSupport.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/FakeClock.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using test::BufferHex;
using test::HexBytes;
using Shown = test::RecordingMessageSink::Shown;

constexpr Colour kTextColour{200, 210, 220, 255};

// A section as a save writes it.
std::string Section(std::string_view name, int delays, int loop, int loops, std::vector<std::string> items)
{
    std::string text = "[" + std::string(name) + "]\r\nDelayTimeSelStatus=" + std::to_string(delays) +
                       "\r\nLoopTimeSelStatus=" + std::to_string(loop) + "\r\nMacroLoopTimes=" + std::to_string(loops) +
                       "\r\nItemCount=" + std::to_string(items.size()) + "\r\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += "Item" + std::to_string(i) + "=" + items[i] + "\r\n";
    }
    return text;
}

std::string BufferOf(const MacroData& data, std::size_t n)
{
    return HexBytes(std::span(data).subspan(n * kMacroBufferSize, kMacroBufferSize));
}

class MacroManagerModelTest : public testing::Test
{
protected:
    MacroManagerModelTest() { m_canvas.sizes[std::string(kMacroManagerBackground)] = {500, 440}; }

    // Opens a manager as the main window does, on the file as it stands.
    MacroManagerModel& Open(Language language = Language::English)
    {
        m_model = std::make_unique<MacroManagerModel>(
            MacroManagerContext{m_file, m_state, m_messages, language, kTextColour, &m_bindings});
        m_model->Open(m_canvas);
        return *m_model;
    }
    void Write(std::string_view text) { test::WriteFileBytes(m_file.Path(), text); }
    std::string Text() const { return test::ReadFileBytes(m_file.Path()); }

    void Press(std::string_view key, bool alreadyDown = false)
    {
        m_model->KeyPress(key, DialogKey::Other, alreadyDown);
    }
    void Release(std::string_view key) { m_model->KeyRelease(key, true); }

    // Two double-clicks on the same line open its editor.
    std::optional<LineEditRequest> OpenNameEditor(std::size_t line)
    {
        m_model->SelectMacro(line);
        m_model->DoubleClickMacro(line);
        return m_model->DoubleClickMacro(line);
    }
    std::optional<LineEditRequest> OpenDelayEditor(std::size_t line)
    {
        m_model->SelectEvent(line);
        return m_model->DoubleClickEvent(line);
    }
    // What the view does with a name or a delay typed into the editor and committed with Enter.
    void EditName(std::size_t line, std::string_view typed)
    {
        ASSERT_TRUE(OpenNameEditor(line));
        m_model->CommitMacroName(line, typed);
    }
    void EditDelay(std::size_t line, std::string_view typed)
    {
        const auto request = OpenDelayEditor(line);
        ASSERT_TRUE(request);
        ListLineEditorModel editor(request->mode);
        ASSERT_TRUE(editor.BeginEdit(request->line, m_model->EventLines().size()));
        if (const auto outcome = editor.Input(LineEditorInput::Enter, typed); outcome.commit) {
            m_model->CommitDelay(outcome.commit->line, outcome.commit->text);
        }
    }

    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
    test::FakeClock m_clock;
    MacroManagerState m_state{m_clock};
    test::RecordingMessageSink m_messages;
    test::RecordingCanvas m_canvas;
    ProfileRecord m_record{};
    ButtonLabels m_labels;
    ButtonAssignment m_bindings{m_record, m_labels, Language::English};
    std::unique_ptr<MacroManagerModel> m_model;
};

const std::string kAbc = Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"}) +
                         Section("Beta", 0, 0, 1, {"B   Dn", "B   Up"}) + Section("Gamma", 1, 0, 3, {"C   Dn"});

TEST_F(MacroManagerModelTest, TheLoopFieldTakesOnly1To65535)
{
    Write(kAbc);
    auto& model = Open();
    model.LoopFieldChanged("300");
    EXPECT_EQ(BufferOf(model.WorkingBuffers(), 0), BufferHex("01 2C"));
    EXPECT_EQ(m_file.GetString("Alpha", "MacroLoopTimes"), "300");
    for (std::string_view bad : {"0", "65536", "", "99999999999"}) {
        model.LoopFieldChanged(bad);
        EXPECT_EQ(model.LoopFieldText(), "1") << bad;
        EXPECT_EQ(m_file.GetString("Alpha", "MacroLoopTimes"), "1") << bad;
    }
    model.LoopFieldChanged("65535");
    EXPECT_EQ(BufferOf(model.WorkingBuffers(), 0), BufferHex("FF FF"));
}

// A file edited by hand can hold more than twelve macros; the thirteenth has no working buffer,
// and its loop count was written past the end of the twelve.
TEST_F(MacroManagerModelTest, ALoopCountOfAMacroBeyondTheTwelfthStaysInsideTheBuffers)
{
    std::string text;
    for (int i = 0; i < 13; ++i) {
        text += "[M" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
    }
    Write(text);
    auto& model = Open();
    model.SelectMacro(12);
    model.LoopFieldChanged("258");
    EXPECT_EQ(m_file.GetString("M12", "MacroLoopTimes"), "258");
    for (std::size_t n = 1; n < kMacroCount; ++n) {
        EXPECT_EQ(BufferOf(model.WorkingBuffers(), n), BufferHex("")) << n;
    }
}

TEST_F(MacroManagerModelTest, NewNamesCountOnAfterTheLastNameEvenAfterARename)
{
    auto& model = Open();
    model.NewMacro();
    model.NewMacro();
    model.NewMacro();
    EXPECT_EQ(model.MacroNames(), (std::vector<std::string>{"Macro_0", "Macro_1", "Macro_2"}));
    EditName(2, "Last");
    model.NewMacro();
    EXPECT_EQ(model.MacroNames(), (std::vector<std::string>{"Macro_0", "Macro_1", "Last", "Macro_3"}));
}

// The rule takes the number after the last name's "_"; it could name a macro that exists.
TEST_F(MacroManagerModelTest, NewCountsUpUntilTheNameIsFree)
{
    Write("[Macro_3]\r\nMacroLoopTimes=1\r\n[macro_4]\r\nMacroLoopTimes=1\r\n[Macro_2]\r\nMacroLoopTimes=1\r\n");
    auto& model = Open();
    model.NewMacro();
    EXPECT_EQ(model.MacroNames().back(), "Macro_5");
    EXPECT_EQ(m_file.SectionNames(), (std::vector<std::string>{"Macro_3", "macro_4", "Macro_2", "Macro_5"}));
}

TEST_F(MacroManagerModelTest, ThirteenthNewShowsTheLimitInTheLanguage)
{
    auto& model = Open(Language::SimplifiedChinese);
    for (int i = 0; i < 12; ++i) {
        model.NewMacro();
    }
    const std::string before = Text();
    model.NewMacro();
    EXPECT_EQ(model.MacroNames().size(), 12u);
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "最多可以新建12个宏。", "警告"}}));
    EXPECT_EQ(Text(), before);
}

struct RefusedName
{
    std::string typed;
    std::string message;
};

class RenameRefused : public MacroManagerModelTest, public testing::WithParamInterface<RefusedName>
{
};

TEST_P(RenameRefused, KeepsTheOldNameAndTheFile)
{
    Write(kAbc);
    auto& model = Open();
    const std::string before = Text();
    EditName(1, GetParam().typed);
    EXPECT_EQ(model.MacroNames(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, GetParam().message, "Warning"}}));
    model.Accept();
    EXPECT_EQ(Text(), before);
}

INSTANTIATE_TEST_SUITE_P(
    MacroManagerModel, RenameRefused,
    testing::Values(RefusedName{"", "Macro name is blank"}, RefusedName{"   ", "Macro name is blank"},
                    RefusedName{std::string(32, 'x'), "Macro name is blank"},
                    RefusedName{std::string("宏") + std::string(31, 'x'), "Macro name is blank"},
                    RefusedName{"two\nlines", "Macro name is blank"}, RefusedName{"[x", "Macro name is blank"},
                    RefusedName{"x]", "Macro name is blank"}, RefusedName{"Gamma", "Macro name already exists"},
                    RefusedName{"ALPHA", "Macro name already exists"}));

// A rename removed the old section at once; Cancel then lost the macro from the file.
TEST_F(MacroManagerModelTest, RenameThenCancelKeepsTheMacroUnderItsOldName)
{
    Write(kAbc);
    auto& model = Open();
    EditName(0, "Renamed");
    EXPECT_EQ(model.MacroNames()[0], "Renamed");
    model.Cancel();
    EXPECT_EQ(Text(), kAbc);
    EXPECT_FALSE(model.Result());
}

// The renamed macro also used to move to the end of the file, so a button bound to its number
// played another macro.
TEST_F(MacroManagerModelTest, RenameThenOkKeepsTheMacroNumber)
{
    Write(kAbc);
    auto& model = Open();
    EditName(1, "  Renamed ");
    model.SelectMacro(2);
    model.Accept();
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"}) +
                          Section("Renamed", 0, 0, 1, {"B   Dn", "B   Up"}) + Section("Gamma", 1, 0, 3, {"C   Dn"}));
}

TEST_F(MacroManagerModelTest, ASaveRewritesTheMacroWhereItStands)
{
    Write(kAbc);
    auto& model = Open();
    model.ToggleDelayBox();
    model.RunMenuCommand(EventListCommand::InsertDelay);
    model.SelectEvent(0);
    model.RunMenuCommand(EventListCommand::InsertMiddleButton);
    EXPECT_EQ(Text(), Section("Alpha", 0, 1, 5, {"A   Dn", "M-Button   Dn", "M-Button   Up", "120 ms", "A   Up"}) +
                          Section("Beta", 0, 0, 1, {"B   Dn", "B   Up"}) + Section("Gamma", 1, 0, 3, {"C   Dn"}));
}

TEST_F(MacroManagerModelTest, DeleteRenumbersTheMacrosAfterIt)
{
    Write(kAbc);
    auto& model = Open();
    model.DeleteMacro();
    EXPECT_EQ(model.MacroNames(), (std::vector<std::string>{"Beta", "Gamma"}));
    EXPECT_FALSE(model.SelectedMacro());
    EXPECT_TRUE(model.EventLines().empty());
    const MacroData data = model.Accept();
    EXPECT_EQ(BufferOf(data, 0), BufferHex("00 01 05 05 85 05"));
    EXPECT_EQ(BufferOf(data, 1), BufferHex("00 01 00 06"));
    EXPECT_EQ(BufferOf(data, 2), BufferHex(""));
    model.DeleteMacro();
    EXPECT_EQ(model.MacroNames().size(), 2u) << "nothing is selected after a delete";
}

// The macro file's numbers moved down under the buttons: they played the next macro.
TEST_F(MacroManagerModelTest, DeletingAMacroKeepsEveryBindingOnItsMacro)
{
    Write(kAbc);
    m_record.macroData = RebuildMacroData(m_file, 3);
    const MacroData before = m_record.macroData;
    for (std::uint8_t button = 0; button < 3; ++button) {
        m_bindings.StoreMacroBinding(button, button, 1, std::array{"Alpha", "Beta", "Gamma"}[button]);
    }
    m_bindings.StoreSingleKey(3, "F");
    m_record.macroNumber[3] = 2; // left over from an older binding: not a macro binding
    auto& model = Open();
    model.SelectMacro(1);
    model.DeleteMacro();
    EXPECT_EQ(m_record.buttonFunction[0], static_cast<std::uint8_t>(FunctionCode::MacroKey));
    EXPECT_EQ(m_record.macroNumber[0], 0);
    EXPECT_EQ(m_record.buttonFunction[1], static_cast<std::uint8_t>(FunctionCode::ButtonOff));
    EXPECT_EQ(m_record.buttonFunction[2], static_cast<std::uint8_t>(FunctionCode::MacroKey));
    EXPECT_EQ(m_record.macroNumber[2], 1);
    EXPECT_EQ(m_record.macroNumber[3], 2);
    EXPECT_EQ(m_labels[0], "Macro Key-Alpha");
    EXPECT_EQ(m_labels[1], "Button Off");
    EXPECT_EQ(m_labels[2], "Macro Key-Gamma");
    EXPECT_EQ(BufferOf(m_record.macroData, 1), BufferOf(before, 2)) << "kept even if the manager is cancelled";
    EXPECT_EQ(BufferOf(m_record.macroData, 2), BufferHex(""));
    EXPECT_EQ(model.Accept(), m_record.macroData);
}

// The list's highlight can go while the macro's events stay shown: Delete deleted a macro or a
// line that the user did not see selected.
TEST_F(MacroManagerModelTest, DeleteActsOnlyOnWhatIsHighlighted)
{
    Write(kAbc);
    auto& model = Open();
    model.SelectEvent(1);
    model.DeselectEvent();
    model.RunMenuCommand(EventListCommand::DeleteLine);
    model.DeselectMacro();
    EXPECT_FALSE(model.SelectedMacro());
    model.DeleteMacro();
    EXPECT_EQ(model.MacroNames().size(), 3u);
    EXPECT_EQ(model.EventLines().size(), 3u);
    EXPECT_EQ(Text(), kAbc);
}

// OK rebuilt the buffers from the file, which still held the old lines.
TEST_F(MacroManagerModelTest, AnEmptiedMacroStaysEmptyInTheFileAndTheMouse)
{
    for (const bool byRecording : {true, false}) {
        Write(kAbc);
        auto& model = Open();
        model.SelectMacro(2);
        if (byRecording) {
            model.ToggleRecording();
            model.ToggleRecording();
        } else {
            model.SelectEvent(0);
            model.RunMenuCommand(EventListCommand::DeleteLine);
        }
        EXPECT_EQ(m_file.GetString("Gamma", "ItemCount"), "0");
        EXPECT_EQ(BufferOf(model.Accept(), 2), BufferHex(""));
        EXPECT_EQ(BufferOf(model.Accept(), 1), BufferHex("00 01 05 05 85 05"));
        Open().SelectMacro(2);
        EXPECT_TRUE(m_model->EventLines().empty());
    }
}

TEST_F(MacroManagerModelTest, RecordingWithoutASelectionGoesIntoANewMacroAndEndsWhereItBegan)
{
    Write(kAbc);
    auto& model = Open();
    model.DeleteMacro();
    model.ToggleRecording();
    EXPECT_TRUE(model.IsRecording());
    EXPECT_EQ(model.MacroNames(), (std::vector<std::string>{"Beta", "Gamma", "Macro_2"}));
    Press("Q");
    Release("Q");
    model.SelectMacro(0);
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(model.EventLines(), (std::vector<std::string>{"B   Dn", "B   Up"}));
    EXPECT_EQ(LoadMacro(m_file, "Macro_2").items,
              (std::vector<MacroItem>{MacroItem("Q   Dn"), MacroItem("0 ms"), MacroItem("Q   Up")}));
    EXPECT_EQ(LoadMacro(m_file, "Beta").items, (std::vector<MacroItem>{MacroItem("B   Dn"), MacroItem("B   Up")}));
}

TEST_F(MacroManagerModelTest, InsertingAButtonNeedsASelectionUnlessTheListIsEmpty)
{
    auto& model = Open();
    model.NewMacro();
    model.RunMenuCommand(EventListCommand::InsertLeftButton);
    EXPECT_EQ(model.EventLines(), (std::vector<std::string>{"L-Button   Dn", "L-Button   Up"}));
    EXPECT_EQ(m_file.GetString("Macro_0", "ItemCount"), "2");
    model.RunMenuCommand(EventListCommand::InsertRightButton);
    EXPECT_EQ(model.EventLines().size(), 2u);
    model.SelectEvent(0);
    model.RunMenuCommand(EventListCommand::InsertRightButton);
    EXPECT_EQ(model.EventLines(),
              (std::vector<std::string>{"L-Button   Dn", "R-Button   Dn", "R-Button   Up", "L-Button   Up"}));
    EXPECT_EQ(model.SelectedEvent(), 1u);
}

struct DelayEdit
{
    std::string typed;
    std::string line;
};

class DelayEdited : public MacroManagerModelTest, public testing::WithParamInterface<DelayEdit>
{
};

TEST_P(DelayEdited, ReplacesTheLineAndSavesIt)
{
    Write(Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"}));
    auto& model = Open();
    EditDelay(1, GetParam().typed);
    EXPECT_EQ(model.EventLines()[1], GetParam().line);
    EXPECT_EQ(model.SelectedEvent(), 1u);
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", GetParam().line, "A   Up"}));
}

INSTANTIATE_TEST_SUITE_P(MacroManagerModel, DelayEdited,
                         testing::Values(DelayEdit{"7000000 ms", "6553500 ms"}, DelayEdit{"12a ms", "120 ms"},
                                         DelayEdit{"0 120 ms", "0120 ms"}, DelayEdit{" ms", " ms"},
                                         DelayEdit{"400", "120 ms"}));

TEST_F(MacroManagerModelTest, ARecordingReplacesTheEventsAndIsSavedWhenItStops)
{
    Write(kAbc);
    auto& model = Open();
    model.ToggleRecording();
    EXPECT_TRUE(model.IsRecording());
    EXPECT_TRUE(model.EventLines().empty());
    EXPECT_FALSE(model.LoopFieldEnabled());
    EXPECT_EQ(model.WindowText(), "Press Ctrl+Break key to stop recording");
    Press("Q");
    m_clock.Advance(80ms);
    Release("Q");
    EXPECT_EQ(model.SelectedEvent(), 2u);
    model.ToggleRecording();
    EXPECT_FALSE(model.IsRecording());
    EXPECT_TRUE(model.LoopFieldEnabled());
    EXPECT_EQ(model.WindowText(), "Macro Manager");
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"Q   Dn", "80 ms", "Q   Up"}) +
                          Section("Beta", 0, 0, 1, {"B   Dn", "B   Up"}) + Section("Gamma", 1, 0, 3, {"C   Dn"}));
}

TEST_F(MacroManagerModelTest, TheSixtyFifthKeystrokeStopsAndSavesTheRecording)
{
    auto& model = Open();
    model.NewMacro();
    model.ToggleDelayBox();
    model.ToggleRecording();
    for (int i = 0; i < 32; ++i) {
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
        m_clock.Advance(10ms);
    }
    Press("Z");
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(m_state.recorder.Phase(), RecordPhase::Stopped);
    EXPECT_EQ(m_file.GetString("Macro_0", "ItemCount"), "127");
    EXPECT_EQ(m_file.GetString("Macro_0", "Item126"), "A   Up");
    Press("Y");
    EXPECT_EQ(model.EventLines().size(), 127u);
    // 64 events are one more than the mouse holds; the last press that fits has no release.
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The macro is too long for the mouse; its last events were left out.", "Warning"}}));
    std::string pairs = "00 01";
    for (int i = 0; i < 31; ++i) {
        pairs += " 01 04 81 04";
    }
    EXPECT_EQ(BufferOf(model.Accept(), 0), BufferHex(pairs));
}

// Enter after a stopped recording reached the dialog's default action, which closed it with OK
// but without the save and the rebuild: the caller got the unbuilt working buffers.
TEST_F(MacroManagerModelTest, EnterAfterAStoppedRecordingClosesAsOkDoes)
{
    Write(kAbc);
    auto& model = Open();
    model.SelectMacro(1);
    model.ToggleRecording();
    Press("W");
    Release("W");
    model.ToggleRecording();
    model.ToggleLoopBox();
    model.LoopFieldChanged("2");
    const KeyOutcome enter = model.KeyPress("Enter", DialogKey::Enter, false);
    EXPECT_EQ(enter.close, MacroManagerClose::Ok);
    ASSERT_TRUE(model.Result());
    EXPECT_EQ(*model.Result(), RebuildMacroData(m_file, 3));
    EXPECT_EQ(BufferOf(*model.Result(), 1), BufferHex("00 02 05 1A 85 1A"));
    EXPECT_EQ(m_file.GetString("Beta", "LoopTimeSelStatus"), "1");
}

TEST_F(MacroManagerModelTest, OkGivesTheEncodingOfTheFileAfterTheSave)
{
    Write(kAbc);
    auto& model = Open();
    model.SelectMacro(1);
    model.ToggleDelayBox();
    model.ToggleLoopBox();
    model.LoopFieldChanged("3");
    const PressOutcome ok = model.Press({300, 400});
    EXPECT_EQ(ok.close, MacroManagerClose::Ok);
    EXPECT_FALSE(ok.startMove);
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"}) +
                          Section("Beta", 1, 1, 3, {"B   Dn", "B   Up"}) + Section("Gamma", 1, 0, 3, {"C   Dn"}));
    ASSERT_TRUE(model.Result());
    EXPECT_EQ(*model.Result(), RebuildMacroData(m_file, 3));
    EXPECT_EQ(BufferOf(*model.Result(), 0), BufferHex("00 05 0C 04 80 04"));
    EXPECT_EQ(BufferOf(*model.Result(), 1), BufferHex("00 03 00 05 80 05"));
}

} // namespace
} // namespace veldrane
