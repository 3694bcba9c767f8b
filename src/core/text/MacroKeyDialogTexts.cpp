#include "core/text/MacroKeyDialogTexts.h"

namespace veldrane {
namespace {

// Mode 1 in English has two blanks between "any" and "mouse", as the users have always seen it.
constexpr MacroKeyDialogTexts kEnglish{
    .repeatModes = {"Repeat a specified number of times or press any key to end",
                    "Repeat until press any  mouse button to end", "Repeat until the key is released"},
    .caption = "Macro",
    .heading = "Please select a macro",
    .ok = "Ok",
    .cancel = "Cancel",
};

constexpr MacroKeyDialogTexts kSimplifiedChinese{
    .repeatModes = {"重复指定次数或按任意键结束", "重复直到按任意键结束", "重复直到该按键松开结束"},
    .caption = "宏",
    .heading = "请从列表框选择一个宏",
    .ok = "确定",
    .cancel = "取消",
};

constexpr MacroKeyDialogTexts kTraditionalChinese{
    .repeatModes = {"重複指定次數或按任意鍵結束", "重複直到按任意鍵結束", "重複直到該按鍵鬆開結束"},
    .caption = "巨集",
    .heading = "請從清單方塊選擇一個巨集",
    .ok = "確定",
    .cancel = "取消",
};

} // namespace

const MacroKeyDialogTexts& MacroKeyDialogTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
