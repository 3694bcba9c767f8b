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

} // namespace veldrane::test
