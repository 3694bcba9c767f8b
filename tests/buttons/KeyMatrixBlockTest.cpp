#include "buttons/KeyMatrixBlock.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "buttons/ButtonFunctionCatalogue.h"
#include "profile/ProfileRecord.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;

std::string Encoded(const ProfileRecord& record, std::size_t button)
{
    return HexBytes(EncodeButton(record, button));
}

// Stale bytes in every parameter array, so an encoding that reads the wrong array shows it.
ProfileRecord RecordWithStaleParameters()
{
    ProfileRecord record{};
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        record.cpiAction[b] = 0xA1;
        record.mediaUsage[b] = 0xA2;
        record.systemCommand[b] = 0xA3;
        record.editKey[b] = 0xA4;
        record.singleKey[b] = 0xA5;
        record.comboModifier[b] = 0xA6;
        record.comboKey1[b] = 0xA7;
        record.comboKey2[b] = 0xA8;
        record.macroNumber[b] = 0xA9;
        record.macroRepeat[b] = 0xAA;
        record.reserved054[b] = 0xAB;
        record.reserved078[b] = 0xAC;
        record.reserved0D8[b] = 0xAD;
    }
    return record;
}

TEST(KeyMatrixBlock, AllZeroRecordGivesLeftClickOnEveryButtonAndTheFixedSlots)
{
    const KeyMatrixBlock block = BuildKeyMatrixBlock(ProfileRecord{});
    std::string expected;
    for (int slot = 0; slot < 12; ++slot) {
        expected += "01 00 F0 00 ";
    }
    expected += "00 00 00 00 00 00 00 00 01 00 F7 00 01 00 F8 00";
    for (int slot = 16; slot < 32; ++slot) {
        expected += " 00 00 00 00";
    }
    EXPECT_EQ(HexBytes(block), expected);
}

TEST(KeyMatrixBlock, MixedRecordGivesExactBlock)
{
    ProfileRecord record = RecordWithStaleParameters();
    auto set = [&record](std::size_t b, FunctionCode code) {
        record.buttonFunction[b] = static_cast<std::uint8_t>(code);
    };
    set(0, FunctionCode::Click);
    set(1, FunctionCode::DoubleClick);
    set(2, FunctionCode::CpiCycle);
    record.cpiAction[2] = 3;
    set(3, FunctionCode::Multimedia);
    record.mediaUsage[3] = 0x83;
    set(4, FunctionCode::HotKey);
    record.editKey[4] = 0x19;
    set(5, FunctionCode::Windows);
    record.systemCommand[5] = 3;
    set(6, FunctionCode::SingleKey);
    record.singleKey[6] = 0x3E;
    set(7, FunctionCode::ComboKey);
    record.comboModifier[7] = 0x01;
    record.comboKey1[7] = 0x04;
    record.comboKey2[7] = 0x05;
    set(8, FunctionCode::MacroKey);
    record.macroNumber[8] = 0;
    record.macroRepeat[8] = 1;
    set(9, FunctionCode::ButtonOff);
    set(10, FunctionCode::LeftTitleScroll);
    record.buttonFunction[11] = 0x20;

    const std::string exact = "01 00 F0 00 " // slot 0: button 1, "Click"
                              "0A F0 1E 02 " // slot 1: button 2, "Double Click"
                              "07 00 03 00 " // slot 2: button 3, "CPI Loop"
                              "00 04 2C 1B " // slot 3: button 6, "Maximum"
                              "00 00 3E 00 " // slot 4: button 7, "Single Key" F5
                              "03 00 83 01 " // slot 5: button 4, "Media player"
                              "00 00 E0 19 " // slot 6: button 5, "Paste"
                              "00 00 00 00 " // slot 7: button 12, code 0x20
                              "01 00 F5 00 " // slot 8: button 11, "Left Title Scroll"
                              "00 00 00 00 " // slot 9: button 10, "Button Off"
                              "09 01 01 00 " // slot 10: button 9, macro 1
                              "00 01 04 05 " // slot 11: button 8, Left Ctrl + A + B
                              "00 00 00 00 00 00 00 00 "
                              "01 00 F7 00 01 00 F8 00"
                              " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                              " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                              " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                              " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(HexBytes(BuildKeyMatrixBlock(record)), exact);
}

struct EncodeCase
{
    const char* what;
    std::function<void(ProfileRecord&)> setUp; // configures button index 4
    const char* entry;
};

void PrintTo(const EncodeCase& c, std::ostream* out)
{
    *out << c.what;
}

class EncodeButtonCase : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(EncodeButtonCase, GivesTheDeviceEntry)
{
    ProfileRecord record = RecordWithStaleParameters();
    GetParam().setUp(record);
    EXPECT_EQ(Encoded(record, 4), GetParam().entry);
}

