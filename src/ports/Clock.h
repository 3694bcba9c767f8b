#pragma once

#include <chrono>

namespace veldrane {

// A millisecond tick count that only moves forward, like the system's tick counter.
class Clock
{
public:
    virtual ~Clock() = default;

    virtual std::chrono::milliseconds Now() const = 0;
};

} // namespace veldrane
