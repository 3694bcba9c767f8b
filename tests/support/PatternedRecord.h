#pragma once

#include <cstddef>
#include <cstdint>

#include "core/profile/ProfileRecord.h"

namespace veldrane::test {

// A record whose every byte depends on `seed`, so that records of different seeds differ
// almost everywhere, macros and reserved bytes included; the settings the window edits are then
// brought to values its controls produce, as a load does.
inline ProfileRecord Patterned(std::uint8_t seed)
{
    ProfileRecord record{};
    auto bytes = record.Bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
    }
    BringIntoControlRange(record);
    return record;
}

} // namespace veldrane::test
