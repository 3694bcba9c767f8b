#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "ScriptedHidDevice.h"
#include "device/CommandSet.h"
#include "device/MouseSearch.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

class CommandSetTest : public MouseTest
{
protected:
    void SetUp() override { ASSERT_TRUE(FindMouse(link)); }
};

TEST_F(CommandSetTest, SendModeByteAfterAFreshStartSendsFcWithChecksum02)
{
    image.bytes[kImageModeByte] = kModeByteValue;
    SendModeByte(link, image);
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x01, 0xFC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(mouse.ModeByte(), 0xFC);
    EXPECT_TRUE(clock.pauses.empty());
}

TEST_F(CommandSetTest, ReadCurrentProfileStoresTheNumberAsItComes)
{
    mouse.SetProfileNumber(200); // out of range, but stored unchanged
    ReadCurrentProfile(link, image);
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7D}));
    EXPECT_EQ(reports[1].kind, ReportKind::GetFeature);
    EXPECT_EQ(image.bytes[kImageProfileNumber], 200);
}

TEST_F(CommandSetTest, SettingsBlockReadOf128BytesChangesExactlyImageBytes12To91)
{
    image.bytes.fill(0xEE);
    TransferSettingsBlock(link, image, BlockDirection::Read);
    const auto factory = SimulatedMouse::FactorySettingsBlock(0);
    for (std::size_t i = 0; i < kDeviceImageSize; ++i) {
        const bool inArea = i >= 0x12 && i <= 0x91;
        ASSERT_EQ(image.bytes[i], inArea ? factory[i - 0x12] : 0xEE) << "image byte " << i;
    }
    EXPECT_EQ(clock.pauses, (Pauses{10ms}));
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x8C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x73}));
}

struct LostAnswerCase
{
    const char* name;
    SimulatedFault fault;
};

class LostSettingsAnswerTest : public CommandSetTest, public ::testing::WithParamInterface<LostAnswerCase>
{
};

TEST_P(LostSettingsAnswerTest, LeavesTheSettingsAreaAsItWas)
{
    image.SettingsArea(0)[0] = 0x42;
    image.SettingsArea(0)[127] = 0x43;
    const DeviceImage before = image;
    mouse.SetFault(GetParam().fault);
    TransferSettingsBlock(link, image, BlockDirection::Read);
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_EQ(clock.pauses, (Pauses{10ms}));
}

INSTANTIATE_TEST_SUITE_P(Faults, LostSettingsAnswerTest,
                         ::testing::Values(LostAnswerCase{"Silent", SimulatedFault::Silent},
                                           LostAnswerCase{"Garbage", SimulatedFault::Garbage}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandSetTest, SettingsBlockReadAnnouncingZeroBytesCopiesNothing)
{
    auto script = std::make_shared<HidScript>();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x00, 0, 0, 0, 0, 0x73};
    link.SetCommandInterface(std::make_unique<ScriptedHidDevice>(script), {9, 65, 65});
    image.SettingsArea(0).front() = 0x99;
    TransferSettingsBlock(link, image, BlockDirection::Read);
    EXPECT_EQ(image.SettingsArea(0).front(), 0x99);
    EXPECT_TRUE(script->readSizes.empty());
}

TEST_F(CommandSetTest, SettingsBlockWriteSendsAreaZeroThenPauses10Ms)
{
    for (std::size_t i = 0; i < kImageBlockSize; ++i) {
        image.SettingsArea(0)[i] = static_cast<std::uint8_t>(0x80 + i);
        image.SettingsArea(1)[i] = 0x11; // never sent
    }
    TransferSettingsBlock(link, image, BlockDirection::Write);
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x0C, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x73}));
    EXPECT_EQ(reports[1].bytes, Output(image.SettingsArea(0).first(64)));
    EXPECT_EQ(reports[2].bytes, Output(image.SettingsArea(0).last(64)));
    EXPECT_EQ(clock.pauses, (Pauses{20ms, 20ms, 10ms}));
    const auto stored = mouse.SettingsBlock(0);
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), image.SettingsArea(0).begin()));
}

TEST_F(CommandSetTest, KeyMatrixGoesWithTheImagesProfileNumberThenPauses2Ms)
{
    image.bytes[kImageProfileNumber] = 3;
    image.KeyMatrix()[0] = 0x01;
    image.KeyMatrix()[127] = 0x7F;
    WriteKeyMatrixBlock(link, image);
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].bytes, Feature({0x0D, 0x03, 0x80}));
    EXPECT_EQ(clock.pauses, (Pauses{20ms, 20ms, 2ms}));
    EXPECT_EQ(mouse.KeyMatrix()[127], 0x7F);
}

TEST_F(CommandSetTest, WriteMacroBlocksSendsTwelveNumberedBlocksInRisingOrder)
{
    for (std::size_t n = 1; n <= 12; ++n) {
        std::fill(image.MacroBuffer(n).begin(), image.MacroBuffer(n).end(), static_cast<std::uint8_t>(n));
    }
    WriteMacroBlocks(link, image);
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 36u);
    for (std::uint8_t n = 1; n <= 12; ++n) {
        const std::size_t first = (n - 1) * 3u;
        EXPECT_EQ(reports[first].bytes, Feature({0x0F, n, 0x80})) << "macro " << int(n);
        EXPECT_EQ(reports[first + 1].bytes, Output(image.MacroBuffer(n).first(64)));
        EXPECT_EQ(reports[first + 2].bytes, Output(image.MacroBuffer(n).last(64)));
        EXPECT_EQ(mouse.MacroSlot(n)[0], n);
    }
    EXPECT_EQ(reports[33].bytes, (Bytes{0x00, 0x0F, 0x0C, 0x80, 0x00, 0x00, 0x00, 0x00, 0x64}));
    EXPECT_EQ(clock.pauses.size(), 36u);
    EXPECT_EQ(clock.now, 720ms);
    EXPECT_TRUE(mouse.Errors().empty());
}

} // namespace
} // namespace veldrane::test
