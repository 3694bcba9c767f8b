#include "core/text/AssignmentTexts.h"

namespace veldrane {
namespace {

// The button labels written to the label file are made of these texts, so each one is kept
// exactly as the mouse's users have it stored, including the simplified "双击" of the
// traditional table.

constexpr AssignmentTexts kEnglish{
    .functions = {"Click", "Menu", "Universal Scroll", "IE Forward", "IE Backward", "Double Click", "CPI Cycle",
                  "Multimedia", "HotKey", "Windows", "Single Key", "Combo Key", "Macro Key", "Button Off",
                  "Left Title Scroll", "Right Title Scroll"},
    .cpiActions = {"CPI +", "CPI -", "CPI Loop"},
    .media = {"Media player", "Next Track", "Pre Track", "Stop", "Play/Pause", "Mute", "Volume Up", "Volume Down"},
    .hotKeys = {"New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All"},
    .systemCommands = {"My computer", "Browser-Home", "Search", "Maximum", "Minimum", "Show desktop", "Run"},
    .buttonNames = {"Button 1", "Button 2", "Button 3", "Button 4", "Button 5", "Button 6", "Button 7", "Button 8",
                    "Button 9", "Button 10", "Button 11", "Button 12"},
    .leftKeyRequired = "Left key must be selected!",
    .warningTitle = "Warning",
};

constexpr AssignmentTexts kSimplifiedChinese{
    .functions = {"左键", "右键", "中键", "前进方向键", "后退方向键", "双击", "CPI切换", "多媒体", "快捷键", "Windows",
                  "单键", "组合键", "宏", "按键关闭", "左摇摆滚轮", "右摇摆滚轮"},
    .cpiActions = {"CPI +", "CPI -", "CPI Loop"},
    .media = {"多媒体播放器", "下一首", "上一首", "停止", "播放/暂停", "静音", "音量+", "音量-"},
    .hotKeys = {"新建", "剪切", "复制", "粘贴", "保存", "打印", "查找", "重复", "撤销", "全选"},
    .systemCommands = {"我的电脑", "浏览器-主页", "搜索", "最大化", "最小化", "显示桌面", "运行"},
    .buttonNames = {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8", "按钮9", "按钮10", "按钮11",
                    "按钮12"},
    .leftKeyRequired = "左键功能必须选择！",
    .warningTitle = "警告",
};

constexpr AssignmentTexts kTraditionalChinese{
    .functions = {"左鍵", "右鍵", "中鍵", "前進方向鍵", "後退方向鍵", "双击", "CPI切換", "多媒體", "快速鍵", "Windows",
                  "單鍵", "複合鍵", "巨集", "按鍵關閉", "左搖擺滾輪", "右搖擺滾輪"},
    .cpiActions = {"CPI +", "CPI -", "CPI Loop"},
    .media = {"多媒體播放器", "下一首", "上一首", "停止", "播放/暫停", "靜音", "音量+", "音量-"},
    .hotKeys = {"新建", "剪切", "複製", "粘貼", "保存", "列印", "查找", "重複", "撤銷", "全選"},
    .systemCommands = {"我的電腦", "瀏覽器-主頁", "搜索", "最大化", "最小化", "顯示桌面", "運行"},
    .buttonNames = {"按鈕1", "按鈕2", "按鈕3", "按鈕4", "按鈕5", "按鈕6", "按鈕7", "按鈕8", "按鈕9", "按鈕10", "按鈕11",
                    "按鈕12"},
    .leftKeyRequired = "左鍵功能必須選擇！",
    .warningTitle = "警告",
};

} // namespace

const AssignmentTexts& AssignmentTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
