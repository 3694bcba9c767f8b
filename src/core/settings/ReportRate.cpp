#include "core/settings/ReportRate.h"

#include <algorithm>
#include <array>

namespace veldrane {

std::optional<int> ReportFrequencyOf(std::uint8_t reportRate)
{
    constexpr int kFastestFrequency = 1000;
    switch (reportRate) {
    case kRate1000Hz:
    case kRate500Hz:
    case kRate250Hz:
    case kRate125Hz:
        return kFastestFrequency / reportRate;
    default:
        return std::nullopt;
    }
}

std::uint8_t ReportRateStepped(std::uint8_t reportRate, int steps)
{
    constexpr std::array<std::uint8_t, 4> kSlowToFast{kRate125Hz, kRate250Hz, kRate500Hz, kRate1000Hz};
    constexpr int kLast = static_cast<int>(kSlowToFast.size()) - 1;
    const auto* found = std::find(kSlowToFast.begin(), kSlowToFast.end(), reportRate);
    // An unknown byte sits one step below the slowest rate.
    const int from = found == kSlowToFast.end() ? -1 : static_cast<int>(found - kSlowToFast.begin());
    return kSlowToFast[static_cast<std::size_t>(std::clamp(from + steps, 0, kLast))];
}

} // namespace veldrane
