#include "macro/MacroEncoder.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "macro/MacroTestSupport.h"

namespace veldrane {
namespace {

using test::BufferHex;
using test::HexBytes;
using test::Macro;

TEST(MacroEncoder, RecordedDelayGoesIntoTheEventBeforeIt)
{
    EXPECT_EQ(HexBytes(EncodeMacro(Macro(1, 0, "5", {"A   Dn", "120 ms", "A   Up"}))), BufferHex("00 01 0C 04 80 04"));
}

TEST(MacroEncoder, WithoutRecordedDelaysEveryEventWaits50Ms)
{
    EXPECT_EQ(HexBytes(EncodeMacro(Macro(0, 1, "3", {"A   Dn", "A   Up"}))), BufferHex("00 03 05 04 85 04"));
}

TEST(MacroEncoder, WithoutRecordedDelaysADelayItemStillCounts)
{
    EXPECT_EQ(HexBytes(EncodeMacro(Macro(0, 1, "1", {"A   Dn", "1550 ms", "A   Up"}))),
              BufferHex("00 01 32 04 0F 03 85 04"));
}

TEST(MacroEncoder, BoundaryDelaysAfterSuccessiveEvents)
{
    const auto record =
        Macro(1, 0, "1", {"A   Dn", "1270 ms", "A   Dn", "1271 ms", "A   Up", "25500 ms", "A   Up", "25501 ms"});
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex("00 01 7F 04 47 04 0C 03 80 04 FF 03 81 04 00 03 00 FF"));
}

struct DelayCase
{
    const char* delayItem;
    const char* entries; // of a release of B followed by that delay
};

class MacroEncoderDelay : public testing::TestWithParam<DelayCase>
{
};

TEST_P(MacroEncoderDelay, EncodesTheWaitInTheFormItNeeds)
{
    const auto record = Macro(1, 0, "1", {"B   Up", GetParam().delayItem});
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex(std::string("00 01 ") + GetParam().entries));
}

// The wide entry's 16 bits of hundreds end at 6553500 ms; longer waits are cut to that.
INSTANTIATE_TEST_SUITE_P(
    MacroEncoder, MacroEncoderDelay,
    testing::Values(DelayCase{"0 ms", "80 05"}, DelayCase{"9 ms", "80 05"}, DelayCase{"10 ms", "81 05"},
                    DelayCase{"1270 ms", "FF 05"}, DelayCase{"1271 ms", "C7 05 0C 03"},
                    DelayCase{"25500 ms", "80 05 FF 03"}, DelayCase{"25501 ms", "81 05 00 03 00 FF"},
                    DelayCase{"6553500 ms", "80 05 00 03 FF FF"}, DelayCase{"6553599 ms", "E3 05 00 03 FF FF"},
                    DelayCase{"6553600 ms", "80 05 00 03 FF FF"}, DelayCase{"4294967295 ms", "80 05 00 03 FF FF"},
                    DelayCase{"-50 ms", "80 05"}, DelayCase{"soon ms", "80 05"}));

struct KeyCase
{
    const char* name;
    const char* code;
};

class MacroEncoderKey : public testing::TestWithParam<KeyCase>
{
};

TEST_P(MacroEncoderKey, SendsTheMacroTableCode)
{
    const std::string name = GetParam().name;
    auto record = Macro(0, 0, "1", {});
    record.items = {MacroItem::Press(name), MacroItem::Release(name)};
    const std::string code = GetParam().code;
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex("00 01 05 " + code + " 85 " + code));
}

INSTANTIATE_TEST_SUITE_P(MacroEncoder, MacroEncoderKey,
                         testing::Values(KeyCase{"L-Button", "F0"}, KeyCase{"R-Button", "F1"},
                                         KeyCase{"M-Button", "F2"}, KeyCase{"B", "05"}, KeyCase{"b", "00"},
                                         KeyCase{"Application", "00"}, KeyCase{"No Such Key", "00"}));

TEST(MacroEncoder, MouseButtonsWithRecordedDelaysWaitNothing)
{
    EXPECT_EQ(HexBytes(EncodeMacro(Macro(1, 0, "1", {"L-Button   Dn", "L-Button   Up"}))),
              BufferHex("00 01 00 F0 80 F0"));
}

TEST(MacroEncoder, DelayItemsNotRightAfterAnEventSendNothing)
{
    EXPECT_EQ(HexBytes(EncodeMacro(Macro(1, 0, "1", {"50 ms", "A   Dn", "100 ms", "200 ms", "A   Up"}))),
              BufferHex("00 01 0A 04 80 04"));
}

struct LoopCase
{
    int loopTimeSelStatus;
    const char* loopTimes;
    const char* loopBytes;
};

class MacroEncoderLoop : public testing::TestWithParam<LoopCase>
{
};

