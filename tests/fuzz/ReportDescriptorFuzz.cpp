// The report-descriptor parser and the classification of interfaces on any descriptor: the walk
// never reads outside the descriptor, and an interface is taken as the mouse's command or
// notification interface only when its usages and report lengths are those the system needs.

#include "FuzzSupport.h"
#include "core/device/MouseSearch.h"
#include "core/device/ReportDescriptorParser.h"
#include "ports/HidBackend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veldrane;
    // An exact copy, so that the sanitizer sees a read one byte past the descriptor.
    const std::vector<std::uint8_t> descriptor(data, data + size);
    const ReportDescriptorInfo parsed = ParseReportDescriptor(descriptor);
    for (const TopLevelCollection& collection : parsed.collections) {
        HidInterfaceInfo info{.vendorId = kMouseVendorId,
                              .productId = kMouseProductId,
                              .usagePage = collection.usagePage,
                              .usage = collection.usage,
                              .inputReportLength = collection.inputReportLength,
                              .outputReportLength = collection.outputReportLength,
                              .featureReportLength = collection.featureReportLength};
        const MouseInterfaceRole role = ClassifyInterface(info);
        const bool command = role == MouseInterfaceRole::Command;
        const bool notification = role == MouseInterfaceRole::Notification;
        fuzz::Require(!command || (info.usagePage == kCommandUsagePage && info.usage == kCommandUsage &&
                                   info.featureReportLength == 9),
                      "a command interface with other usages or a feature report other than 9 bytes");
        fuzz::Require(!notification || (info.usagePage == kNotificationUsagePage && info.usage == kNotificationUsage),
                      "a notification interface with other usages");
        fuzz::Require(!notification || info.inputReportLength > 0, "a notification interface without input reports");
        fuzz::Require(role != MouseInterfaceRole::NotTheMouse, "the mouse's own ids were not recognised");
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
