// The models of the macro manager, of the in-place editor of its lists and of the macro key dialog,
// which binds a button to a macro.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "core/buttons/ButtonAssignment.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroFileFixture.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "screens/common/DialogButtons.h"
#include "screens/macro/ListLineEditorModel.h"
#include "screens/macro/MacroKeyBindingModel.h"
#include "screens/macro/MacroManagerModel.h"
#include "support/FakeClock.h"
#include "support/FileAccessCounter.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using namespace test;
using Names = std::vector<std::string>;
using Shown = RecordingMessageSink::Shown;

const std::string kAlpha = Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"});
const std::string kBeta = Section("Beta", 0, 0, 1, {"B   Dn", "B   Up"});
const std::string kGamma = Section("Gamma", 1, 0, 3, {"C   Dn"});
const std::string kAbc = kAlpha + kBeta + kGamma;

class MacroManagerModelTest : public MacroFileTest
{
protected:
    // The manager opens on Alpha, Beta and Gamma unless a test writes another file.
    MacroManagerModelTest()
    {
        m_canvas.sizes[std::string(kMacroManagerBackground)] = {500, 440};
        Write(kAbc);
    }

    // Opens a manager as the main window does, on the file as it stands.
    MacroManagerModel& Open(Language language = Language::English)
    {
        m_model = std::make_unique<MacroManagerModel>(
            MacroManagerContext{m_file, m_state, m_messages, language, Colour{200, 210, 220, 255}, &m_profiles});
        m_model->Open(m_canvas);
        return *m_model;
    }
    void Press(std::string_view key) { m_model->KeyPress(key, DialogKey::Other, false); }
    // A key as the view hands it over: its name, and what it means to the window.
    KeyOutcome Key(WindowKey key) { return m_model->KeyPress("", DialogKey::Other, false, key); }
    std::string FocusName() const
    {
        const auto at = m_model->FocusIndex();
        return at ? m_model->Controls()[*at].name : "<none>";
    }
    void Release(std::string_view key) { m_model->KeyRelease(key, true); }
    // What the view does with a name typed into the editor that two double-clicks open.
    void EditName(std::size_t line, std::string_view typed)
    {
        m_model->SelectMacro(line);
        m_model->DoubleClickMacro(line);
        ASSERT_TRUE(m_model->DoubleClickMacro(line));
        m_model->CommitMacroName(line, typed);
    }

    test::FakeClock m_clock;
    MacroManagerState m_state{m_clock};
    test::RecordingMessageSink m_messages;
    test::RecordingCanvas m_canvas;
    ProfileRecords m_records;
    ProfileRecord& m_record = m_records.Current;
    ButtonLabels m_labels;
    ButtonAssignment m_bindings{m_record, m_labels, Language::English};
    MacroProfiles m_profiles{m_records, m_labels, m_codec};
    std::unique_ptr<MacroManagerModel> m_model;
};

// A file edited by hand can hold more than twelve macros; the thirteenth has no working buffer,
// and its loop count was written past the end of the twelve.
TEST_F(MacroManagerModelTest, TheLoopFieldTakesOnly1To65535AndWritesTheBufferOfATwelfthAtMost)
{
    std::string text;
    for (int i = 0; i < 13; ++i) {
        text += "[M" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
    }
    Write(text);
    auto& model = Open();
    model.LoopFieldChanged("300");
    EXPECT_EQ(BufferOf(model.WorkingBuffers(), 0), BufferHex("01 2C"));
    for (std::string_view bad : {"0", "65536", "", "99999999999"}) {
        model.LoopFieldChanged(bad);
        EXPECT_EQ(model.LoopFieldText(), "1") << bad;
        EXPECT_EQ(m_file.GetString("M0", "MacroLoopTimes"), "1") << bad;
    }
    model.SelectMacro(12);
    model.LoopFieldChanged("258");
    EXPECT_EQ(m_file.GetString("M12", "MacroLoopTimes"), "258");
    MacroData expected{};
    expected[1] = 0x01;
    EXPECT_EQ(model.WorkingBuffers(), expected);
}

