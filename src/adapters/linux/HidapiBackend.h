#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ports/HidBackend.h"

namespace veldrane {

// The HID interfaces of a Linux machine through hidapi's hidraw backend. One hidraw node may
// carry several top-level collections; each is listed on its own, with the report lengths our
// descriptor parser computes from the node's report descriptor in sysfs. An open node behaves as
// the HidDevice contract says: every input report starts with its report id, 0 on a node without
// numbered reports (where hidraw leaves the id out).
class HidapiBackend : public HidBackend
{
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override;

    // The report descriptor of the hidraw node at `path` ("/dev/hidrawN"), from
    // /sys/class/hidraw/hidrawN/device/report_descriptor; empty when it cannot be read.
    static std::vector<std::uint8_t> ReadReportDescriptor(const std::string& path);
};

} // namespace veldrane
