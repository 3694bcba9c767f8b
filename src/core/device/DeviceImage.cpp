#include "core/device/DeviceImage.h"

namespace veldrane {

namespace {

std::size_t SettingsAreaOffset(std::size_t profile)
{
    const std::size_t area = profile < kSettingsAreaCount ? profile : 0;
    return kImageSettingsAreas + area * kImageBlockSize;
}

std::size_t MacroBufferOffset(std::size_t number)
{
    const std::size_t index = (number + kImageMacroCount - 1) % kImageMacroCount;
    return kImageMacroBuffers + index * kImageBlockSize;
}

} // namespace

std::span<std::uint8_t, kImageBlockSize> DeviceImage::SettingsArea(std::size_t profile)
{
    return std::span<std::uint8_t, kImageBlockSize>(bytes.data() + SettingsAreaOffset(profile), kImageBlockSize);
}

std::span<const std::uint8_t, kImageBlockSize> DeviceImage::SettingsArea(std::size_t profile) const
{
    return std::span<const std::uint8_t, kImageBlockSize>(bytes.data() + SettingsAreaOffset(profile), kImageBlockSize);
}

std::span<std::uint8_t, kImageBlockSize> DeviceImage::KeyMatrix()
{
    return std::span<std::uint8_t, kImageBlockSize>(bytes.data() + kImageKeyMatrix, kImageBlockSize);
}

std::span<const std::uint8_t, kImageBlockSize> DeviceImage::KeyMatrix() const
{
    return std::span<const std::uint8_t, kImageBlockSize>(bytes.data() + kImageKeyMatrix, kImageBlockSize);
}

std::span<std::uint8_t, kImageBlockSize> DeviceImage::MacroBuffer(std::size_t number)
{
    return std::span<std::uint8_t, kImageBlockSize>(bytes.data() + MacroBufferOffset(number), kImageBlockSize);
}

std::span<const std::uint8_t, kImageBlockSize> DeviceImage::MacroBuffer(std::size_t number) const
{
    return std::span<const std::uint8_t, kImageBlockSize>(bytes.data() + MacroBufferOffset(number), kImageBlockSize);
}

} // namespace veldrane
