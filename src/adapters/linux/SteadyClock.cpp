#include "adapters/linux/SteadyClock.h"

#include <thread>

namespace veldrane {

std::chrono::milliseconds SteadyClock::Now() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::Sleep(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace veldrane
