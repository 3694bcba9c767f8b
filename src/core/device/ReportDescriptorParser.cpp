#include "core/device/ReportDescriptorParser.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <optional>

namespace veldrane {

namespace {

// Short item prefix: bits 0-1 size code (0, 1, 2 or 4 data bytes), bits 2-3 type, bits 4-7 tag.
// A long item starts with 0xFE, then its data size and tag; it carries nothing the lengths need.
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::array<std::size_t, 4> kDataSizes = {0, 1, 2, 4};

enum class ItemType : std::uint8_t
{
    Main = 0,
    Global = 1,
    Local = 2,
    Reserved = 3,
};

// Main item tags.
constexpr std::uint8_t kInput = 0x8;
constexpr std::uint8_t kOutput = 0x9;
constexpr std::uint8_t kFeature = 0xB;
constexpr std::uint8_t kCollection = 0xA;
constexpr std::uint8_t kEndCollection = 0xC;

// Global item tags.
constexpr std::uint8_t kUsagePage = 0x0;
constexpr std::uint8_t kReportSize = 0x7;
constexpr std::uint8_t kReportId = 0x8;
constexpr std::uint8_t kReportCount = 0x9;
constexpr std::uint8_t kPush = 0xA;
constexpr std::uint8_t kPop = 0xB;

// Local item tags.
constexpr std::uint8_t kUsage = 0x0;

// Deeper Push nesting than any real device uses; further pushes are ignored.
constexpr std::size_t kMaxPushDepth = 32;
constexpr std::uint64_t kMaxLength = 0xFFFF;

struct GlobalState
{
    std::uint16_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

enum ReportKind
{
    InputReport,
    OutputReport,
    FeatureReport,
    ReportKindCount,
};

struct CollectionBits
{
    TopLevelCollection collection;
    // Bits per report id, per kind.
    std::array<std::map<std::uint8_t, std::uint64_t>, ReportKindCount> bits;
};

std::uint32_t LittleEndian(std::span<const std::uint8_t> data)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    return value;
}

std::uint16_t LengthOf(const std::map<std::uint8_t, std::uint64_t>& reports)
{
    if (reports.empty()) {
        return 0;
    }
    std::uint64_t longest = 0;
    for (const auto& [id, bits] : reports) {
        longest = std::max(longest, (bits + 7) / 8);
    }
    return static_cast<std::uint16_t>(std::min(longest + 1, kMaxLength));
}

} // namespace

ReportDescriptorInfo ParseReportDescriptor(std::span<const std::uint8_t> descriptor)
{
    ReportDescriptorInfo info;
    std::vector<CollectionBits> collections;
    GlobalState global;
    std::vector<GlobalState> pushed;
    // The first usage since the last main item, and whether it was a four-byte usage.
    std::optional<std::uint32_t> firstUsage;
    bool firstUsageExtended = false;
    std::size_t depth = 0;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            if (pos + 1 >= descriptor.size()) {
                break;
            }
            pos += 3 + descriptor[pos + 1];
            continue;
        }
        const std::size_t size = kDataSizes[prefix & 0x03];
        if (pos + 1 + size > descriptor.size()) {
            break; // cut short inside an item
        }
        const std::uint32_t data = LittleEndian(descriptor.subspan(pos + 1, size));
        const auto type = static_cast<ItemType>((prefix >> 2) & 0x03);
        const std::uint8_t tag = prefix >> 4;
        pos += 1 + size;

        switch (type) {
        case ItemType::Main:
            if (tag == kCollection) {
                if (depth == 0) {
                    CollectionBits top;
                    // A four-byte usage carries its own page in the upper half.
                    const std::uint32_t usage = firstUsage.value_or(0);
                    top.collection.usagePage =
                        firstUsageExtended ? static_cast<std::uint16_t>(usage >> 16) : global.usagePage;
                    top.collection.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
                    collections.push_back(top);
                }
                ++depth;
            } else if (tag == kEndCollection) {
                depth = depth > 0 ? depth - 1 : 0;
            } else if ((tag == kInput || tag == kOutput || tag == kFeature) && depth > 0 && !collections.empty()) {
                const ReportKind kind = tag == kInput ? InputReport : tag == kOutput ? OutputReport : FeatureReport;
                const std::uint64_t bits =
                    std::min(static_cast<std::uint64_t>(global.reportSize) * global.reportCount, kMaxLength * 8);
                if (bits > 0) {
                    std::uint64_t& total = collections.back().bits[kind][global.reportId];
                    total = std::min(total + bits, kMaxLength * 8);
                }
            }
            firstUsage.reset();
            break;
        case ItemType::Global:
            switch (tag) {
            case kUsagePage:
                global.usagePage = static_cast<std::uint16_t>(data);
                break;
            case kReportSize:
                global.reportSize = data;
                break;
            case kReportCount:
                global.reportCount = data;
                break;
            case kReportId:
                if (data != 0) {
                    global.reportId = static_cast<std::uint8_t>(data);
                    info.numberedReports = true;
                }
                break;
            case kPush:
                if (pushed.size() < kMaxPushDepth) {
                    pushed.push_back(global);
                }
                break;
            case kPop:
                if (!pushed.empty()) {
                    global = pushed.back();
                    pushed.pop_back();
                }
                break;
            default:
                break;
            }
            break;
        case ItemType::Local:
            if (tag == kUsage && !firstUsage) {
                // The page of a four-byte usage travels with it; a shorter one takes the current page
                // when the collection opens.
                firstUsage = data;
                firstUsageExtended = size == 4;
            }
            break;
        case ItemType::Reserved:
            break;
        }
    }

    for (const CollectionBits& top : collections) {
        TopLevelCollection collection = top.collection;
        collection.inputReportLength = LengthOf(top.bits[InputReport]);
        collection.outputReportLength = LengthOf(top.bits[OutputReport]);
        collection.featureReportLength = LengthOf(top.bits[FeatureReport]);
        info.collections.push_back(collection);
    }
    return info;
}

} // namespace veldrane
