#include "ini/UnicodeText.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

struct Utf16Case
{
    const char* name;
    std::string utf16le;
    std::string utf8;
};

class Utf16LeToUtf8Table : public ::testing::TestWithParam<Utf16Case>
{
};

TEST_P(Utf16LeToUtf8Table, Decodes)
{
    EXPECT_EQ(Utf16LeToUtf8(GetParam().utf16le), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Units, Utf16LeToUtf8Table,
    ::testing::Values(Utf16Case{"Ascii", std::string("A\0=\0", 4), "A="},
                      Utf16Case{"Chinese", "\xE6\x5D\x2E\x95", "左键"},
                      Utf16Case{"SurrogatePair", std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"},
                      Utf16Case{"HighSurrogateBeforeLetter", std::string("\x3D\xD8\x41\x00", 4), kReplacement + "A"},
                      Utf16Case{"HighSurrogateAtEnd", "\x3D\xD8", kReplacement},
                      Utf16Case{"LoneLowSurrogate", std::string("\x00\xDC\x42\x00", 4), kReplacement + "B"},
                      Utf16Case{"OddLastByte", std::string("A\0B", 3), "A" + kReplacement}),
    [](const auto& info) { return info.param.name; });

TEST(UnicodeText, Utf8ToUtf16LeEncodesPairsAndReplacesMalformedBytes)
{
    EXPECT_EQ(Utf8ToUtf16Le("左\xF0\x9F\x98\x80"), std::string("\xE6\x5D\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(Utf8ToUtf16Le("a\xC3"), std::string("a\0\xFD\xFF", 4));
}

struct ValidityCase
{
    const char* name;
    std::string text;
    bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<ValidityCase>
{
};

TEST_P(Utf8Validity, IsValidUtf8)
{
    EXPECT_EQ(IsValidUtf8(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Validity,
    ::testing::Values(ValidityCase{"Ascii", "Lan=CHS\r\n", true}, ValidityCase{"Chinese", "左键", true},
                      ValidityCase{"FourBytes", "\xF0\x9F\x98\x80", true},
                      ValidityCase{"Gbk", "\xD7\xF3\xBC\xFC", false}, ValidityCase{"Overlong", "\xC0\x80", false},
                      ValidityCase{"OverlongThreeBytes", "\xE0\x80\xAF", false},
                      ValidityCase{"Surrogate", "\xED\xA0\x80", false},
                      ValidityCase{"AboveLastCodePoint", "\xF4\x90\x80\x80", false},
                      ValidityCase{"CutOff", "\xE5\xB7", false}, ValidityCase{"StrayContinuation", "a\x80", false}),
    [](const auto& info) { return info.param.name; });

TEST(UnicodeText, SanitiseReplacesEachMalformedSequenceOnce)
{
    // The cut-off three-byte sequence E5 B7 is one replacement, not two.
    EXPECT_EQ(SanitiseUtf8("a\xE5\xB7"
                           "b\xFF"),
              "a" + kReplacement + "b" + kReplacement);
}

TEST(UnicodeText, PrefixCountsCodePointsAndNeverCutsASequence)
{
    EXPECT_EQ(Utf8Prefix("左键ab", 0), "");
    EXPECT_EQ(Utf8Prefix("左键ab", 1), "左");
    EXPECT_EQ(Utf8Prefix("左键ab", 3), "左键a");
    EXPECT_EQ(Utf8Prefix("左键ab", 10), "左键ab");
    EXPECT_EQ(Utf8Prefix("\xE5\xB7"
                         "b",
                         1),
              "\xE5\xB7");
}

} // namespace
} // namespace veldrane
