#include "core/device/SettingsBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "core/profile/ProfileRecord.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;

using Stages = std::array<std::uint8_t, kCpiStageCount>;
// cpiValue, cpiEnabled, sensitivityX, sensitivityY, angleSnap, lightMode, lightLevel, and every
// byte before the colours that differs from the block as returned, worked out by hand.
using EdgeCase = std::tuple<Stages, Stages, int, int, int, int, std::array<std::uint8_t, 3>, std::string>;

// Settings at the edges of their controls and past them, in a block as a mouse might return it:
// byte i holds 255 - i, so a byte that moves or is written by mistake shows.
TEST(SettingsBlockEdges, EveryByteOfTheBlockIsAsWorkedOut)
{
    // clang-format off
    const std::vector<EdgeCase> cases{
        // 8200 and 50 CPI, a switch byte 2 from a file, X 11 and Y 1, snap off at 1; "Single
        // color" at level 1 turns the light off.
        {{164, 1, 164, 1, 0x55, 0x66}, {1, 0, 2, 0, 1, 1}, 11, 1, 1, 1, {1, 6, 6},
         "2:01 50:42 51:00 64:0F 70:04 71:00 74:DC 75:14 "
         "84:A4 85:01 86:A4 87:01 92:A4 93:01 94:A4 95:01 100:05 "},
        // Y 13 is 260, kept to 8 bits; snap off again at 11; multi-colour at level 5.
        {{2, 3, 4, 5, 6, 7}, {1, 1, 1, 1, 0, 0}, 6, 13, 11, 3, {1, 1, 5},
         "2:01 50:42 51:00 64:0F 70:04 71:03 72:0F 74:78 75:04 "
         "84:02 85:03 86:04 87:05 92:02 93:03 94:04 95:05 100:0F "},
        // CPI codes 0 and 200 from a file go out unchanged; snap 10 is 0x8F; single colour level 6.
        {{0, 200, 1, 164, 0, 0}, {0, 0, 0, 0, 0, 0}, 1, 1, 10, 1, {6, 3, 3},
         "2:01 50:42 51:8F 64:0F 70:04 71:01 72:0C 73:03 74:14 75:14 "
         "84:00 85:C8 86:01 87:A4 92:00 93:C8 94:01 95:A4 100:00 "}};
    // clang-format on
    for (const auto& [cpiValue, cpiEnabled, x, y, snap, mode, lightLevel, expected] : cases) {
        ProfileRecord record{};
        std::tie(record.cpiValue, record.cpiEnabled, record.lightLevel) = std::tie(cpiValue, cpiEnabled, lightLevel);
        record.sensitivityX = static_cast<std::uint8_t>(x);
        record.sensitivityY = static_cast<std::uint8_t>(y);
        record.angleSnap = static_cast<std::uint8_t>(snap);
        record.lightMode = static_cast<std::uint8_t>(mode);
        std::iota(record.cpiColor.begin(), record.cpiColor.end(), std::uint8_t{1});
        std::array<std::uint8_t, kSettingsBlockSize> block{};
        std::iota(block.rbegin(), block.rend(), std::uint8_t{128}); // byte i holds 255 - i
        PatchSettingsBlock(record, block);

        std::string changed;
        for (std::size_t i = 0; i < 104; ++i) {
            if (block[i] != 255 - i) {
                changed += std::to_string(i) + ":" + HexBytes(std::span(block).subspan(i, 1)) + " ";
            }
        }
        EXPECT_EQ(changed, expected);
        // The colours of stages 1 to 4 only, then zeros.
        EXPECT_EQ(HexBytes(std::span(block).subspan(104)),
                  "01 02 03 04 05 06 07 08 09 0A 0B 0C 00 00 00 00 00 00 00 00 00 00 00 00");
    }
}

} // namespace
} // namespace veldrane
