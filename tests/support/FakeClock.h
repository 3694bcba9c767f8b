#pragma once

#include <chrono>
#include <vector>

#include "ports/Clock.h"
#include "ports/Sleeper.h"

namespace veldrane::test {

// A clock that moves only when told to, and a sleeper that advances it and records each pause.
class FakeClock : public Clock, public Sleeper
{
public:
    std::chrono::milliseconds Now() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override
    {
        pauses.push_back(duration);
        now += duration;
    }
    void Advance(std::chrono::milliseconds duration) { now += duration; }

    std::chrono::milliseconds now{0};
    std::vector<std::chrono::milliseconds> pauses;
};

} // namespace veldrane::test
