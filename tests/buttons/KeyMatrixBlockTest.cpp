#include "buttons/KeyMatrixBlock.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "profile/ProfileRecord.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;

TEST(KeyMatrixBlock, MixedRecordGivesExactBlock)
{
    ProfileRecord record{};
    record.buttonFunction = {0, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16};
    // Different stale bytes in every parameter array, so an encoding that reads the wrong one shows it.
    auto parameters = record.Bytes().subspan(0x48, 0x120 - 0x48);
    std::iota(parameters.begin(), parameters.end(), std::uint8_t{0x30});
    record.cpiAction[2] = 3;
    record.mediaUsage[3] = 0x83;
    record.editKey[4] = 0x19;
    record.systemCommand[5] = 7;
    record.singleKey[6] = 0x3E;
    record.comboModifier[7] = 0x01;
    record.comboKey1[7] = 0x04;
    record.comboKey2[7] = 0x05;
    record.macroNumber[8] = 11;
    record.macroRepeat[8] = 2;
    // Slots 14 and 15 are fixed, the rest zero.
    std::string rest = " 00 00 00 00 00 00 00 00 01 00 F7 00 01 00 F8 00";
    for (int slot = 16; slot < 32; ++slot) {
        rest += " 00 00 00 00";
    }
    EXPECT_EQ(HexBytes(BuildKeyMatrixBlock(record)),
              std::string(
                  "01 00 F0 00 01 00 F4 00 " // slots 0, 1: buttons 1, 2, "Click" and "IE Forward"
                  "07 00 03 00 00 00 00 00 " // 2, 3: button 3 "CPI Loop", button 6 a system command past the seven
                  "00 00 3E 00 03 00 83 01 " // 4, 5: button 7 "Single Key" F5, button 4 "Media player" (0x0183)
                  "00 00 E0 19 00 00 00 00 " // 6, 7: button 5 "Paste" (Left Control as a key), button 12 code 16
                  "01 00 F5 00 00 00 00 00 " // 8, 9: button 11 "Left Title Scroll", button 10 "Button Off"
                  "09 02 0C 00 00 01 04 05" // 10, 11: button 9 the twelfth macro, repeat mode 2; button 8 Left Ctrl+A+B
                  ) +
                  rest);
}

} // namespace
} // namespace veldrane
