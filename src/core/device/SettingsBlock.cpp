#include "core/device/SettingsBlock.h"

#include <algorithm>
#include <array>

#include "core/profile/ProfileRecord.h"

namespace veldrane {

namespace {

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
            block[kSettingsBlockLightMode] = kLightOff;
            break;
        }
        block[kSettingsBlockLightMode] = mode;
        block[kSettingsBlockLightParameter] = static_cast<std::uint8_t>(level * 2);
        block[kSettingsBlockLightExtra] = kLightExtraValue;
        break;
    }
    case kLightPulsating:
        block[kSettingsBlockLightMode] = mode;
        block[kSettingsBlockLightParameter] = record.lightLevel[1];
        block[kSettingsBlockLightExtra] = kLightExtraValue;
        break;
    case kLightMultiColour:
        block[kSettingsBlockLightMode] = mode;
        block[kSettingsBlockLightParameter] = static_cast<std::uint8_t>(record.lightLevel[2] * 3);
        break;
    default:
        block[kSettingsBlockLightMode] = mode;
        break;
    }
}

} // namespace

void PatchSettingsBlock(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block)
{
    for (const SettingsBlockFixedByte fixed : kSettingsBlockFixedBytes) {
        block[fixed.offset] = fixed.value;
    }
    const std::size_t snap = record.angleSnap;
    block[kSettingsBlockAngleSnapCode] = snap >= 1 && snap <= kAngleSnapCodes.size() ? kAngleSnapCodes[snap - 1] : 0x00;
    PatchLighting(record, block);
    block[kSettingsBlockSensitivityX] =
        static_cast<std::uint8_t>(record.sensitivityX * kSettingsBlockSensitivityFactor);
    block[kSettingsBlockSensitivityY] =
        static_cast<std::uint8_t>(record.sensitivityY * kSettingsBlockSensitivityFactor);

    std::uint8_t switches = 0;
    for (std::size_t stage = 0; stage < kSettingsBlockDownloadedStages; ++stage) {
        block[kSettingsBlockCpiCodes + stage] = record.cpiValue[stage];
        block[kSettingsBlockCpiCodesAgain + stage] = record.cpiValue[stage];
        // A switch byte other than 0 or 1 still sets only its own bit.
        if (record.cpiEnabled[stage] != 0) {
            switches = static_cast<std::uint8_t>(switches | (1u << stage));
        }
    }
    block[kSettingsBlockStageSwitches] = switches;

    std::fill(block.begin() + kSettingsBlockClearedFrom, block.end(), 0);
    std::copy_n(record.cpiColor.begin(), 3 * kSettingsBlockDownloadedStages,
                block.begin() + kSettingsBlockStageColours);
}

} // namespace veldrane
