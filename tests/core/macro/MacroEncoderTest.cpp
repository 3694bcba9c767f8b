#include "core/macro/MacroEncoder.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/macro/MacroTestSupport.h"

namespace veldrane {
namespace {

using namespace test;

// Two loop bytes, then entries of a wait byte (release bit 0x80, tens of ms) and a key code; a
// longer wait extends the entry by "03 hundreds" or "03 00 hundreds-high hundreds-low".
// Each case: DelayTimeSelStatus, LoopTimeSelStatus, MacroLoopTimes, the items, and the buffer's
// leading bytes (zeros after them).
const std::tuple<int, int, std::string, std::vector<std::string>, std::string> kEncodings[] = {
    // A recorded delay goes into the event before it; without recorded delays every event waits 50 ms.
    {1, 0, "5", {"A   Dn", "120 ms", "A   Up"}, "00 01 0C 04 80 04"},
    {0, 1, "3", {"A   Dn", "A   Up"}, "00 03 05 04 85 04"},
    {0, 1, "1", {"A   Dn", "1550 ms", "A   Up"}, "00 01 32 04 0F 03 85 04"},
    {1,
     0,
     "1",
     {"A   Dn", "1270 ms", "A   Dn", "1271 ms", "A   Up", "25500 ms", "A   Up", "25501 ms"},
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
    {0,
     0,
     "1",
     {"R-Button   Dn", "M-Button   Up", "b   Dn", "Application   Dn", "No Such Key   Dn"},
     "00 01 05 F1 85 F2 05 00 05 00 05 00"},
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
