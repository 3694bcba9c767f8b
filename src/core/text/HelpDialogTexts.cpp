#include "core/text/HelpDialogTexts.h"

namespace veldrane {
namespace {

constexpr std::string_view kUpdateLine = "Update 驱动更新";
constexpr std::string_view kVersionLine = "Version：1.1";

constexpr HelpDialogTexts kEnglish{
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
    .english = "English",
    .simplifiedChinese = "简体中文",
    .traditionalChinese = "繁體中文",
    .languageNotSaved = "The language could not be changed; it stays as it was.",
    .languageGroup = "Language",
};

constexpr HelpDialogTexts kSimplifiedChinese{
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
    .english = "English",
    .simplifiedChinese = "简体中文",
    .traditionalChinese = "繁體中文",
    .languageNotSaved = "无法更改语言，语言保持不变。",
    .languageGroup = "语言",
};

constexpr HelpDialogTexts kTraditionalChinese{
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
    .english = "English",
    .simplifiedChinese = "简体中文",
    .traditionalChinese = "繁體中文",
    .languageNotSaved = "無法變更語言，語言保持不變。",
    .languageGroup = "語言",
};

} // namespace

const HelpDialogTexts& HelpDialogTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
