#include "core/settings/ReportRate.h"

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

} // namespace veldrane
