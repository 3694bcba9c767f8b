#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

namespace veldrane {

// A way in which the simulated mouse misbehaves, as the user names it on the command line:
//
//   silent          it takes no report and answers nothing, like a mouse that hangs
//   garbage         it takes what it is sent, but answers reads with wrong lengths and bytes
//   unplug-after:N  it leaves right after the N-th report of the run reached it
//   slow:MS         each of its answers comes MS milliseconds late
struct SimulatedFault
{
    enum class Kind
    {
        None,
        Silent,
        Garbage,
        UnplugAfter,
        Slow,
    };

    static constexpr std::size_t kMostReports = 1'000'000;
    static constexpr std::chrono::milliseconds kLongestDelay{60'000};

    Kind kind = Kind::None;
    std::size_t reports = 0;            // UnplugAfter: 0 to kMostReports (0: gone from the start)
    std::chrono::milliseconds delay{0}; // Slow: 0 to kLongestDelay

    // The fault a text names; nothing for a text that names none, or a number out of range.
    static std::optional<SimulatedFault> Parse(std::string_view text);

    friend bool operator==(const SimulatedFault&, const SimulatedFault&) = default;
};

// What --sim-fault takes, for usage lines and error messages.
inline constexpr std::string_view kSimulatedFaultChoices = "silent, garbage, unplug-after:N or slow:MS";

} // namespace veldrane
