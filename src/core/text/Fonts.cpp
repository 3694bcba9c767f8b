#include "core/text/Fonts.h"

namespace veldrane {
namespace {

constexpr int kNormal = 400;
constexpr int kBold = 700;

constexpr std::string_view kSongTi = "宋体";
constexpr std::string_view kHeiTi = "黑体";

constexpr Font kSmall{"Arial", 13, kDefaultFontWeight};

constexpr FontSet kEnglish{
    .mainText = {"Segoe UI", 15, 300},
    .mainTitle = {"Tahoma", 18, kBold},
    .mainSmall = kSmall,
    .dialog = {"Arial", 14, kNormal},
    .singleKeyDialog = {"Segoe UI", 15, kNormal},
    .macroManager = {"Segoe UI", 15, kBold},
};

constexpr FontSet kSimplifiedChinese{
    .mainText = {kSongTi, 13, kNormal},
    .mainTitle = {kSongTi, 18, kBold},
    .mainSmall = kSmall,
    .dialog = {kSongTi, 13, kNormal},
    .singleKeyDialog = {kSongTi, 13, kNormal},
    .macroManager = {kSongTi, 13, kNormal},
};

constexpr FontSet kSimplifiedChineseWindows8{
    .mainText = {kHeiTi, 13, kNormal},
    .mainTitle = {kHeiTi, 18, kBold},
    .mainSmall = kSmall,
    .dialog = {kHeiTi, 13, kNormal},
    .singleKeyDialog = {kHeiTi, 13, kNormal},
    .macroManager = {kHeiTi, 13, kNormal},
};

constexpr FontSet kTraditionalChinese{
    .mainText = {kHeiTi, 14, kNormal},
    .mainTitle = {kHeiTi, 18, kBold},
    .mainSmall = kSmall,
    .dialog = {kHeiTi, 14, kNormal},
    .singleKeyDialog = {kHeiTi, 14, kNormal},
    .macroManager = {kHeiTi, 14, kNormal},
};

} // namespace

const FontSet& FontsFor(Language language, bool windows8)
{
    return ByLanguage(language, kEnglish, windows8 ? kSimplifiedChineseWindows8 : kSimplifiedChinese,
                      kTraditionalChinese);
}

} // namespace veldrane
