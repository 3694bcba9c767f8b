#include "core/buttons/KeyMatrixBlock.h"

#include <algorithm>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/profile/ProfileRecord.h"

namespace veldrane {
namespace {

// KeyMatrixEntry, byte 0 is the entry type:
//   0x00 keyboard          byte 1 modifier bits, byte 2 first key usage, byte 3 second key usage
//   0x01 mouse button      byte 2 the button code 0xF0 to 0xF8
//   0x03 consumer control  bytes 2, 3 the usage little-endian
//   0x07 CPI function      byte 2 1, 2 or 3
//   0x09 macro             byte 1 repeat mode, byte 2 macro number 1 to 12
//   0x0A double click      bytes 1 to 3 F0 1E 02
// An all-zero entry does nothing.
constexpr std::uint8_t kEntryKeyboard = 0x00;
constexpr std::uint8_t kEntryMouseButton = 0x01;
constexpr std::uint8_t kEntryConsumer = 0x03;
constexpr std::uint8_t kEntryCpi = 0x07;
constexpr std::uint8_t kEntryMacro = 0x09;

constexpr std::uint8_t kButtonLeft = 0xF0;
constexpr std::uint8_t kButtonRight = 0xF1;
constexpr std::uint8_t kButtonMiddle = 0xF2;
constexpr std::uint8_t kButtonBackward = 0xF3;
constexpr std::uint8_t kButtonForward = 0xF4;
constexpr std::uint8_t kButtonTiltLeft = 0xF5;
constexpr std::uint8_t kButtonTiltRight = 0xF6;

constexpr KeyMatrixEntry kDoubleClickEntry = {0x0A, 0xF0, 0x1E, 0x02};

// "Media player" is the one multimedia usage above 0xFF (0x0183); the record keeps only 0x83.
constexpr std::uint8_t kMediaPlayerUsageLow = 0x83;
constexpr std::uint8_t kMediaPlayerUsageHigh = 0x01;

// "HotKey" sends Left Control as a key usage in the first key position, not as a modifier bit.
constexpr std::uint8_t kLeftControlUsage = 0xE0;

// KeyMatrixBlock: 32 entries of 4 bytes, entry s at byte 4 * s. Buttons 0 to 11 sit in slots
// 0 to 11 in the order below; slots 14 and 15 are fixed; slots 12, 13 and 16 to 31 stay zero.
constexpr std::size_t kEntrySize = 4;
constexpr std::array<std::size_t, kButtonCount> kButtonSlot = {0, 1, 2, 5, 6, 3, 4, 11, 10, 9, 8, 7};
constexpr std::size_t kFixedSlotA = 14;
constexpr std::size_t kFixedSlotB = 15;
constexpr KeyMatrixEntry kFixedEntryA = {kEntryMouseButton, 0x00, 0xF7, 0x00};
constexpr KeyMatrixEntry kFixedEntryB = {kEntryMouseButton, 0x00, 0xF8, 0x00};

static_assert((kFixedSlotB + 1) * kEntrySize <= kKeyMatrixBlockSize);

constexpr KeyMatrixEntry MouseButton(std::uint8_t code)
{
    return {kEntryMouseButton, 0x00, code, 0x00};
}

void PutEntry(KeyMatrixBlock& block, std::size_t slot, const KeyMatrixEntry& entry)
{
    std::copy(entry.begin(), entry.end(), block.begin() + static_cast<std::ptrdiff_t>(slot * kEntrySize));
}

} // namespace

KeyMatrixEntry EncodeButton(const ProfileRecord& record, std::size_t button)
{
    if (button >= kButtonCount) {
        return {};
    }
    switch (static_cast<FunctionCode>(record.buttonFunction[button])) {
    case FunctionCode::Click:
        return MouseButton(kButtonLeft);
    case FunctionCode::Menu:
        return MouseButton(kButtonRight);
    case FunctionCode::UniversalScroll:
        return MouseButton(kButtonMiddle);
    case FunctionCode::IeForward:
        return MouseButton(kButtonForward);
    case FunctionCode::IeBackward:
        return MouseButton(kButtonBackward);
    case FunctionCode::DoubleClick:
        return kDoubleClickEntry;
    case FunctionCode::CpiCycle:
        return {kEntryCpi, 0x00, record.cpiAction[button], 0x00};
    case FunctionCode::Multimedia: {
        const std::uint8_t usage = record.mediaUsage[button];
        const std::uint8_t high = usage == kMediaPlayerUsageLow ? kMediaPlayerUsageHigh : 0x00;
        return {kEntryConsumer, 0x00, usage, high};
    }
    case FunctionCode::HotKey:
        return {kEntryKeyboard, 0x00, kLeftControlUsage, record.editKey[button]};
    case FunctionCode::Windows:
        return SystemCommandEntry(record.systemCommand[button]);
    case FunctionCode::SingleKey:
        return {kEntryKeyboard, 0x00, record.singleKey[button], 0x00};
    case FunctionCode::ComboKey:
        return {kEntryKeyboard, record.comboModifier[button], record.comboKey1[button], record.comboKey2[button]};
    case FunctionCode::MacroKey:
        // The mouse numbers its macro slots from 1; the record keeps the number from 0.
        return {kEntryMacro, record.macroRepeat[button], static_cast<std::uint8_t>(record.macroNumber[button] + 1),
                0x00};
    case FunctionCode::ButtonOff:
        return {};
    case FunctionCode::LeftTitleScroll:
        return MouseButton(kButtonTiltLeft);
    case FunctionCode::RightTitleScroll:
        return MouseButton(kButtonTiltRight);
    }
    return {}; // codes 16 to 255 from a file send nothing
}

KeyMatrixBlock BuildKeyMatrixBlock(const ProfileRecord& record)
{
    KeyMatrixBlock block{};
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        PutEntry(block, kButtonSlot[button], EncodeButton(record, button));
    }
    PutEntry(block, kFixedSlotA, kFixedEntryA);
    PutEntry(block, kFixedSlotB, kFixedEntryB);
    return block;
}

} // namespace veldrane
