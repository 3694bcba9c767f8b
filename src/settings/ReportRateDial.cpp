#include "settings/ReportRateDial.h"

#include "settings/DialRing.h"

namespace veldrane {

namespace {

constexpr DialRing kRing{35, 64};
constexpr int kFastestFrequency = 1000;

constexpr std::uint8_t kRate1000Hz = 1;
constexpr std::uint8_t kRate500Hz = 2;
constexpr std::uint8_t kRate250Hz = 4;
constexpr std::uint8_t kRate125Hz = 8;

} // namespace

std::optional<std::uint8_t> ReportRateAtDialOffset(int dx, int dy)
{
    if (!kRing.Contains(dx, dy)) {
        return std::nullopt;
    }
    return ReportRateTowards(dx, dy);
}

std::optional<std::uint8_t> ReportRateTowards(int dx, int dy)
{
    if (dx == 0 || dy == 0) {
        return std::nullopt;
    }
    if (dy < 0) {
        return dx > 0 ? kRate1000Hz : kRate125Hz;
    }
    return dx > 0 ? kRate500Hz : kRate250Hz;
}

std::optional<int> ReportFrequencyOf(std::uint8_t reportRate)
{
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