constexpr std::size_t kButton = 4;

std::function<void(ProfileRecord&)> Code(std::uint8_t code)
{
    return [code](ProfileRecord& r) { r.buttonFunction[kButton] = code; };
}

std::function<void(ProfileRecord&)> With(FunctionCode code, std::function<void(ProfileRecord&)> parameters)
{
    return [code, parameters](ProfileRecord& r) {
        r.buttonFunction[kButton] = static_cast<std::uint8_t>(code);
        parameters(r);
    };
}

INSTANTIATE_TEST_SUITE_P(
    FunctionCodes, EncodeButtonCase,
    testing::Values(
        EncodeCase{"Click", Code(0), "01 00 F0 00"}, EncodeCase{"IeForwardIsF4", Code(3), "01 00 F4 00"},
        EncodeCase{"IeBackwardIsF3", Code(4), "01 00 F3 00"}, EncodeCase{"DoubleClick", Code(5), "0A F0 1E 02"},
        EncodeCase{"ButtonOff", Code(13), "00 00 00 00"}, EncodeCase{"LeftTitleScroll", Code(14), "01 00 F5 00"},
        EncodeCase{"Code16", Code(16), "00 00 00 00"},
        EncodeCase{"CpiMinus", With(FunctionCode::CpiCycle, [](ProfileRecord& r) { r.cpiAction[kButton] = 2; }),
                   "07 00 02 00"},
        EncodeCase{"CpiNeverSet", With(FunctionCode::CpiCycle, [](ProfileRecord& r) { r.cpiAction[kButton] = 0; }),
                   "07 00 00 00"},
        EncodeCase{"MediaPlayerHasHighByte01",
                   With(FunctionCode::Multimedia, [](ProfileRecord& r) { r.mediaUsage[kButton] = 0x83; }),
                   "03 00 83 01"},
        EncodeCase{"NextTrackHasHighByte00",
                   With(FunctionCode::Multimedia, [](ProfileRecord& r) { r.mediaUsage[kButton] = 0xB5; }),
                   "03 00 B5 00"},
        EncodeCase{"HotKeySendsLeftControlAsKeyInByte2",
                   With(FunctionCode::HotKey, [](ProfileRecord& r) { r.editKey[kButton] = 0x06; }), "00 00 E0 06"},
        EncodeCase{"MyComputer", With(FunctionCode::Windows, [](ProfileRecord& r) { r.systemCommand[kButton] = 0; }),
                   "03 00 94 01"},
        EncodeCase{"MaximumUsesLeftAltBit",
                   With(FunctionCode::Windows, [](ProfileRecord& r) { r.systemCommand[kButton] = 3; }), "00 04 2C 1B"},
        EncodeCase{"SystemCommand7",
                   With(FunctionCode::Windows, [](ProfileRecord& r) { r.systemCommand[kButton] = 7; }), "00 00 00 00"},
        EncodeCase{"SingleKeyInByte2",
                   With(FunctionCode::SingleKey, [](ProfileRecord& r) { r.singleKey[kButton] = 0x3E; }), "00 00 3E 00"},
        EncodeCase{"ComboRightAltTab",
                   With(FunctionCode::ComboKey,
                        [](ProfileRecord& r) {
                            r.comboModifier[kButton] = 0x40;
                            r.comboKey1[kButton] = 0x2B;
                            r.comboKey2[kButton] = 0;
                        }),
                   "00 40 2B 00"},
        EncodeCase{"Macro11Repeat2",
                   With(FunctionCode::MacroKey,
                        [](ProfileRecord& r) {
                            r.macroNumber[kButton] = 11;
                            r.macroRepeat[kButton] = 2;
                        }),
                   "09 02 0C 00"},
        EncodeCase{"Macro0Repeat0",
                   With(FunctionCode::MacroKey,
                        [](ProfileRecord& r) {
                            r.macroNumber[kButton] = 0;
                            r.macroRepeat[kButton] = 0;
                        }),
                   "09 00 01 00"}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.what); });

TEST(EncodeButton, ReadsTheParametersOfItsOwnButtonOnly)
{
    ProfileRecord record{};
    record.buttonFunction[4] = static_cast<std::uint8_t>(FunctionCode::SingleKey);
    record.singleKey[3] = 0x04;
    record.singleKey[5] = 0x05;
    EXPECT_EQ(Encoded(record, 4), "00 00 00 00");
}

TEST(EncodeButton, ButtonIndexOutsideTheTwelveSendsNothing)
{
    ProfileRecord record{};
    EXPECT_EQ(Encoded(record, 12), "00 00 00 00");
    EXPECT_EQ(Encoded(record, static_cast<std::size_t>(-1)), "00 00 00 00");
}

} // namespace
} // namespace veldrane
