// The macro file "record.ini", the buffers the mouse takes, the recorder and the rename of a
// macro's section.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroFileFixture.h"
#include "core/macro/MacroRecorder.h"
#include "core/macro/MacroSectionRename.h"
#include "support/FakeClock.h"
#include "support/FileAccessCounter.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using namespace test;

using Lines = std::vector<std::string>;

// Drives a started recorder the way the manager does and keeps the lines it appends. The limit
// of 64 events is the manager's test: there the recording also stops and is saved.
class MacroRecorderTest : public testing::Test
{
protected:
    MacroRecorderTest() { m_recorder.Start(); }

    void Press(std::string_view key, bool alreadyDown = false) { Feed({key, false, alreadyDown}); }
    void Release(std::string_view key) { Feed({key, true, true}); }
    void Feed(const RecorderKeyEvent& event)
    {
        const RecorderStep step = m_recorder.KeyEvent(event, true);
        ASSERT_LE(step.retract, lines.size());
        lines.resize(lines.size() - step.retract);
        for (const MacroItem& item : step.lines) {
            lines.push_back(item.Text());
        }
    }

    test::FakeClock m_clock;
    MacroRecorder m_recorder{m_clock};
    Lines lines;
};

// A held key repeats as presses flagged as repeats, or (X11) as release and press pairs at one
// instant that are not always flagged: either way it is one press and one release.
TEST_F(MacroRecorderTest, HoldingAKeyForASecondRecordsOnePressADelayAndTheRelease)
{
    Press("B");
    m_clock.Advance(20ms);
    Release("B");
    m_clock.Advance(100ms);
    Press("A");
    for (int repeat = 0; repeat < 30; ++repeat) {
        m_clock.Advance(33ms);
        if (repeat < 15) {
            Press("A", true);
        } else {
            Release("A");
            Press("A");
            Press("A"); // a key that is down is not pressed again
        }
    }
    m_clock.Advance(10ms);
    Release("A");
    m_clock.Advance(60ms);
    Press("A"); // a new stroke of the key after a real release
    m_clock.Advance(40ms);
    Release("A");
    EXPECT_EQ(lines, (Lines{"B   Dn", "20 ms", "B   Up", "100 ms", "A   Dn", "1000 ms", "A   Up", "60 ms", "A   Dn",
                            "40 ms", "A   Up"}));
    EXPECT_EQ(m_recorder.RecordedEventCount(), 6u);
}

// A key held when the recording starts is released before anything was pressed: there is no
// earlier event of this recording to measure a wait from, even when an older recording left one.
// Key names are cut to the 31 characters of their buffer.
TEST_F(MacroRecorderTest, AReleaseBeforeTheFirstPressCarriesNoDelay)
{
    Press("X");
    m_recorder.Stop();
    m_clock.Advance(5000ms);
    lines.clear();

    m_recorder.Start();
    m_clock.Advance(700ms);
    Release("Ctrl");
    m_clock.Advance(300ms);
    const std::string longName(40, 'K');
    Press(longName);
    m_clock.Advance(40ms);
    Release(longName);
    const std::string cut(31, 'K');
    EXPECT_EQ(lines, (Lines{"Ctrl   Up", cut + "   Dn", "40 ms", cut + "   Up"}));
}

// Macro k: one press of A looped k + 1 times.
const std::string kTail = Section("Macro_1", 0, 1, 2, {"A   Dn"}) + Section("Macro_2", 0, 1, 3, {"A   Dn"});
const std::string kOnePressMacros = Section("Macro_0", 0, 1, 1, {"A   Dn"}) + kTail;

TEST_F(MacroFileTest, SaveRewritesTheSectionWhereItStandsAndLoadsItBack)
{
    Write(kOnePressMacros);
    const MacroRecord record = Macro(1, 0, "5", {"B   Dn", "20 ms", "B   Up"}, "Macro_0");
    ASSERT_EQ(SaveMacro(m_file, record), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\nItemCount=3\r\n"
                      "Item0=B   Dn\r\nItem1=20 ms\r\nItem2=B   Up\r\n" +
                          kTail);
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"), record);

    // A shorter macro leaves none of its old item keys behind.
    ASSERT_EQ(SaveMacro(m_file, Macro(1, 0, "5", {"C   Up"}, "Macro_0")), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), Section("Macro_0", 1, 0, 5, {"C   Up"}) + kTail);
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 3), 0), BufferHex("00 01 80 06"));
}