// The rule takes the number after the last name's "_", or the count of macros; it could name a
// macro that exists, or the section of a macro whose rename waits for its save.
TEST_F(MacroManagerModelTest, NewNamesCountOnAfterTheLastNameUntilTheNameIsFreeAndStopAtTwelve)
{
    Write("[Macro_3]\r\nMacroLoopTimes=1\r\n[macro_4]\r\nMacroLoopTimes=1\r\n[Macro_2]\r\nMacroLoopTimes=1\r\n");
    Open();
    m_model->NewMacro();
    EditName(3, "Last");
    m_model->NewMacro();
    EXPECT_EQ(m_model->MacroNames(), (Names{"Macro_3", "macro_4", "Macro_2", "Last", "Macro_6"}));
    EXPECT_EQ(m_file.SectionNames(), (Names{"Macro_3", "macro_4", "Macro_2", "Macro_5", "Macro_6"}));

    auto& model = Open(Language::SimplifiedChinese);
    for (int i = 5; i < 12; ++i) {
        model.NewMacro();
    }
    const std::string before = Text();
    model.NewMacro();
    EXPECT_EQ(model.MacroNames().size(), 12u);
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "最多可以新建12个宏。", "警告"}}));
    EXPECT_EQ(Text(), before);
}

TEST_F(MacroManagerModelTest, ARefusedRenameKeepsTheOldNameAndTheFile)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Macro name is blank",
         {"", "   ", std::string(32, 'x'), "宏" + std::string(31, 'x'), "two\nlines", "[x", "x]"}},
        {"Macro name already exists", {"Gamma", "ALPHA"}}};
    for (const auto& [message, typedNames] : cases) {
        for (const std::string& typed : typedNames) {
            Write(kAbc);
            m_messages.shown.clear();
            auto& model = Open();
            EditName(1, typed);
            EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Beta", "Gamma"})) << typed;
            EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, message, "Warning"}})) << typed;
            model.Accept();
            EXPECT_EQ(Text(), kAbc) << typed;
        }
    }
}

// A rename removed the old section at once, so Cancel lost the macro; and it moved the macro to
// the end of the file, so a button bound to its number played another macro.
TEST_F(MacroManagerModelTest, ARenameReachesTheFileWithOkUnderTheSameNumberAndNotWithCancel)
{
    Open();
    EditName(1, "Renamed");
    m_model->Cancel();
    EXPECT_EQ(Text(), kAbc);

    auto& model = Open();
    EditName(1, "  Renamed ");
    model.SelectMacro(2);
    model.Accept();
    EXPECT_EQ(Text(), kAlpha + Section("Renamed", 0, 0, 1, {"B   Dn", "B   Up"}) + kGamma);
}

TEST_F(MacroManagerModelTest, MenuCommandsInsertWhereTheSelectionIsAndSave)
{
    auto& model = Open();
    model.RunMenuCommand(EventListCommand::InsertRightButton); // nothing selected, the list not empty
    model.SelectEvent(0);
    model.RunMenuCommand(EventListCommand::InsertMiddleButton);
    EXPECT_EQ(model.SelectedEvent(), 1u);
    model.SelectEvent(2);
    model.RunMenuCommand(EventListCommand::InsertDelay);
    model.SelectEvent(4);
    ASSERT_TRUE(model.DoubleClickEvent(4)); // the second click on a delay line opens its editor
    model.CommitDelay(4, "6553500 ms");
    EXPECT_EQ(Text(),
              Section("Alpha", 1, 1, 5, {"A   Dn", "M-Button   Dn", "50 ms", "M-Button   Up", "6553500 ms", "A   Up"}) +
                  kBeta + kGamma);
    // Into an empty list a button goes without a selection.
    model.NewMacro();
    model.RunMenuCommand(EventListCommand::InsertLeftButton);
    EXPECT_EQ(model.EventLines(), (Names{"L-Button   Dn", "L-Button   Up"}));
}

