#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "macro/MacroEncoder.h"
#include "macro/MacroRecord.h"
#include "support/HexBytes.h"

namespace veldrane::test {

// "00 01 0C 04" followed by zeros up to the 128 bytes of a macro buffer, as HexBytes prints it.
inline std::string BufferHex(std::string_view leadingBytes)
{
    MacroBuffer buffer{};
    std::istringstream in{std::string(leadingBytes)};
    std::size_t index = 0;
    for (unsigned value = 0; in >> std::hex >> value;) {
        buffer.at(index++) = static_cast<std::uint8_t>(value);
    }
    return HexBytes(buffer);
}

inline MacroRecord Macro(int delayTimeSelStatus, int loopTimeSelStatus, std::string_view loopTimes,
                         std::initializer_list<std::string_view> items, std::string_view name = "Macro_0")
{
    MacroRecord record;
    record.name = std::string(name);
    record.DelayTimeSelStatus = delayTimeSelStatus;
    record.LoopTimeSelStatus = loopTimeSelStatus;
    record.MacroLoopTimes = std::string(loopTimes);
    for (std::string_view item : items) {
        record.items.emplace_back(std::string(item));
    }
    return record;
}

} // namespace veldrane::test
