#pragma once

#include <cstdint>

namespace veldrane {

// A horizontal slider of the settings sections: a hot strip whose first pixels give position 1,
// then one position per step, and whatever is left at the right end the last position.
struct SliderStrip
{
    int width;
    int height;
    int firstWidth; // the pixels of position 1
    int stepWidth;  // the pixels of each following position

    // The position of a press `offset` pixels right of the strip's left edge (0 to width - 1). A
    // drag that leaves the strip keeps the position of the end it left by.
    std::uint8_t PositionAt(int offset) const;
    // Where the knob of `position` stands, in pixels right of the strip's left edge. The knobs
    // stand evenly spaced, so that the scale's numbers under them do too, from the first's (the
    // middle of its pixels) to the last's, neither so close to an end that the knob (a disc as
    // high as the strip) would leave the strip; each stands on its own position's pixels but the
    // first, which a knob is wider than. The skin draws the knob pictures round these centres.
    double KnobCentre(std::uint8_t position) const;
};

// X and Y sensitivity and angle snap: 208 x 9, positions 1 (pixels 0 to 8), 2 to 10 (21 pixels
// each, 9 to 197) and 11 (198 to 207).
inline constexpr SliderStrip kStageSliderStrip{208, 9, 9, 21};

// Angle snap is off at positions 1 and 11 (and at 0 and past 11, which no press gives): the mouse
// gets code 0x00 for them.
constexpr bool AngleSnapIsOff(std::uint8_t position)
{
    return position <= 1 || position >= 11;
}

// The lighting levels: 128 x 8, positions 1 (pixels 0 to 3), 2 to 5 (30 pixels each, 4 to 123)
// and 6 (124 to 127).
inline constexpr SliderStrip kLightLevelStrip{128, 8, 4, 30};

} // namespace veldrane