// A right click selects its line for the menu: the delay lands before the clicked line, and a
// second right click on a delay line opens no editor.
TEST_F(MacroManagerModelTest, TheMenuActsOnTheLineARightClickPointedAt)
{
    Write(Section("Alpha", 0, 0, 1, {"A   Dn", "B   Dn", "A   Up", "B   Up"}));
    auto& model = Open();
    model.SelectEvent(1);
    model.PointAtEvent(3);
    model.RunMenuCommand(EventListCommand::InsertDelay);
    EXPECT_EQ(model.EventLines(), (Names{"A   Dn", "B   Dn", "A   Up", "50 ms", "B   Up"}));
    model.PointAtEvent(3);
    EXPECT_FALSE(model.SelectEvent(3));
}

// An edited delay that is no number keeps the line and says what a delay looks like.
TEST_F(MacroManagerModelTest, ARefusedDelayIsSaid)
{
    auto& model = Open(Language::SimplifiedChinese);
    model.RefuseDelay();
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message,
                                                     "延时须为毫秒数，例如 120 或 120 ms。该行保持原值。", "警告"}}));
    EXPECT_EQ(Text(), kAbc);
}

// A file far larger than the program writes is refused at once: it is neither read nor written,
// and OK leaves the profile's macros as they were.
TEST_F(MacroManagerModelTest, AMacroFileBeyondTheLimitIsRefusedWithAMessage)
{
    const std::string text = kAlpha + "[Padding]\r\nNote=" + std::string(kMaxMacroFileBytes, 'x') + "\r\n";
    Write(text);
    test::FileAccessCounter access(m_file.Path());
    auto& model = Open();
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The macro file record.ini is larger than 4 MB and was not read. Move it away to "
                                   "start a new one.",
                                   "Warning"}}));
    EXPECT_TRUE(model.MacroNames().empty());
    model.NewMacro();
    model.Accept();
    EXPECT_FALSE(model.Result().has_value());
    EXPECT_EQ(SaveMacro(m_file, Macro(0, 0, "1", {"A   Dn"}, "Alpha")), MacroSaveResult::FileTooLarge);
    EXPECT_EQ(access.Opens(), 0);
    EXPECT_EQ(access.Replacements(), 0);
}

// The macro file's numbers moved down under the buttons: they played the next macro.
TEST_F(MacroManagerModelTest, DeleteTakesOnlyTheHighlightedMacroAndRenumbersTheBindingsAfterIt)
{
    m_record.macroData = RebuildMacroData(m_file, 3);
    for (std::uint8_t button = 0; button < 3; ++button) {
        m_bindings.StoreMacroBinding(button, button, 1, std::array{"Alpha", "Beta", "Gamma"}[button]);
    }
    m_bindings.StoreSingleKey(3, "F");
    m_record.macroNumber[3] = 2; // left over from an older binding: not a macro binding
    auto& model = Open();
    // The list's highlight can go while the macro's events stay shown: Delete deleted a macro or a
    // line that the user did not see selected.
    model.SelectEvent(1);
    model.DeselectEvent();
    model.RunMenuCommand(EventListCommand::DeleteLine);
    model.DeselectMacro();
    model.DeleteMacro();
    EXPECT_EQ(Text(), kAbc);

    model.SelectMacro(1);
    model.DeleteMacro();
    EXPECT_EQ(Text(), kAlpha + kGamma);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Gamma"}));
    EXPECT_TRUE(model.EventLines().empty());
    model.DeleteMacro();
    EXPECT_EQ(model.MacroNames().size(), 2u) << "nothing is selected after a delete";
    // Button 1's factory function is "Menu"; button 3's left-over macro number is no binding.
    EXPECT_EQ(std::tuple(m_record.macroNumber[2], m_record.macroNumber[3], m_labels[1]), std::tuple(1, 2, "Menu"));
    EXPECT_EQ(BufferOf(model.Accept(), 1), BufferHex("00 01 00 06"));
}

