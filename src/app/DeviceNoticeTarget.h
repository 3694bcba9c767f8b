#pragma once

namespace veldrane {

// The device notices (message 0x402): code and value, shown as balloons by the notice handler.
inline constexpr int kMouseDetectedNotice = 14;
inline constexpr int kMouseNotDetectedNotice = 15;

class DeviceNoticeTarget
{
public:
    virtual ~DeviceNoticeTarget() = default;

    virtual void SendDeviceNotice(int code, int value) = 0;
};

} // namespace veldrane
