#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroRecord.h"
#include "core/profile/ProfileFileNames.h"
#include "support/HexBytes.h"
#include "support/TempDir.h"

namespace veldrane::test {

// "00 01 0C 04" followed by zeros up to the 128 bytes of a macro buffer, as HexBytes prints it.
inline std::string BufferHex(std::string_view leadingBytes)
{
    std::string hex(leadingBytes);
    for (std::size_t n = (hex.size() + 1) / 3; n < kMacroBufferSize; ++n) {
        hex += hex.empty() ? "00" : " 00";
    }
    return hex;
}

// Buffer n of the twelve.
inline std::string BufferOf(const MacroData& data, std::size_t n)
{
    return HexBytes(std::span(data).subspan(n * kMacroBufferSize, kMacroBufferSize));
}

inline MacroRecord Macro(int delayTimeSelStatus, int loopTimeSelStatus, std::string loopTimes,
                         const std::vector<std::string>& items, std::string name = "Macro_0")
{
    return {std::move(name), delayTimeSelStatus, loopTimeSelStatus, std::move(loopTimes), {items.begin(), items.end()}};
}

// A section as a save writes it.
inline std::string Section(std::string_view name, int delays, int loop, int loops,
                           const std::vector<std::string>& items)
{
    std::string text = "[" + std::string(name) + "]\r\nDelayTimeSelStatus=" + std::to_string(delays) +
                       "\r\nLoopTimeSelStatus=" + std::to_string(loop) + "\r\nMacroLoopTimes=" + std::to_string(loops) +
                       "\r\nItemCount=" + std::to_string(items.size()) + "\r\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += "Item" + std::to_string(i) + "=" + items[i] + "\r\n";
    }
    return text;
}

// The macro file "record.ini" in a fresh directory.
class MacroFileTest : public testing::Test
{
protected:
    std::string Text() const { return ReadFileBytes(m_file.Path()); }
    void Write(std::string_view text) { WriteFileBytes(m_file.Path(), text); }

    TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
};

} // namespace veldrane::test
