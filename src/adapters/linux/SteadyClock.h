#pragma once

#include "ports/Clock.h"
#include "ports/Sleeper.h"

namespace veldrane {

// The real clock and the real pauses: the steady clock of the machine, and sleeping the calling
// thread.
class SteadyClock : public Clock, public Sleeper
{
public:
    std::chrono::milliseconds Now() const override;
    void Sleep(std::chrono::milliseconds duration) override;
};

} // namespace veldrane