// The renumbering happened only in the window's current record: Cancel, a restart or another
// profile left buttons on the wrong macro or on one that no longer exists, and Save then sent it.
// Every profile's files now follow in the step that deletes the macro, and so do the current
// record and its backup.
TEST_F(MacroManagerModelTest, DeletingAMacroRewritesEveryProfileThatBindsItEvenWhenCancelled)
{
    const MacroData buffers = RebuildMacroData(m_file, 3);
    // Profile 0 binds Beta on button 3 and Gamma on button 4, profile 1 binds no macro, profile 2
    // Alpha on button 5; profile 3 is a file no load can read.
    const auto profile = [&](std::size_t slot, std::vector<std::pair<std::size_t, std::uint8_t>> bindings) {
        ProfileRecord record = FactoryProfile();
        record.macroData = buffers;
        ButtonLabels labels;
        ButtonAssignment assignment(record, labels, Language::English);
        for (const auto& [button, macro] : bindings) {
            assignment.StoreMacroBinding(button, macro, 1, std::array{"Alpha", "Beta", "Gamma"}[macro]);
        }
        EXPECT_FALSE(ConfigFile::Write(m_dir / ProfileConfigName(slot), 0, record));
        return record;
    };
    const ProfileRecord zero = profile(0, {{2, 1}, {3, 2}});
    WriteFileBytes(m_dir / "str0.ini", "[Setting-EN]\r\nItem3=Macro Key-Beta\r\nItem4=Macro Key-Gamma\r\n");
    const ProfileRecord one = profile(1, {});
    const ProfileRecord two = profile(2, {{4, 0}});
    const std::string broken(100, '\x01');
    WriteFileBytes(m_dir / "config3.bin", broken);
    m_records.Current = zero;
    m_records.Snapshot();
    m_labels = FactoryLabels(Language::English);
    m_labels[2] = "Macro Key-Beta";
    m_labels[3] = "Macro Key-Gamma";

    auto& model = Open();
    model.SelectMacro(1);
    model.DeleteMacro();
    model.Cancel();

    const auto shifted = [](ProfileRecord record) {
        std::copy_n(record.MacroBuffer(2).begin(), kMacroBufferSize, record.MacroBuffer(1).begin());
        std::fill_n(record.MacroBuffer(2).begin(), kMacroBufferSize, std::uint8_t{0});
        return record;
    };
    ProfileRecord zeroAfter = shifted(zero);
    zeroAfter.buttonFunction[2] = static_cast<std::uint8_t>(FunctionCode::UniversalScroll); // its factory function
    zeroAfter.macroNumber[3] = 1; // Gamma, now the second macro
    EXPECT_EQ(Text(), kAlpha + kGamma);
    EXPECT_EQ(ReadFileBytes(m_dir / "config0.bin"), ConfigFile::Encode(0, zeroAfter));
    EXPECT_EQ(ReadFileBytes(m_dir / "config1.bin"), ConfigFile::Encode(0, shifted(one)));
    EXPECT_EQ(ReadFileBytes(m_dir / "config2.bin"), ConfigFile::Encode(0, shifted(two)));
    EXPECT_EQ(ReadFileBytes(m_dir / "config3.bin"), broken);
    EXPECT_EQ(ReadFileBytes(m_dir / "str0.ini"),
              "[Setting-EN]\r\nItem3=Universal Scroll\r\nItem4=Macro Key-Gamma\r\n[Setting-CHS]\r\nItem3=中键\r\n"
              "[Setting-CHT]\r\nItem3=中鍵\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "str1.ini")) << "no button of profile 1 lost its macro";
    EXPECT_FALSE(std::filesystem::exists(m_dir / "profiles.journal"));
    // The window's record and its backup follow, so that the main window's Cancel keeps them too.
    EXPECT_EQ(m_records.Current, zeroAfter);
    EXPECT_EQ(m_records.Backup, zeroAfter);
    EXPECT_EQ(m_labels[2], "Universal Scroll");
    EXPECT_TRUE(m_messages.shown.empty());
}

// A file of the step that cannot be kept in the journal stops the deletion before anything is
// written: the macro, its buttons and the list stay, and the user learns which file it was.
TEST_F(MacroManagerModelTest, ADeletionThatCannotBeJournalledChangesNothing)
{
    ProfileRecord record = FactoryProfile();
    ButtonLabels labels;
    ButtonAssignment(record, labels, Language::English).StoreMacroBinding(2, 1, 1, "Beta");
    ASSERT_FALSE(ConfigFile::Write(m_dir / "config0.bin", 1, record));
    std::filesystem::create_directory(m_dir / "str0.ini");
    m_records.Current = record;
    m_records.Snapshot();

    auto& model = Open();
    model.SelectMacro(1);
    model.DeleteMacro();
    EXPECT_EQ(Text(), kAbc);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(ReadFileBytes(m_dir / "config0.bin"), ConfigFile::Encode(1, record));
    EXPECT_EQ(m_records.Current, record);
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The macro could not be deleted; the macro file and the profiles were left as they "
                                   "are.\n" +
                                       (m_dir / "str0.ini").string() + ": It is a folder, not a file",
                                   "Warning"}}));
}

