#pragma once

#include <QtGlobal>

#include <cstdio>
#include <ctime>

namespace veldrane {

// For the start-up benchmark: with VELDRANE_REPORT_FIRST_PAINT set, the first paint of a window
// writes "first-paint <ns>" to standard error, the wall clock in nanoseconds, which the benchmark
// sets against the moment it started the program. Costs one flag test otherwise.
inline void ReportFirstPaint()
{
    static bool reported = false;
    if (reported) {
        return;
    }
    reported = true;
    if (!qEnvironmentVariableIsSet("VELDRANE_REPORT_FIRST_PAINT")) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stderr);
}

} // namespace veldrane
