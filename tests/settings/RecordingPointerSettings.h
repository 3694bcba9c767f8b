#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/PointerSettingsBackend.h"

namespace veldrane::test {

// Keeps every pointer setting it was handed, in order, and answers each step with the result it
// was told to give (Applied unless set otherwise).
class RecordingPointerSettings : public PointerSettingsBackend
{
public:
    enum class Step
    {
        Mouse,
        MouseSpeed,
        WheelScrollLines,
        DoubleClickTime
    };

    struct Call
    {
        Step step;
        MouseAcceleration acceleration; // SetMouse only
        std::int64_t value;             // the other three
        friend bool operator==(const Call&, const Call&) = default;
    };

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override
    {
        calls.push_back({Step::Mouse, acceleration, 0});
        return mouseResult;
    }
    PointerSettingResult SetMouseSpeed(int speed) override
    {
        calls.push_back({Step::MouseSpeed, {}, speed});
        return mouseSpeedResult;
    }
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override
    {
        calls.push_back({Step::WheelScrollLines, {}, lines});
        return wheelScrollLinesResult;
    }
    PointerSettingResult SetDoubleClickTime(int milliseconds) override
    {
        calls.push_back({Step::DoubleClickTime, {}, milliseconds});
        return doubleClickTimeResult;
    }

    static Call Mouse(int threshold1, int threshold2, int level)
    {
        return {Step::Mouse, {threshold1, threshold2, level}, 0};
    }
    static Call MouseSpeed(int speed) { return {Step::MouseSpeed, {}, speed}; }
    static Call WheelScrollLines(std::uint32_t lines) { return {Step::WheelScrollLines, {}, lines}; }
    static Call DoubleClickTime(int milliseconds) { return {Step::DoubleClickTime, {}, milliseconds}; }

    std::vector<Call> calls;
    PointerSettingResult mouseResult = PointerSettingResult::Applied;
    PointerSettingResult mouseSpeedResult = PointerSettingResult::Applied;
    PointerSettingResult wheelScrollLinesResult = PointerSettingResult::Applied;
    PointerSettingResult doubleClickTimeResult = PointerSettingResult::Applied;
};

inline std::ostream& operator<<(std::ostream& out, const RecordingPointerSettings::Call& call)
{
    switch (call.step) {
    case RecordingPointerSettings::Step::Mouse:
        return out << "SetMouse{" << call.acceleration.threshold1 << ", " << call.acceleration.threshold2 << ", "
                   << call.acceleration.level << "}";
    case RecordingPointerSettings::Step::MouseSpeed:
        return out << "SetMouseSpeed(" << call.value << ")";
    case RecordingPointerSettings::Step::WheelScrollLines:
        return out << "SetWheelScrollLines(" << call.value << ")";
    case RecordingPointerSettings::Step::DoubleClickTime:
        return out << "SetDoubleClickTime(" << call.value << ")";
    }
    return out;
}

} // namespace veldrane::test