// A loop count or macro the file does not take was lost in silence: it is said, with the file and
// why, once for a run of failures (not at every key typed), and again after a write went through.
TEST_F(MacroManagerModelTest, AnEditTheMacroFileDoesNotTakeIsSaidOncePerRunOfFailures)
{
    auto& model = Open();
    const auto breakFile = [&] {
        std::filesystem::remove(m_file.Path());
        std::filesystem::create_directory(m_file.Path());
    };
    breakFile();
    model.LoopFieldChanged("3");
    model.LoopFieldChanged("31");
    model.Accept();
    std::filesystem::remove(m_file.Path());
    Write(kAbc);
    model.LoopFieldChanged("4");
    breakFile();
    model.LoopFieldChanged("5");
    const Shown refused{Shown::Kind::Message,
                        "The macro could not be saved; the macro file was left as it is.\n" + m_file.Path().string() +
                            ": It is a folder, not a file",
                        "Warning"};
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{refused, refused}));
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
        EXPECT_EQ(Text(), kAlpha + kBeta + Section("Gamma", 1, 0, 3, {}));
        EXPECT_EQ(BufferOf(model.Accept(), 2), BufferHex(""));
    }
}

TEST_F(MacroManagerModelTest, ARecordingReplacesTheEventsAndIsSavedWhenItStops)
{
    auto& model = Open();
    model.ToggleRecording();
    Press("Q");
    m_clock.Advance(80ms);
    Release("Q");
    model.ToggleRecording();
    EXPECT_TRUE(model.LoopFieldEnabled());
    EXPECT_EQ(model.WindowText(), "Macro Manager");
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"Q   Dn", "80 ms", "Q   Up"}) + kBeta + kGamma);

    // Without a selection a recording goes into a new macro, and selecting another ends it there.
    model.DeselectMacro();
    model.ToggleRecording();
    Press("W");
    model.SelectMacro(1);
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(model.EventLines(), (Names{"B   Dn", "B   Up"}));

    // Enter after a stopped recording reached the dialog's default action, which closed it as OK
    // does but without the save and the rebuild: the caller got the unbuilt working buffers.
    model.ToggleLoopBox();
    model.LoopFieldChanged("2");
    EXPECT_EQ(model.KeyPress("Enter", DialogKey::Enter, false).close, MacroManagerClose::Ok);
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"Q   Dn", "80 ms", "Q   Up"}) +
                          Section("Beta", 0, 1, 2, {"B   Dn", "B   Up"}) + kGamma +
                          Section("Macro_3", 1, 1, 1, {"W   Dn"}));
    EXPECT_EQ(model.Result(), RebuildMacroData(m_file, 4));
}

