#include "core/macro/MacroEncoder.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/buttons/KeyTables.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"

namespace veldrane {

namespace {

// The wait of an event that is not followed by a delay item when delays were not recorded.
constexpr std::string_view kDefaultEventDelay = "50 ms";

constexpr long kDelayHundred = 100;
constexpr long kShortDelayUnit = 10;

// The entries of one event and the wait after it: one to three pairs of bytes.
struct EventEntries
{
    std::array<std::uint8_t, 3 * kMacroEntrySize> bytes{};
    std::size_t size = 0;

    void Add(std::uint8_t first, std::uint8_t second)
    {
        bytes[size++] = first;
        bytes[size++] = second;
    }
};

EventEntries EncodeEvent(bool release, std::uint8_t keyCode, long delay)
{
    const std::uint8_t releaseBit = release ? kMacroReleaseBit : 0;
    // The wide entry counts hundreds of ms in 16 bits; a longer wait is cut to the longest it holds.
    if (delay / kDelayHundred > 0xFFFF) {
        delay = kMacroMaxDelay;
    }
    const long hundreds = delay / kDelayHundred;
    const auto remainder = static_cast<std::uint8_t>(delay % kDelayHundred);

    EventEntries entries;
    if (delay <= kMacroShortDelayLimit) {
        entries.Add(static_cast<std::uint8_t>(releaseBit | (delay / kShortDelayUnit)), keyCode);
    } else if (delay <= kMacroExtendedDelayLimit) {
        entries.Add(releaseBit | remainder, keyCode);
        entries.Add(static_cast<std::uint8_t>(hundreds), kMacroDelayExtensionCode);
    } else {
        entries.Add(releaseBit | remainder, keyCode);
        entries.Add(0x00, kMacroDelayExtensionCode);
        entries.Add(static_cast<std::uint8_t>(hundreds >> 8), static_cast<std::uint8_t>(hundreds & 0xFF));
    }
    return entries;
}

} // namespace

long NormalizedLoopCount(long count)
{
    return count >= 1 && count <= kMacroMaxLoopCount ? count : 1;
}

void SetLoopBytes(std::span<std::uint8_t, kMacroBufferSize> buffer, long count)
{
    const long loops = NormalizedLoopCount(count);
    buffer[kMacroLoopHighOffset] = static_cast<std::uint8_t>(loops >> 8);
    buffer[kMacroLoopLowOffset] = static_cast<std::uint8_t>(loops & 0xFF);
}

MacroBuffer EncodeMacro(const MacroRecord& record, MacroFit* fit)
{
    MacroBuffer buffer{};
    // The lines of the events in order, and how many of them the buffer holds whole.
    std::vector<std::size_t> eventLines;
    std::size_t reached = 0;
    const auto report = [&] {
        if (fit != nullptr) {
            for (std::size_t i = eventLines.empty() ? 0 : eventLines.back() + 1; i < record.items.size(); ++i) {
                if (record.items[i].IsEvent()) {
                    eventLines.push_back(i);
                }
            }
            *fit = MacroFit{eventLines.size(), reached,
                            reached < eventLines.size() ? eventLines[reached] : record.items.size()};
        }
        return buffer;
    };
    if (record.items.empty()) {
        return report();
    }
    SetLoopBytes(buffer, record.LoopTimeSelStatus == 0 ? 1 : ParseDecimal(record.MacroLoopTimes));

    std::size_t position = kMacroEntriesOffset;
    // The end of the entries after the last event at which nothing was held.
    std::size_t allReleasedEnd = position;
    std::size_t allReleasedEvents = 0;
    std::set<std::string> held;
    for (std::size_t i = 0; i < record.items.size(); ++i) {
        const MacroItem& item = record.items[i];
        if (!item.IsEvent()) {
            continue;
        }
        MacroItem waitItem = i + 1 < record.items.size() ? record.items[i + 1] : MacroItem{};
        if (record.DelayTimeSelStatus == 0 && !waitItem.IsDelay()) {
            waitItem = MacroItem(std::string(kDefaultEventDelay));
        }
        const bool release = item.Kind() == MacroItemKind::Release;
        const EventEntries entries = EncodeEvent(release, KeyCodeFromName(item.KeyName(), KeyTableInstance::Macro),
                                                 waitItem.DelayMilliseconds());
        if (entries.size > buffer.size() - position) {
            std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(allReleasedEnd), buffer.end(), std::uint8_t{0});
            reached = allReleasedEvents;
            if (reached == 0) {
                // Not one event reaches the mouse: it gets an empty macro, loop bytes included.
                buffer.fill(0);
            }
            return report();
        }
        eventLines.push_back(i);
        std::copy_n(entries.bytes.begin(), entries.size, buffer.begin() + static_cast<std::ptrdiff_t>(position));
        position += entries.size;
        if (release) {
            held.erase(std::string(item.KeyName()));
        } else {
            held.insert(std::string(item.KeyName()));
        }
        if (held.empty()) {
            allReleasedEnd = position;
            allReleasedEvents = eventLines.size();
        }
    }
    reached = eventLines.size();
    return report();
}

MacroData RebuildMacroData(const IniFile& macroFile, std::size_t macroCount)
{
    MacroData data{};
    if (macroCount == 0 || MacroFileTooLarge(macroFile)) {
        return data;
    }
    // One reading of the file for the list and every macro: all twelve come from the same state.
    const IniSnapshot file = macroFile.Read();
    const std::vector<std::string> names = ListMacroNames(file);
    const std::size_t encoded = std::min(names.size(), kMacroCount);
    for (std::size_t n = 0; n < encoded; ++n) {
        const MacroBuffer buffer = EncodeMacro(LoadMacro(file, names[n]));
        std::copy(buffer.begin(), buffer.end(), data.begin() + static_cast<std::ptrdiff_t>(n * kMacroBufferSize));
    }
    return data;
}

} // namespace veldrane
