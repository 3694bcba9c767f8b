#include <gtest/gtest.h>

#include <tuple>

#include "ini/IniFile.h"
#include "macro/MacroKeyBindingModel.h"
#include "platform/TextMeasure.h"
#include "platform/linux/IconvTextCodec.h"

namespace veldrane {
namespace {

// In a 12-pixel dialog font the first two mode texts take one line with a word 10 pixel sizes
// wide; the last one takes `lines` lines with a word `word` pixel sizes wide.
struct LongLastText : TextMeasure
{
    LongLastText(std::string_view last, int lines, int word) : last(last), lines(lines), word(word) {}
    int PixelSize(FontRole) const override { return 12; }
    Size WrappedSize(std::string_view utf8, FontRole, int size, int) const override
    {
        return utf8 == last ? Size{word * size, lines * size} : Size{10 * size, size};
    }
    std::string_view last;
    int lines;
    int word;
};

// Each mode text has an area 153 pixels wide and 32 high.
TEST(MacroModeText, AllThreeShrinkTogetherToTheLargestSizeAtWhichTheLongestFits)
{
    IconvTextCodec codec;
    const IniFile macroFile("/nonexistent/record.ini", codec);
    const MacroKeyBindingModel model(macroFile, Language::English);
    using Case = std::tuple<int, int, int>;
    for (const auto& [lines, word, pixelSize] : {Case{2, 10, 12}, Case{3, 10, 10}, Case{1, 14, 10}, Case{4, 10, 9}}) {
        EXPECT_EQ(model.ModeTextPixelSize(LongLastText(model.RepeatModeText(2), lines, word)), pixelSize) << lines;
    }
}

} // namespace
} // namespace veldrane
