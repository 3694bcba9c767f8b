#pragma once

#include <cstdint>
#include <optional>

namespace veldrane {

// reportRate is 1000 ÷ the frequency of the mouse's reports: the mouse knows these four.
inline constexpr std::uint8_t kRate1000Hz = 1;
inline constexpr std::uint8_t kRate500Hz = 2;
inline constexpr std::uint8_t kRate250Hz = 4;
inline constexpr std::uint8_t kRate125Hz = 8;

// The frequency in Hz (1000 ÷ reportRate) of the four rates the mouse knows; nothing for any other
// byte, which a loaded record may hold and which is sent unchanged.
std::optional<int> ReportFrequencyOf(std::uint8_t reportRate);

// The rate `steps` frequencies above (below, when negative) reportRate among 125, 250, 500 and
// 1000 Hz, held at the two ends. A byte that is none of the four counts as below 125 Hz.
std::uint8_t ReportRateStepped(std::uint8_t reportRate, int steps);

} // namespace veldrane
