#include "core/text/ControlCaptionTexts.h"

namespace veldrane {
namespace {

constexpr std::string_view kNumberMark = "%d";

constexpr ControlCaptionTexts kEnglish{
    .help = "Help",
    .minimise = "Minimise",
    .close = "Close",
    .cpiStage = "CPI stage %d",
    .cpiStageSwitch = "Use CPI stage %d",
    .cpiStageColour = "Colour of CPI stage %d",
    .cpiUnit = " CPI",
};

constexpr ControlCaptionTexts kSimplifiedChinese{
    .help = "帮助",
    .minimise = "最小化",
    .close = "关闭",
    .cpiStage = "CPI 档位 %d",
    .cpiStageSwitch = "启用 CPI 档位 %d",
    .cpiStageColour = "CPI 档位 %d 的颜色",
    .cpiUnit = " CPI",
};

constexpr ControlCaptionTexts kTraditionalChinese{
    .help = "說明",
    .minimise = "最小化",
    .close = "關閉",
    .cpiStage = "CPI 檔位 %d",
    .cpiStageSwitch = "啟用 CPI 檔位 %d",
    .cpiStageColour = "CPI 檔位 %d 的顏色",
    .cpiUnit = " CPI",
};

} // namespace

const ControlCaptionTexts& ControlCaptionTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

std::string NumberedCaption(std::string_view caption, int number)
{
    std::string text(caption);
    if (const auto at = text.find(kNumberMark); at != std::string::npos) {
        text.replace(at, kNumberMark.size(), std::to_string(number));
    }
    return text;
}

} // namespace veldrane
