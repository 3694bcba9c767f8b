#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/macro/MacroRecord.h"
#include "core/profile/ProfileRecord.h"

namespace veldrane {

class IniFile;

// The mouse's form of one macro, 128 bytes:
//
//   0      loop count, high byte
//   1      loop count, low byte (1 to 65535)
//   2      up to 63 entries of two bytes, back to back; zero after the last one
//
// Entries, each event followed directly by the entries of the wait after it:
//   event            bit 7 set for a release; bits 0-6 the wait in tens of ms (short form)
//                    or the wait mod 100 (long forms) | the key's HID usage, F0/F1/F2 for the
//                    left/right/middle mouse button, 0 for a name the macro table lacks
//   delay extension  wait / 100 (1 to 255), or 0 when a wide entry follows | 03
//   wide delay       high byte of wait / 100 | low byte of wait / 100
using MacroBuffer = std::array<std::uint8_t, kMacroBufferSize>;
using MacroData = std::array<std::uint8_t, kMacroCount * kMacroBufferSize>;

inline constexpr std::size_t kMacroLoopHighOffset = 0;
inline constexpr std::size_t kMacroLoopLowOffset = 1;
inline constexpr std::size_t kMacroEntriesOffset = 2;
inline constexpr std::size_t kMacroEntrySize = 2;
inline constexpr std::size_t kMacroMaxEntries = (kMacroBufferSize - kMacroEntriesOffset) / kMacroEntrySize;

inline constexpr std::uint8_t kMacroReleaseBit = 0x80;
inline constexpr std::uint8_t kMacroDelayExtensionCode = 0x03;

// Waits up to this many ms take the short form, up to kMacroExtendedDelayLimit one extension
// entry, anything longer the wide entry as well, whose 16 bits of hundreds end at kMacroMaxDelay.
inline constexpr long kMacroShortDelayLimit = 1270;
inline constexpr long kMacroExtendedDelayLimit = 25500;
inline constexpr long kMacroMaxDelay = 6553500;

inline constexpr long kMacroMaxLoopCount = 65535;

// How much of a macro reaches the mouse.
struct MacroFit
{
    std::size_t events = 0;  // the press and release lines of the macro
    std::size_t reached = 0; // of them, the first ones that the buffer holds
    // The first line of the event list that does not reach the mouse (its first event left out,
    // and everything after it); the number of lines when every event reaches it.
    std::size_t firstLeftOutLine = 0;

    bool AllReached() const { return reached == events; }
};

// A loop count the mouse can take, 1 to 65535; 1 for anything else.
long NormalizedLoopCount(long count);

// Writes the loop count, normalised, as the big-endian bytes 0 and 1 of a macro buffer.
void SetLoopBytes(std::span<std::uint8_t, kMacroBufferSize> buffer, long count);

// The mouse's form of one macro of the macro file. Each event waits for the time given by the
// item right after it; without recorded delays an event not followed by a delay item waits
// 50 ms. A macro without items is all zero.
//
// When the events do not all fit, the macro ends after the last event at which no key or button
// is held: the mouse never gets a press without its release, nor half an event. A key held from
// the first event to beyond the buffer's room thus leaves the mouse an empty macro.
MacroBuffer EncodeMacro(const MacroRecord& record, MacroFit* fit = nullptr);

// The twelve buffers of macroData, encoded from the macro file's sections in file order; all
// zero when the file is missing or the manager's list (macroCount names) is empty. Sections
// after the twelfth have no slot in the mouse and are not encoded.
MacroData RebuildMacroData(const IniFile& macroFile, std::size_t macroCount);

} // namespace veldrane
