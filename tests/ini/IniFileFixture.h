#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "ini/IniFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/TempDir.h"

namespace veldrane::test {

// One label file in a fresh directory, read and written through the real code pages.
class IniFileFixture : public ::testing::Test
{
protected:
    IniFile File(LegacyCodePage fallback = LegacyCodePage::Windows1252) const
    {
        return IniFile(m_path, m_codec, fallback);
    }
    void Store(std::string_view bytes) const { WriteFileBytes(m_path, bytes); }
    std::string Stored() const { return ReadFileBytes(m_path); }

    TempDir m_dir;
    std::filesystem::path m_path = m_dir / "str0.ini";
    IconvTextCodec m_codec;
};

// A UTF-16 LE file of `text`, byte-order mark first; lone surrogates stay as they are.
inline std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Chinese texts in the legacy code pages: "左键" and "右键" in GBK, "左鍵" and "右鍵" in Big5.
namespace encoded {
inline const std::string kUtf8Bom = "\xEF\xBB\xBF";
inline const std::string kGbkClick = "\xD7\xF3\xBC\xFC";
inline const std::string kGbkMenu = "\xD3\xD2\xBC\xFC";
inline const std::string kBig5Click = "\xA5\xAA\xC1\xE4";
inline const std::string kBig5Menu = "\xA5\x6B\xC1\xE4";
} // namespace encoded

} // namespace veldrane::test
