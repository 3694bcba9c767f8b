#pragma once

#include <chrono>

namespace veldrane {

// The fixed pauses that pace the mouse go through here, so tests can count them instead of waiting.
class Sleeper
{
public:
    virtual ~Sleeper() = default;

    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

} // namespace veldrane