// Tab walks every control in reading order (the loop-count field only while it can be typed
// into) and Shift+Tab back; while recording, Tab and Escape are the macro's keys.
TEST_F(MacroManagerModelTest, TabWalksTheControlsInReadingOrderAndNotDuringARecording)
{
    Open(Language::SimplifiedChinese);
    // clang-format off
    const Names withField{"选择宏", "按鍵序列", "开始录制", "记录按键动作间的延迟", "循环次数", "循环次数", "新建", "刪除",
                          "确定", "取消", "关闭", "选择宏"};
    // clang-format on
    Names walked{FocusName()};
    for (std::size_t i = 1; i < withField.size(); ++i) {
        Key(WindowKey::Tab);
        walked.push_back(FocusName());
    }
    EXPECT_EQ(walked, withField);
    Key(WindowKey::BackTab);
    EXPECT_EQ(FocusName(), "关闭");
    m_model->SelectMacro(1); // Beta: the loop box unticked, its field out of the walk
    for (int i = 0; i < 5; ++i) {
        Key(WindowKey::BackTab);
    }
    EXPECT_EQ(FocusName(), "循环次数");
    EXPECT_EQ(m_model->Controls()[*m_model->FocusIndex()].role, ControlRole::CheckBox);

    m_model->ToggleRecording();
    EXPECT_FALSE(Key(WindowKey::Tab).close);
    EXPECT_FALSE(m_model->KeyPress("Esc", DialogKey::Escape, false, WindowKey::Escape).close);
    EXPECT_EQ(FocusName(), "循环次数");
    EXPECT_TRUE(m_model->IsRecording());
}

// The arrows walk a list; the keys act on what is selected as the matching click would, and a
// key line walked to never opens the delay editor, which F2 opens.
TEST_F(MacroManagerModelTest, KeysWalkTheListsAndInsertRenameDeleteAndClose)
{
    auto& model = Open();
    Key(WindowKey::End);
    EXPECT_EQ(model.SelectedMacro(), 2u);
    Key(WindowKey::Home);
    Key(WindowKey::Up);
    EXPECT_EQ(model.SelectedMacro(), 0u);
    Key(WindowKey::Tab);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Key(WindowKey::Down).edit) << i;
        EXPECT_FALSE(Key(WindowKey::Up).edit) << i;
        Key(WindowKey::Down);
    }
    EXPECT_EQ(model.SelectedEvent(), 2u);
    Key(WindowKey::Up);
    const auto delay = Key(WindowKey::Rename).edit;
    ASSERT_TRUE(delay);
    EXPECT_EQ(delay->mode, LineEditorMode::DelayValue);
    EXPECT_EQ(delay->text, "120 ms");
    Key(WindowKey::Delete);
    Key(WindowKey::End);
    Key(WindowKey::Insert);
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "50 ms", "A   Up"}) + kBeta + kGamma);

    Key(WindowKey::BackTab);
    Key(WindowKey::Down);
    const auto rename = Key(WindowKey::Rename).edit;
    ASSERT_TRUE(rename);
    EXPECT_EQ(rename->mode, LineEditorMode::MacroName);
    EXPECT_EQ(rename->line, 1u);
    EXPECT_EQ(rename->text, "Beta");
    Key(WindowKey::Delete);
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "50 ms", "A   Up"}) + kGamma);

    // Return and Space press the focused button or box; Escape closes as the close area does.
    while (FocusName() != "Record delays between key commands") {
        Key(WindowKey::Tab);
    }
    Key(WindowKey::Space);
    EXPECT_TRUE(model.DelayBoxTicked()) << "Beta, shown last, had it unticked";
    Key(WindowKey::Tab);
    Key(WindowKey::Tab);
    EXPECT_EQ(FocusName(), "New");
    Key(WindowKey::Return);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Gamma", "Macro_2"}));
    EXPECT_EQ(Key(WindowKey::Escape).close, MacroManagerClose::Cancel);
    EXPECT_FALSE(model.Result());
}

