#include "text/CaptureDialogTexts.h"

namespace veldrane {
namespace {

constexpr CaptureDialogTexts kEnglish{
    .singlePrompt = "Please enter a key",
    .singleOk = "Ok",
    .comboOk = "OK",
    .cancel = "Cancel",
};

constexpr CaptureDialogTexts kSimplifiedChinese{
    .singlePrompt = "请输入一个按键",
    .singleOk = "确定",
    .comboOk = "确定",
    .cancel = "取消",
};

constexpr CaptureDialogTexts kTraditionalChinese{
    .singlePrompt = "請輸入一個按鍵",
    .singleOk = "確定",
    .comboOk = "確定",
    .cancel = "取消",
};

} // namespace

const CaptureDialogTexts& CaptureDialogTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