TEST_F(MacroFileTest, SaveRefusesBadNamesAndTextsBeforeWritingAnything)
{
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"})), MacroSaveResult::NoFile);
    EXPECT_FALSE(m_file.Exists());
    Write(kOnePressMacros);
    for (const char* name : {"", "   ", "Bad]Name", "[Bad", "Line\nBreak"}) {
        EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"}, name)), MacroSaveResult::RefusedName) << name;
        EXPECT_EQ(WriteLoopTimes(m_file, name, 1), IniWriteResult::RefusedName) << name;
    }
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn", "B\r\nItem9=x"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1\n[Evil]", {"A   Dn"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(Text(), kOnePressMacros);
}

// A delete of a section that is not there changes nothing; the manager's test deletes one that is.
TEST_F(MacroFileTest, WriteLoopTimesAndDeleteKeepTheOtherSectionsInOrder)
{
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_1", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 65535), IniWriteResult::Written);
    EXPECT_FALSE(DeleteMacroSection(m_file, "Macro_2"));
    EXPECT_EQ(Text(), "[Macro_0]\r\nMacroLoopTimes=65535\r\n[Macro_1]\r\nMacroLoopTimes=1\r\n");
}

// A hand-edited "ItemCount" of two thousand million used to read that many keys.
TEST_F(MacroFileTest, LoadReadsAHandWrittenFileNoFurtherThanTheLastItemKey)
{
    Write("; written by hand\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\nLoopTimeSelStatus=  1\n"
          "MacroLoopTimes = \"300\"\r\nitemcount=4\r\nItem0 = A   Dn\r\nItem1=\"1550 ms\"\n"
          "Item2=   A   Up   \r\nITEM3='Num Lock   Dn'\r\n"
          "[Huge]\r\nItemCount=2000000000\r\nItem0=A   Dn\r\nItem1=A   Up\r\n"
          "[Far]\r\nItemCount=2000000000\r\nItem1999999999=A   Dn\r\n"
          "[Gap]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem2=A   Up\r\nItem7=B   Dn\r\n"
          "[NoItems]\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=7\r\nItemCount=5\r\n");
    EXPECT_EQ(ListMacroNames(m_file), (std::vector<std::string>{"Macro_0", "Huge", "Far", "Gap", "NoItems"}));
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"),
              Macro(1, 1, "300", {"A   Dn", "1550 ms", "A   Up", "Num Lock   Dn"}, "Macro_0"));
    // With recorded delays a key line after an event is no wait: the release waits nothing.
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 1), 0), BufferHex("01 2C 32 04 0F 03 80 04 00 53"));
    EXPECT_EQ(LoadMacro(m_file, "Huge").items, Macro(0, 0, "", {"A   Dn", "A   Up"}).items);
    EXPECT_EQ(LoadMacro(m_file, "Far").items.size(), 1u);
    EXPECT_EQ(LoadMacro(m_file, "Gap").items, Macro(0, 0, "", {"A   Dn", "", "A   Up"}).items);
    EXPECT_EQ(test::HexBytes(EncodeMacro(LoadMacro(m_file, "NoItems"))), BufferHex("00 07"));
}

constexpr std::string_view kThreeMacros = "[First]\r\nMacroLoopTimes=1\r\nItemCount=1\r\nItem0=A   Dn\r\n"
                                          "[Second]\r\nDelayTimeSelStatus=1\r\nMacroLoopTimes=7\r\n"
                                          "[Third]\r\nMacroLoopTimes=2\r\nItem0=B   Up\r\n";

// A refused rename changes nothing; a rename keeps every section where it stands.
TEST_F(MacroFileTest, RenameKeepsTheSectionAndEveryLaterOneWhereTheyStand)
{
    Write(kThreeMacros);
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "third"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "a]b"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Missing", "Other"));
    EXPECT_EQ(Text(), kThreeMacros);

    ASSERT_TRUE(RenameMacroSection(m_file, "Second", "Renamed"));
    std::string renamed(kThreeMacros);
    EXPECT_EQ(Text(), renamed.replace(renamed.find("Second"), 6, "Renamed"));
}

