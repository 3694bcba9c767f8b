#include "text/HelpDialogTexts.h"

namespace veldrane {
namespace {

constexpr std::string_view kUpdateLine = "Update 驱动更新";
constexpr std::string_view kVersionLine = "Version：1.1";

constexpr HelpDialogTexts kEnglish{
    .ok = "Ok",
    .cancel = "Cancel",
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
};

constexpr HelpDialogTexts kSimplifiedChinese{
    .ok = "确定",
    .cancel = "取消",
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
};

constexpr HelpDialogTexts kTraditionalChinese{
    .ok = "確定",
    .cancel = "取消",
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
};

} // namespace

const HelpDialogTexts& HelpDialogTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
