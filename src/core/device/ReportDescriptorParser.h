#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace veldrane {

// The report lengths of one top-level collection, counted the way the Windows HID capabilities
// count them: per report id, the bits of all its main items rounded up to bytes; the longest
// report of each kind plus one byte for the report id; 0 for a kind the collection lacks.
struct TopLevelCollection
{
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;

    friend bool operator==(const TopLevelCollection&, const TopLevelCollection&) = default;
};

struct ReportDescriptorInfo
{
    // True when the descriptor declares report ids: every report then starts with its id. Without
    // ids the platform may leave out the leading 0 that Windows puts before each report.
    bool numberedReports = false;
    std::vector<TopLevelCollection> collections;
};

// Walks a HID report descriptor as the device sent it. A descriptor that is cut short or
// malformed yields what its intact part describes; nothing is ever read outside `descriptor`.
ReportDescriptorInfo ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace veldrane
