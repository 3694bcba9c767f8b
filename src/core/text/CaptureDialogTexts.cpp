#include "core/text/CaptureDialogTexts.h"

namespace veldrane {
namespace {

constexpr CaptureDialogTexts kEnglish{
    .singleCaption = "Single Key",
    .comboCaption = "Combo Key: choose a modifier, then press the keys",
    .singlePrompt = "Please enter a key",
    .singleOk = "Ok",
    .comboOk = "OK",
    .cancel = "Cancel",
    .unsendable = "The mouse cannot send this key.",
};

constexpr CaptureDialogTexts kSimplifiedChinese{
    .singleCaption = "单键",
    .comboCaption = "组合键：选择修饰键，然后按下按键",
    .singlePrompt = "请输入一个按键",
    .singleOk = "确定",
    .comboOk = "确定",
    .cancel = "取消",
    .unsendable = "鼠标无法发送此按键。",
};

constexpr CaptureDialogTexts kTraditionalChinese{
    .singleCaption = "單鍵",
    .comboCaption = "複合鍵：選擇修飾鍵，然後按下按鍵",
    .singlePrompt = "請輸入一個按鍵",
    .singleOk = "確定",
    .comboOk = "確定",
    .cancel = "取消",
    .unsendable = "滑鼠無法發送此按鍵。",
};

} // namespace

const CaptureDialogTexts& CaptureDialogTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
