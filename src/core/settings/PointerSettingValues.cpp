#include "core/settings/PointerSettingValues.h"

#include <algorithm>

#include "core/profile/ProfileRecord.h"

namespace veldrane {

namespace {

constexpr int kSlowestDoubleClickTime = 900;
constexpr int kDoubleClickTimeStep = 70;
constexpr MouseAcceleration kEnhancedPrecision{6, 10, 1};
constexpr MouseAcceleration kNoAcceleration{0, 0, 0};

} // namespace

int PointerSpeedOf(std::uint8_t mouseSpeed)
{
    if (mouseSpeed == 1) {
        return 1;
    }
    return std::min(mouseSpeed * 2 - 2, kMaxPointerSpeed);
}

int DoubleClickTimeOf(std::uint8_t doubleClickSpeed)
{
    return kSlowestDoubleClickTime - (doubleClickSpeed - 1) * kDoubleClickTimeStep;
}

std::uint32_t WheelScrollLinesOf(const ProfileRecord& record)
{
    return record.scrollOneScreen != 0 ? kWheelScrollOneScreen : record.scrollLines;
}

MouseAcceleration MouseAccelerationOf(std::uint8_t pointerPrecision)
{
    return pointerPrecision == 1 ? kEnhancedPrecision : kNoAcceleration;
}

} // namespace veldrane
