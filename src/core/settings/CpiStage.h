#pragma once

#include <cstdint>

#include "core/profile/ProfileRecord.h" // kCpiUnit

namespace veldrane {

// A CPI stage keeps its resolution as cpiValue, the CPI in units of kCpiUnit; the mouse takes 1 to
// 164 (50 to 8200 CPI). Stages 1 to 4 are shown and sent; 5 and 6 are carried through untouched.
inline constexpr std::uint8_t kMaxCpiValue = 164;
inline constexpr int kShownCpiStages = 4;

// The vertical track of a stage is 170 pixels tall, one pixel a step of 50 CPI.
inline constexpr int kCpiTrackHeight = 170;

// The cpiValue of a press `row` pixels below the top of a stage's track (0 to 169): 164 from the
// top down to row 5, then one less per pixel down to 2 at row 167; the lowest two rows give 1.
std::uint8_t CpiValueAtTrackRow(int row);

// The number of the track picture "/DPISetting/DPIStage/%d.png" of a value: value ÷ 2 rounded
// down, for any byte (0 to 82 within the domain).
int CpiTrackPictureOf(std::uint8_t cpiValue);

// The CPI a stage shows in its value box: value x 50, for any byte.
int DisplayedCpiOf(std::uint8_t cpiValue);

// The enable switch of a stage after a press: a disabled stage (0) becomes 1; any other byte
// counts as enabled and becomes 0.
std::uint8_t ToggledStageSwitch(std::uint8_t cpiEnabled);

} // namespace veldrane
