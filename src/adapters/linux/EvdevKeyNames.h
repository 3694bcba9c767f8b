#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veldrane {

// X11 and Wayland number keys by the kernel's evdev code plus this offset.
inline constexpr std::uint32_t kXkbKeycodeOffset = 8;

// The US-English key name of an evdev key code, spelled as the key tables spell it; nothing for
// a code that has no such name (media keys, keys of other layouts).
std::optional<std::string_view> EvdevKeyName(std::uint32_t evdevCode);

// The same for an X11 or Wayland keycode.
std::optional<std::string_view> XkbKeycodeName(std::uint32_t keycode);

} // namespace veldrane
