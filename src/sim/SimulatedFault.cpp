#include "sim/SimulatedFault.h"

#include <charconv>

namespace veldrane {

namespace {

// A decimal number from 0 to `highest`, nothing else.
std::optional<std::size_t> ParseCount(std::string_view text, std::size_t highest)
{
    std::size_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size() || value > highest) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<SimulatedFault> SimulatedFault::Parse(std::string_view text)
{
    constexpr std::string_view kUnplugAfter = "unplug-after:";
    constexpr std::string_view kSlow = "slow:";
    if (text == "silent") {
        return SimulatedFault{Kind::Silent};
    }
    if (text == "garbage") {
        return SimulatedFault{Kind::Garbage};
    }
    if (text.starts_with(kUnplugAfter)) {
        const auto reports = ParseCount(text.substr(kUnplugAfter.size()), kMostReports);
        if (!reports) {
            return std::nullopt;
        }
        return SimulatedFault{Kind::UnplugAfter, *reports};
    }
    if (text.starts_with(kSlow)) {
        const auto delay = ParseCount(text.substr(kSlow.size()), static_cast<std::size_t>(kLongestDelay.count()));
        if (!delay) {
            return std::nullopt;
        }
        return SimulatedFault{Kind::Slow, 0, std::chrono::milliseconds(*delay)};
    }
    return std::nullopt;
}

} // namespace veldrane
