#include "screens/main/controls/ReportRateDial.h"

#include "core/settings/ReportRate.h"
#include "screens/main/controls/DialRing.h"

namespace veldrane {

namespace {

constexpr DialRing kRing{35, 64};

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

} // namespace veldrane
