// The report-descriptor parser and the classification of interfaces on any descriptor: the walk
// never reads outside the descriptor, and an interface is taken as the mouse's command or
// notification interface only when its usages and report lengths are those the system needs.

#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "device/MouseSearch.h"
#include "device/ReportDescriptorParser.h"
#include "platform/HidBackend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veldrane;
    // An exact copy, so that the sanitizer sees a read one byte past the descriptor.
    const std::vector<std::uint8_t> descriptor(data, data + size);
    const ReportDescriptorInfo parsed = ParseReportDescriptor(descriptor);
    for (const TopLevelCollection& collection : parsed.collections) {
        HidInterfaceInfo info;
        info.vendorId = kMouseVendorId;
        info.productId = kMouseProductId;
        info.usagePage = collection.usagePage;
        info.usage = collection.usage;
        info.inputReportLength = collection.inputReportLength;
        info.outputReportLength = collection.outputReportLength;
        info.featureReportLength = collection.featureReportLength;
        switch (ClassifyInterface(info)) {
        case MouseInterfaceRole::Command:
            fuzz::Require(info.usagePage == kCommandUsagePage && info.usage == kCommandUsage,
                          "a command interface with other usages");
            fuzz::Require(info.featureReportLength == 9, "a command interface whose feature report is not 9 bytes");
            break;
        case MouseInterfaceRole::Notification:
            fuzz::Require(info.usagePage == kNotificationUsagePage && info.usage == kNotificationUsage,
                          "a notification interface with other usages");
            fuzz::Require(info.inputReportLength > 0, "a notification interface without input reports");
            break;
        case MouseInterfaceRole::NotTheMouse:
            fuzz::Require(false, "the mouse's own ids were not recognised");
            break;
        case MouseInterfaceRole::Other:
            break;
        }
        info.vendorId = 0x046D;
        fuzz::Require(ClassifyInterface(info) == MouseInterfaceRole::NotTheMouse, "another device taken for the mouse");
    }
    // A descriptor cut short describes the collections of its intact part: the same ones, with
    // reports no longer than the whole descriptor gives them.
    const ReportDescriptorInfo half = ParseReportDescriptor(std::span(descriptor).first(size / 2));
    fuzz::Require(half.collections.size() <= parsed.collections.size(), "a cut descriptor has more collections");
    for (std::size_t i = 0; i < half.collections.size(); ++i) {
        const TopLevelCollection& part = half.collections[i];
        const TopLevelCollection& whole = parsed.collections[i];
        fuzz::Require(part.usagePage == whole.usagePage && part.usage == whole.usage,
                      "a cut descriptor changed a collection's usages");
        fuzz::Require(part.inputReportLength <= whole.inputReportLength &&
                          part.outputReportLength <= whole.outputReportLength &&
                          part.featureReportLength <= whole.featureReportLength,
                      "a cut descriptor has longer reports");
    }
    return 0;
}
