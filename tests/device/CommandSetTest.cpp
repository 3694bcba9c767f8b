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

TEST_F(CommandSetTest, SettingsBlockReadOf128BytesChangesExactlyImageBytes12To91)
{
    image.bytes.fill(0xEE);
    EXPECT_TRUE(TransferSettingsBlock(link, image, BlockDirection::Read));
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
    SimulatedFault::Kind fault;
};

class LostSettingsAnswerTest : public CommandSetTest, public ::testing::WithParamInterface<LostAnswerCase>
{
};

TEST_P(LostSettingsAnswerTest, LeavesTheSettingsAreaAsItWas)
{
    image.SettingsArea(0)[0] = 0x42;
    image.SettingsArea(0)[127] = 0x43;
    const DeviceImage before = image;
    mouse.SetFault({GetParam().fault});
    EXPECT_FALSE(TransferSettingsBlock(link, image, BlockDirection::Read));
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_TRUE(clock.pauses.empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, LostSettingsAnswerTest,
                         ::testing::Values(LostAnswerCase{"Silent", SimulatedFault::Kind::Silent},
                                           // announces 255 bytes, then sends one short report
                                           LostAnswerCase{"Garbage", SimulatedFault::Kind::Garbage}),
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

} // namespace
} // namespace veldrane::test
