#include "ini/UnicodeText.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(UnicodeText, Utf16LeBothWaysWithSurrogatePairsAndBrokenUnits)
{
    EXPECT_EQ(Utf16LeToUtf8("\xE6\x5D\x2E\x95"), "左键");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x00\xDE", 4)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x41\x00", 4)), kReplacement + "A");
    EXPECT_EQ(Utf8ToUtf16Le("左\xF0\x9F\x98\x80"), std::string("\xE6\x5D\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(Utf8ToUtf16Le("a\xC3"), std::string("a\0\xFD\xFF", 4));
}

TEST(UnicodeText, RefusesGbkOverlongSurrogatesAndCutSequencesReplacingEachOnce)
{
    EXPECT_TRUE(IsValidUtf8("左键\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xD7\xF3\xBC\xFC", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\xB7"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    // The cut-off three-byte sequence E5 B7 is one replacement, not two, and one character.
    EXPECT_EQ(SanitiseUtf8(std::string("a\xE5\xB7") + "b\xFF"), "a" + kReplacement + "b" + kReplacement);
    EXPECT_EQ(Utf8Prefix(std::string("\xE5\xB7") + "b", 1), "\xE5\xB7");
}

} // namespace
} // namespace veldrane
