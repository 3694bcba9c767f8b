#include "adapters/linux/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "adapters/linux/HidrawReader.h"
#include "core/device/ReportDescriptorParser.h"

namespace veldrane {

namespace {

constexpr std::string_view kHidrawPrefix = "hidraw";
constexpr std::size_t kMaxDescriptorSize = 4096; // HID_MAX_DESCRIPTOR_SIZE of the kernel

class HidapiDevice : public HidDevice
{
public:
    HidapiDevice(hid_device* device, bool numberedReports) : m_device(device), m_numbered(numberedReports) {}
    ~HidapiDevice() override { hid_close(m_device); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        return !report.empty() && hid_send_feature_report(m_device, report.data(), report.size()) >= 0;
    }

    bool GetFeature(std::span<std::uint8_t> report) override
    {
        // hidraw hands the report back with its id in byte 0, also for report id 0.
        return !report.empty() && hid_get_feature_report(m_device, report.data(), report.size()) >= 0;
    }

    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        return !report.empty() && hid_write(m_device, report.data(), report.size()) >= 0;
    }

    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override
    {
        if (report.empty()) {
            return {};
        }
        const int milliseconds = static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX));
        // Without numbered reports hidraw delivers the data alone; the 0 in front is ours.
        const std::size_t offset = m_numbered ? 0 : 1;
        if (!m_numbered) {
            report[0] = 0;
        }
        const int read = hid_read_timeout(m_device, report.data() + offset, report.size() - offset, milliseconds);
        if (read < 0) {
            return {0, true};
        }
        if (read == 0) {
            return {};
        }
        return {std::min(report.size(), static_cast<std::size_t>(read) + offset), false};
    }

    // The command interface is never waited on: the listener reads through a HidrawReader.
    HidReadResult WaitInput(std::span<std::uint8_t>) override { return {0, true}; }
    void Wake() override {}

private:
    hid_device* m_device;
    bool m_numbered;
};

} // namespace

HidapiBackend::HidapiBackend()
{
    // Done once here, before any thread opens a device.
    hid_init();
}

HidapiBackend::~HidapiBackend()
{
    hid_exit();
}

std::vector<std::uint8_t> HidapiBackend::ReadReportDescriptor(const std::string& path)
{
    const std::string node = std::filesystem::path(path).filename().string();
    if (node.rfind(kHidrawPrefix, 0) != 0 || node.size() == kHidrawPrefix.size() ||
        !std::all_of(node.begin() + static_cast<std::ptrdiff_t>(kHidrawPrefix.size()), node.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return {};
    }
    std::ifstream file("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!file) {
        return {};
    }
    std::vector<std::uint8_t> descriptor;
    char byte = 0;
    while (descriptor.size() < kMaxDescriptorSize && file.get(byte)) {
        descriptor.push_back(static_cast<std::uint8_t>(byte));
    }
    return descriptor;
}

std::vector<HidInterfaceInfo> HidapiBackend::Enumerate()
{
    std::vector<HidInterfaceInfo> interfaces;
    hid_device_info* list = hid_enumerate(0, 0);
    std::set<std::string> done;
    for (const hid_device_info* entry = list; entry != nullptr; entry = entry->next) {
        if (entry->path == nullptr || !done.insert(entry->path).second) {
            continue;
        }
        HidInterfaceInfo base;
        base.path = entry->path;
        base.vendorId = entry->vendor_id;
        base.productId = entry->product_id;
        base.version = entry->release_number;

        const ReportDescriptorInfo parsed = ParseReportDescriptor(ReadReportDescriptor(base.path));
        if (!parsed.collections.empty()) {
            for (const TopLevelCollection& collection : parsed.collections) {
                HidInterfaceInfo info = base;
                info.usagePage = collection.usagePage;
                info.usage = collection.usage;
                info.inputReportLength = collection.inputReportLength;
                info.outputReportLength = collection.outputReportLength;
                info.featureReportLength = collection.featureReportLength;
                interfaces.push_back(info);
            }
            continue;
        }
        // No descriptor to read: hidapi's usages, with no report lengths, so nothing takes it.
        for (const hid_device_info* same = entry; same != nullptr; same = same->next) {
            if (same->path != nullptr && base.path == same->path) {
                HidInterfaceInfo info = base;
                info.usagePage = same->usage_page;
                info.usage = same->usage;
                interfaces.push_back(info);
            }
        }
    }
    hid_free_enumeration(list);
    return interfaces;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path, HidOpenMode mode)
{
    const bool numbered = ParseReportDescriptor(ReadReportDescriptor(path)).numberedReports;
    if (mode == HidOpenMode::Reading) {
        // The listener sleeps on the node itself, which hidapi does not hand out.
        return HidrawReader::Open(path, numbered);
    }
    // A node that the user may not open stays closed and is passed over.
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(device, numbered);
}

} // namespace veldrane