// A save is one read and one atomic replacement, so a crash leaves the old section or the new
// one, never half of it.
TEST_F(MacroFileTest, EveryOperationReadsOnceAndWritesAtMostOnce)
{
    const std::tuple<const char*, std::function<void()>, int, int> cases[] = {
        {"rebuild", [&] { RebuildMacroData(m_file, 3); }, 1, 0},
        {"save", [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 1, "3", {"A   Dn"}, "Macro_1")), MacroSaveResult::Saved); },
         1, 1},
        {"refused save",
         [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"B\nI=x"})), MacroSaveResult::RefusedValue); }, 0, 0},
        {"delete", [&] { EXPECT_TRUE(DeleteMacroSection(m_file, "Macro_1")); }, 1, 1}};
    for (const auto& [name, operation, opens, replacements] : cases) {
        Write(kOnePressMacros);
        test::FileAccessCounter access(m_file.Path());
        operation();
        EXPECT_EQ(access.Opens(), opens) << name;
        EXPECT_EQ(access.Replacements(), replacements) << name;
    }
}

// Two loop bytes, then entries of a wait byte (release bit 0x80, tens of ms) and a key code; a
// longer wait extends the entry by "03 hundreds" or "03 00 hundreds-high hundreds-low".
// Each case: DelayTimeSelStatus, LoopTimeSelStatus, MacroLoopTimes, the items, and the buffer's
// leading bytes (zeros after them).
const std::tuple<int, int, std::string, std::vector<std::string>, std::string> kEncodings[] = {
    // A recorded delay goes into the event before it; without recorded delays every event waits 50 ms.
    {1, 0, "5", {"A   Dn", "120 ms", "A   Up"}, "00 01 0C 04 80 04"},
    {0, 1, "3", {"A   Dn", "A   Up"}, "00 03 05 04 85 04"},
    {0, 1, "1", {"A   Dn", "1550 ms", "A   Up"}, "00 01 32 04 0F 03 85 04"},
    // clang-format off
    {1, 0, "1", {"A   Dn", "1270 ms", "A   Dn", "1271 ms", "A   Up", "25500 ms", "A   Up", "25501 ms"},
        "00 01 7F 04 47 04 0C 03 80 04 FF 03 81 04 00 03 00 FF"},
    {1, 0, "1", {"B   Up", "9 ms"}, "00 01 80 05"},
    {1, 0, "1", {"B   Up", "10 ms"}, "00 01 81 05"},
    // The wide entry's 16 bits of hundreds end at 6553500 ms; longer waits are cut to that.
    {1, 0, "1", {"B   Up", "6553599 ms"}, "00 01 E3 05 00 03 FF FF"},
    {1, 0, "1", {"B   Up", "4294967295 ms"}, "00 01 80 05 00 03 FF FF"},
    {1, 0, "1", {"B   Up", "-50 ms"}, "00 01 80 05"},
    {1, 0, "1", {"B   Up", "12a ms"}, "00 01 81 05"},
    {1, 0, "1", {"B   Up", "0120 ms"}, "00 01 8C 05"},
    // Only "   Dn" (first) and "   Up" make an event: "A   Up   Dn" presses a key "A   Up".
    {0, 0, "1", {"A  Dn", "A   Up   Dn", "Num Lock   Up", ""}, "00 01 05 00 85 53"},
    {1, 0, "1", {"50 ms", "A   Dn", "100 ms", "200 ms", "A   Up"}, "00 01 0A 04 80 04"},
    // Mouse buttons have codes of their own and wait nothing with recorded delays; unknown keys send 00.
    {1, 0, "1", {"L-Button   Dn", "L-Button   Up"}, "00 01 00 F0 80 F0"},
    {0, 0, "1", {"R-Button   Dn", "M-Button   Up", "b   Dn", "Application   Dn", "No Such Key   Dn"},
        "00 01 05 F1 85 F2 05 00 05 00 05 00"},
    // clang-format on
    // The loop count applies when its box is ticked and it lies in 1 to 65535; otherwise it is 1.
    {1, 1, "256", {"A   Dn"}, "01 00 00 04"},
    {1, 1, "65535", {"A   Dn"}, "FF FF 00 04"},
    {1, 1, "0", {"A   Dn"}, "00 01 00 04"},
    {1, 1, "70000", {"A   Dn"}, "00 01 00 04"},
    {1, 0, "300", {"A   Dn"}, "00 01 00 04"}};

