#include "platform/linux/EvdevKeyNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "buttons/KeyTables.h"

namespace veldrane {
namespace {

// Kernel codes (KEY_* of <linux/input-event-codes.h>) where the kernel's order leaves the HID
// usage order: each gives the key table's name, its X keycode (evdev + 8) the same, and the name
// the usage the mouse is sent.
TEST(EvdevKeyNames, KernelCodesGiveTheKeyTablesNamesAndUsages)
{
    const struct
    {
        std::uint32_t evdev;
        const char* name;
        std::uint8_t usage;
    } keys[] = {{16, "Q", 0x14},       {11, "0", 0x27},
                {1, "Esc", 0x29},      {43, "\\", 0x31},
                {87, "F11", 0x44},     {99, "Prnt Scrn", 0x46},
                {106, "Right", 0x4F},  {79, "Num 1", 0x59},
                {83, "Num Del", 0x63}, {127, "Application", 0x65},
                {29, "Ctrl", 0xE0},    {126, "Right Windows", 0xE7}};
    for (const auto& key : keys) {
        EXPECT_EQ(EvdevKeyName(key.evdev), key.name) << key.evdev;
        EXPECT_EQ(XkbKeycodeName(key.evdev + 8), key.name) << key.evdev;
        EXPECT_EQ(KeyCodeFromName(key.name), key.usage) << key.name;
    }
}

} // namespace
} // namespace veldrane
