#include "core/device/SettingsBlock.h"

#include <algorithm>
#include <array>

#include "core/profile/ProfileRecord.h"

namespace veldrane {

namespace {

constexpr std::size_t kConstantOne = 2;
constexpr std::size_t kConstant42 = 50;
constexpr std::size_t kAngleSnap = 51;
constexpr std::size_t kConstant0F = 64;
constexpr std::size_t kConstantFour = 70;
constexpr std::size_t kLightMode = 71;
constexpr std::size_t kLightParameter = 72;
constexpr std::size_t kLightExtra = 73;
constexpr std::size_t kSensitivityX = 74;
constexpr std::size_t kSensitivityY = 75;
constexpr std::size_t kStageSwitches = 100;
constexpr std::size_t kStageColours = 104;
constexpr std::size_t kClearedFrom = 104; // 104-127 cleared before the colours go in
constexpr std::size_t kDownloadedStages = 4;
constexpr std::size_t kStageColourBytes = 3 * kDownloadedStages;

constexpr std::uint8_t kSensitivityFactor = 20;
constexpr std::uint8_t kLightExtraValue = 3;

// Angle-snap code by slider position 1 to 11; position 0, which the page never produces, and any
// byte beyond the table also give 0x00.
constexpr std::array<std::uint8_t, 11> kAngleSnapCodes = {0x00, 0x82, 0x84, 0x85, 0x86, 0x87,
                                                          0x89, 0x8B, 0x8D, 0x8F, 0x00};

// Lighting by lightMode, with lightLevel holding one level per mode (modes 1, 2, 3):
//
//   mode            71     72          73
//   0               0      kept        kept
//   1, level 1      0      kept        kept
//   1, other level  1      level x 2   3
//   2               2      level       3
//   3               3      level x 3   kept
//   any other       mode   kept        kept
enum LightMode : std::uint8_t
{
    kLightOff = 0,
    kLightSingleColour = 1,
    kLightPulsating = 2,
    kLightMultiColour = 3,
};

void PatchLighting(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block)
{
    const std::uint8_t mode = record.lightMode;
    switch (mode) {
    case kLightSingleColour: {
        const std::uint8_t level = record.lightLevel[0];
        if (level == 1) {
            block[kLightMode] = kLightOff;
            break;
        }
        block[kLightMode] = mode;
        block[kLightParameter] = static_cast<std::uint8_t>(level * 2);
        block[kLightExtra] = kLightExtraValue;
        break;
    }
    case kLightPulsating:
        block[kLightMode] = mode;
        block[kLightParameter] = record.lightLevel[1];
        block[kLightExtra] = kLightExtraValue;
        break;
    case kLightMultiColour:
        block[kLightMode] = mode;
        block[kLightParameter] = static_cast<std::uint8_t>(record.lightLevel[2] * 3);
        break;
    default:
        block[kLightMode] = mode;
        break;
    }
}

} // namespace

void PatchSettingsBlock(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block)
{
    block[kConstantOne] = 1;
    block[kConstant42] = 0x42;
    const std::size_t snap = record.angleSnap;
    block[kAngleSnap] = snap >= 1 && snap <= kAngleSnapCodes.size() ? kAngleSnapCodes[snap - 1] : 0x00;
    block[kConstant0F] = 0x0F;
    block[kConstantFour] = 4;
    PatchLighting(record, block);
    block[kSensitivityX] = static_cast<std::uint8_t>(record.sensitivityX * kSensitivityFactor);
    block[kSensitivityY] = static_cast<std::uint8_t>(record.sensitivityY * kSensitivityFactor);

    std::uint8_t switches = 0;
    for (std::size_t stage = 0; stage < kDownloadedStages; ++stage) {
        block[kSettingsBlockCpiCodes + stage] = record.cpiValue[stage];
        block[kSettingsBlockCpiCodesAgain + stage] = record.cpiValue[stage];
        // A switch byte other than 0 or 1 still sets only its own bit.
        if (record.cpiEnabled[stage] != 0) {
            switches = static_cast<std::uint8_t>(switches | (1u << stage));
        }
    }
    block[kStageSwitches] = switches;

    std::fill(block.begin() + kClearedFrom, block.end(), 0);
    std::copy_n(record.cpiColor.begin(), kStageColourBytes, block.begin() + kStageColours);
}

} // namespace veldrane