TEST(MacroEncoder, GivesTheBufferTheMouseTakes)
{
    for (const auto& [delays, loop, loops, items, bytes] : kEncodings) {
        EXPECT_EQ(HexBytes(EncodeMacro(Macro(delays, loop, loops, items))), BufferHex(bytes)) << bytes;
    }
}

// count presses and releases of A in turn without recorded delays: one entry of 50 ms each.
MacroRecord ShortEvents(std::size_t count)
{
    MacroRecord record = Macro(0, 0, "1", {});
    for (std::size_t i = 0; i < count; ++i) {
        record.items.push_back(i % 2 == 0 ? MacroItem::Press("A") : MacroItem::Release("A"));
    }
    return record;
}

std::string ShortEventsHex(std::size_t count)
{
    std::string hex = "00 01";
    for (std::size_t i = 0; i < count; ++i) {
        hex += i % 2 == 0 ? " 05 04" : " 85 04";
    }
    return hex;
}

// 63 entries fit. A macro cut after the last event that fits could end on a press whose release
// was left out: the mouse would hold the key for ever.
TEST(MacroEncoder, ALongMacroIsCutWhereEveryKeyIsReleased)
{
    // Events of A, lines after them, the bytes, and what reached the mouse: events reached, of
    // how many, and the first line that did not reach it.
    const std::tuple<std::size_t, std::vector<std::string>, std::string, MacroFit> cases[] = {
        {64, {}, ShortEventsHex(62), {64, 62, 62}},
        // Everything fits: a press without its release is the user's own choice.
        {63, {}, ShortEventsHex(62) + " 05 04", {63, 63, 63}},
        // The wait after B needs four bytes, two are left; C would fit, but comes after.
        {62, {"B   Dn", "2000 ms", "C   Dn"}, ShortEventsHex(62), {64, 62, 62}},
        // Keys held across each other: the cut goes back to before the first of them.
        {60, {"B   Dn", "C   Dn", "B   Up", "C   Up"}, ShortEventsHex(60), {64, 60, 60}}};
    for (const auto& [events, more, hex, expected] : cases) {
        MacroRecord record = ShortEvents(events);
        for (const std::string& line : more) {
            record.items.emplace_back(line);
        }
        MacroFit fit;
        EXPECT_EQ(HexBytes(EncodeMacro(record, &fit)), BufferHex(hex)) << events;
        EXPECT_EQ(std::tie(fit.events, fit.reached, fit.firstLeftOutLine),
                  std::tie(expected.events, expected.reached, expected.firstLeftOutLine))
            << events;
    }

    // Shift held from the first event past the room: nothing reaches the mouse, whose macro is
    // then empty, loop bytes included; the delay after Shift is its own, so every line is left out.
    MacroRecord held = ShortEvents(64);
    held.LoopTimeSelStatus = 1;
    held.MacroLoopTimes = "3";
    held.items.insert(held.items.begin(), {MacroItem::Press("Shift"), MacroItem::Delay(50)});
    held.items.push_back(MacroItem::Release("Shift"));
    MacroFit fit;
    EXPECT_EQ(HexBytes(EncodeMacro(held, &fit)), BufferHex(""));
    EXPECT_EQ(std::tie(fit.events, fit.reached, fit.firstLeftOutLine), std::make_tuple(66u, 0u, 0u));

    // An extended entry that ends exactly at the last byte is kept.
    MacroRecord full = ShortEvents(61);
    full.DelayTimeSelStatus = 1;
    for (std::size_t i = 1; i < full.items.size(); i += 2) {
        full.items.insert(full.items.begin() + static_cast<std::ptrdiff_t>(i), MacroItem::Delay(50));
    }
    full.items.push_back(MacroItem::Delay(50));
    full.items.push_back(MacroItem::Press("B"));
    full.items.push_back(MacroItem::Delay(2000));
    EXPECT_EQ(HexBytes(EncodeMacro(full)), BufferHex(ShortEventsHex(61) + " 00 05 14 03"));
}

} // namespace
} // namespace veldrane