TEST_P(MacroEncoderLoop, LoopCountOutsideItsRangeIsOne)
{
    const auto record = Macro(1, GetParam().loopTimeSelStatus, GetParam().loopTimes, {"A   Dn"});
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex(std::string(GetParam().loopBytes) + " 00 04"));
}

INSTANTIATE_TEST_SUITE_P(MacroEncoder, MacroEncoderLoop,
                         testing::Values(LoopCase{1, "1", "00 01"}, LoopCase{1, "256", "01 00"},
                                         LoopCase{1, "65535", "FF FF"}, LoopCase{1, "0", "00 01"},
                                         LoopCase{1, "70000", "00 01"}, LoopCase{1, "", "00 01"},
                                         LoopCase{1, "-3", "00 01"}, LoopCase{0, "300", "00 01"}));

struct LoopBytesCase
{
    long count;
    std::uint8_t high;
    std::uint8_t low;
};

class MacroSetLoopBytes : public testing::TestWithParam<LoopBytesCase>
{
};

TEST_P(MacroSetLoopBytes, WritesOnlyBytesZeroAndOneBigEndian)
{
    MacroBuffer buffer;
    buffer.fill(0xAA);
    SetLoopBytes(buffer, GetParam().count);
    EXPECT_EQ(buffer[0], GetParam().high);
    EXPECT_EQ(buffer[1], GetParam().low);
    EXPECT_TRUE(std::all_of(buffer.begin() + 2, buffer.end(), [](std::uint8_t b) { return b == 0xAA; }));
}

INSTANTIATE_TEST_SUITE_P(MacroEncoder, MacroSetLoopBytes,
                         testing::Values(LoopBytesCase{1, 0x00, 0x01}, LoopBytesCase{255, 0x00, 0xFF},
                                         LoopBytesCase{256, 0x01, 0x00}, LoopBytesCase{65535, 0xFF, 0xFF},
                                         LoopBytesCase{0, 0x00, 0x01}, LoopBytesCase{65536, 0x00, 0x01},
                                         LoopBytesCase{-1, 0x00, 0x01}));

// count press/release pairs of A without recorded delays: one entry each, 50 ms.
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

// 63 entries fit, but the 63rd is a press whose release would be left out: the mouse would hold
// the key for ever.
TEST(MacroEncoder, SixtyFourEventsEndAtTheLastPointWhereEveryKeyIsReleased)
{
    bool leftOut = false;
    EXPECT_EQ(HexBytes(EncodeMacro(ShortEvents(64), &leftOut)), BufferHex(ShortEventsHex(62)));
    EXPECT_TRUE(leftOut);
    EXPECT_EQ(HexBytes(EncodeMacro(ShortEvents(63), &leftOut)), BufferHex(ShortEventsHex(62) + " 05 04"));
    EXPECT_FALSE(leftOut) << "everything fits: a press without its release is the user's own choice";
}

TEST(MacroEncoder, EventWithExtensionFillingTheLastFourBytesIsKept)
{
    MacroRecord record = ShortEvents(61);
    record.DelayTimeSelStatus = 1;
    for (std::size_t i = 1; i < record.items.size(); i += 2) {
        record.items.insert(record.items.begin() + static_cast<std::ptrdiff_t>(i), MacroItem::Delay(50));
    }
    record.items.push_back(MacroItem::Delay(50));
    record.items.push_back(MacroItem::Press("B"));
    record.items.push_back(MacroItem::Delay(2000));
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex(ShortEventsHex(61) + " 00 05 14 03"));
}

TEST(MacroEncoder, EventThatDoesNotFitWholeIsDroppedWithAllAfterIt)
{
    MacroRecord record = ShortEvents(62);
    record.items.push_back(MacroItem::Press("B"));
    record.items.push_back(MacroItem::Delay(2000)); // needs four bytes, two are left
    record.items.push_back(MacroItem::Press("C"));  // would fit, but comes after
    EXPECT_EQ(HexBytes(EncodeMacro(record)), BufferHex(ShortEventsHex(62)));

    MacroRecord wide = ShortEvents(61);
    wide.items.push_back(MacroItem::Press("B"));
    wide.items.push_back(MacroItem::Delay(30000)); // needs six bytes, four are left
    wide.items.push_back(MacroItem::Press("C"));
    EXPECT_EQ(HexBytes(EncodeMacro(wide)), BufferHex(ShortEventsHex(60))) << "A is still held after the 61st";

    // Keys held across each other: the cut goes back to before the first of them.
    MacroRecord chord = ShortEvents(60);
    for (const char* key : {"B", "C"}) {
        chord.items.push_back(MacroItem::Press(key));
    }
    for (const char* key : {"B", "C"}) {
        chord.items.push_back(MacroItem::Release(key));
    }
    EXPECT_EQ(HexBytes(EncodeMacro(chord)), BufferHex(ShortEventsHex(60)));
}

} // namespace
} // namespace veldrane