TEST_F(MacroManagerModelTest, TheSixtyFifthKeystrokeStopsAndSavesTheRecordingWithAWarning)
{
    auto& model = Open();
    model.NewMacro();
    model.ToggleRecording();
    for (int i = 0; i < 32; ++i) {
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
        m_clock.Advance(10ms);
    }
    Press("Z");
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(m_file.GetString("Macro_3", "ItemCount"), "127");
    EXPECT_EQ(m_file.GetString("Macro_3", "Item126"), "A   Up");
    // 64 events are one more than the mouse holds; the last press that fits has no release. The
    // lines from the 63rd event on do not reach the mouse.
    const std::string tooLong = "The macro is too long for the mouse: only 62 of its 64 events reach it. The lines "
                                "that do not are struck through.";
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, tooLong, "Warning"}}));
    EXPECT_EQ(model.FirstLeftOutLine(), 124u);
    // Shown again later, the macro's lines are marked the same.
    model.NewMacro();
    EXPECT_EQ(model.FirstLeftOutLine(), std::nullopt);
    model.SelectMacro(3);
    EXPECT_EQ(model.FirstLeftOutLine(), 124u);
}

// A key held from the first event on leaves the mouse nothing, which the message says.
TEST_F(MacroManagerModelTest, AKeyHeldThroughALongMacroLeavesTheMouseNothingAndSaysSo)
{
    auto& model = Open(Language::TraditionalChinese);
    model.NewMacro();
    model.ToggleRecording();
    Press("Shift");
    for (int i = 0; i < 31; ++i) {
        m_clock.Advance(10ms);
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
    }
    Release("Shift");
    model.ToggleRecording();
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "巨集太長，滑鼠無法容納：64 個事件都未送達滑鼠，因為有按鍵一直按住超出滑鼠的容量。"
                                   "滑鼠得到的是空巨集。",
                                   "警告"}}));
    EXPECT_EQ(model.FirstLeftOutLine(), 0u);
}

// The macro key dialog, which binds a button to a macro.
constexpr Point kMacroBox{90, 136};
constexpr Point kBindingOk{279, 262};
constexpr std::array<Point, 3> kModeBox{{{228, 86}, {228, 136}, {228, 186}}};

// The dropdown (42, 146, 151, 286): a one-pixel border, 16-pixel lines, eight of them shown.
constexpr Point kFirstLine{90, 147 + 8};

class MacroKeyBindingTest : public MacroFileTest
{
protected:
    MacroKeyBindingTest() { m_skin.sizes["/macro-key.png"] = {400, 286}; }

    MacroKeyBindingModel& Open(int macros)
    {
        std::string text;
        for (int i = 1; i <= macros; ++i) {
            text += "[Macro_" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
        }
        Write(text);
        m_model.emplace(m_file, Language::English);
        m_model->Open(m_skin, m_messages);
        return *m_model;
    }

    test::RecordingCanvas m_skin;
    test::RecordingMessageSink m_messages;
    std::optional<MacroKeyBindingModel> m_model;
};

TEST_F(MacroKeyBindingTest, OkGivesThePickedMacrosNumberAndModeAndWithoutAPickNothing)
{
    MacroKeyBindingModel& unpicked = Open(3);
    unpicked.Press(kMacroBox);
    unpicked.Press(kModeBox[1]);
    EXPECT_EQ(unpicked.Press(kBindingOk), DialogAction::Accept);
    EXPECT_FALSE(unpicked.Result().has_value());

    MacroKeyBindingModel& model = Open(3);
    EXPECT_EQ(model.Press(kMacroBox), DialogAction::None);
    EXPECT_EQ(model.Press({90, kFirstLine.y + 16 * 2}), DialogAction::None);
    EXPECT_EQ(model.Press(kModeBox[2]), DialogAction::None);
    EXPECT_EQ(model.Press(kBindingOk), DialogAction::Accept);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{2, 2, "Macro_3"}));
}

