#include "buttons/ButtonFunctionCatalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "buttons/KeyTables.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

TEST(ButtonFunctionCatalogue, EditCommandsSendTheirLetterKeys)
{
    const std::string letters = "NXCVSPFYZA"; // New, Cut, Copy, Paste, Save, Print, Find, Redo, Undo, Select All
    ASSERT_EQ(letters.size(), kHotKeyCount);
    for (std::size_t q = 0; q < kHotKeyCount; ++q) {
        EXPECT_EQ(EditKeyAt(q), KeyCodeFromName(std::string(1, letters[q]))) << "position " << q;
    }
}

TEST(ButtonFunctionCatalogue, MultimediaPositionsGiveConsumerUsageLowBytes)
{
    const std::array<std::uint8_t, kMediaCount> usages = {0x83, 0xB5, 0xB6, 0xB7, 0xCD, 0xE2, 0xE9, 0xEA};
    for (std::size_t q = 0; q < kMediaCount; ++q) {
        EXPECT_EQ(MediaUsageAt(q), usages[q]) << "position " << q;
    }
}

TEST(ButtonFunctionCatalogue, PositionsOutsideASubmenuMapToZero)
{
    EXPECT_EQ(MediaUsageAt(8), 0);
    EXPECT_EQ(EditKeyAt(10), 0);
    EXPECT_EQ(CpiActionAt(3), 0);
    EXPECT_EQ(test::HexBytes(SystemCommandEntry(7)), "00 00 00 00");
    EXPECT_EQ(MediaUsageAt(static_cast<std::size_t>(-1)), 0);
}

TEST(ButtonFunctionCatalogue, CodesSplitIntoPlainSubmenuAndDialogFunctions)
{
    std::string kinds;
    for (int code = 0; code < 18; ++code) {
        const auto c = static_cast<FunctionCode>(code);
        kinds += IsPlainFunction(c) ? 'p' : IsSubmenuFunction(c) ? 's' : '-';
    }
    EXPECT_EQ(kinds, "ppppppssss---ppp--");
    EXPECT_EQ(SubmenuSize(FunctionCode::CpiCycle), 3u);
    EXPECT_EQ(SubmenuSize(FunctionCode::Multimedia), 8u);
    EXPECT_EQ(SubmenuSize(FunctionCode::HotKey), 10u);
    EXPECT_EQ(SubmenuSize(FunctionCode::Windows), 7u);
    EXPECT_EQ(SubmenuSize(FunctionCode::MacroKey), 0u);
}

} // namespace
} // namespace veldrane