// Escape closes the dropdown only, not the dialog.
TEST_F(MacroKeyBindingTest, OnlyTheFirstTwelveMacrosAreOfferedAndTheWheelScrollsByWholeNotches)
{
    MacroKeyBindingModel& model = Open(14);
    EXPECT_FALSE(model.Escape());
    model.Press(kMacroBox);
    ASSERT_EQ(model.Dropdown()->Count(), 12u);
    EXPECT_TRUE(model.Escape());
    EXPECT_FALSE(model.Dropdown().has_value());
    model.Press(kMacroBox);
    // Eight lines are shown; a notch scrolls three, and half notches add up.
    EXPECT_FALSE(model.Wheel(-60));
    EXPECT_TRUE(model.Wheel(-60));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 3u);
    EXPECT_TRUE(model.Wheel(-240));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 4u);
    model.Press({90, kFirstLine.y + 16 * 7});
    EXPECT_EQ(model.Result(), (MacroBindingChoice{11, 0, "Macro_12"}));
}

TEST(ListLineEditorModel, ADelayCommitsAsDigitsAndMsOrNotAtAll)
{
    // A bare number is milliseconds too; what is no number is refused.
    // clang-format off
    const std::pair<std::string, std::optional<std::string>> cases[] = {{"7000000 ms", "6553500 ms"},
        {"123456789012345678901234567890 ms", "6553500 ms"}, {"0 120 ms", "0120 ms"}, {"  75  ms  ", "75 ms"},
        {"ms", " ms"}, {"00000000000001 ms", "00000000000001 ms"}, {"12a ms", std::nullopt}, {"250", "250 ms"},
        {" 9 000 ", "9000 ms"}, {"99999999", "6553500 ms"}, {"", std::nullopt}, {"-5", std::nullopt},
        {"12ms34", std::nullopt}};
    // clang-format on
    for (const auto& [edited, line] : cases) {
        EXPECT_EQ(ListLineEditorModel::CommittedText(LineEditorMode::DelayValue, edited), line) << edited;
    }
}

// The focus leaves the editor as it goes: that must not commit a second time. A delay that is no
// number ends the edit without a commit, refused so that the user hears of it; Escape and the name
// modes refuse nothing.
TEST(ListLineEditorModel, EndsOnceCommittingOrRefusingWhatWasTyped)
{
    constexpr auto kDelay = LineEditorMode::DelayValue;
    const std::tuple<LineEditorMode, LineEditorInput, std::string, std::string, bool> cases[] = {
        {kDelay, LineEditorInput::Enter, "300 ms", "1: 300 ms", false},
        {kDelay, LineEditorInput::Tab, "300 ms", "1: 300 ms", false},
        {kDelay, LineEditorInput::PressOutside, "300 ms", "1: 300 ms", false},
        {kDelay, LineEditorInput::FocusLost, "300 ms", "1: 300 ms", false},
        {kDelay, LineEditorInput::Escape, "300 ms", "none", false},
        {kDelay, LineEditorInput::Enter, "soon", "none", true},
        {kDelay, LineEditorInput::FocusLost, "12a ms", "none", true},
        {kDelay, LineEditorInput::Escape, "soon", "none", false},
        {kDelay, LineEditorInput::Enter, "120", "1: 120 ms", false},
        {LineEditorMode::MacroName, LineEditorInput::Enter, "soon", "1: soon", false}};
    for (const auto& [mode, input, typed, commit, refused] : cases) {
        ListLineEditorModel editor(mode);
        ASSERT_TRUE(editor.BeginEdit(1, 4));
        const auto outcome = editor.Input(input, typed);
        EXPECT_TRUE(outcome.ended) << typed;
        EXPECT_FALSE(editor.IsOpen()) << typed;
        EXPECT_EQ(outcome.refused, refused) << typed;
        EXPECT_EQ(outcome.commit ? std::to_string(outcome.commit->line) + ": " + outcome.commit->text : "none", commit)
            << typed;
        EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, typed).commit) << typed;
    }
}

} // namespace
} // namespace veldrane
