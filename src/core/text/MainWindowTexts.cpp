#include "core/text/MainWindowTexts.h"

namespace veldrane {
namespace {

// Texts that every language shares.
constexpr std::array<std::array<std::string_view, 5>, 3> kLightLevelLabels{{
    {"0%", "25%", "50%", "75%", "100%"}, // "Single color": brightness
    {"4S", "5S", "6S", "7S", "8S"},      // "Pulsating": breathing period
    {"3S", "6S", "9S", "12S", "15S"},    // "Multi-color ": colour cycle period
}};
constexpr std::array<std::string_view, 10> kSliderScaleLabels{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

// The stage notices end in a blank: the balloon appends the stage's CPI directly after it.
constexpr MainWindowTexts kEnglish{
    .cpiStageNotices = {"Switch CPI into the first stage ", "Switch CPI into the second stage ",
                        "Switch CPI into the third stage ", "Switch CPI into the fourth stage ",
                        "Switch CPI into the fifth stage ", "Switch CPI into the sixth stage "},
    .switchToMacroKey = "Switch to macro key",
    .mouseNotDetected = "The system did not detect the gaming mouse!",
    .mouseDetected = "The system detect the gaming mouse.",
    .settingsNotTaken =
        "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press Save.",
    .savedWithoutMouse = "The gaming mouse is not connected. Your settings are saved and will go to the mouse the "
                         "next time you press Save.",
    .notStored = "The settings could not be saved, so nothing was sent to the gaming mouse.",
    .resetWithoutMouse = "The gaming mouse is not connected. The factory settings are shown but not saved; press Save "
                         "to keep them.",
    .profileUnreadable =
        "The profile file could not be read; the factory settings are shown. Save stores them in this profile.",
    .journalDamaged = "A change of the profile files was cut off and cannot be finished: its journal is damaged. The "
                      "profile files were left as they are; the journal was kept as:",
    .reset = "Reset",
    .cancel = "Cancel",
    .save = "Save",
    .config = "Config",
    .top = "Top",
    .side = "Side",
    .buttonAssignment = "Button Assignment",
    .macroManager = "Macro Manager",
    .xySensitivitySetting = "X/Y Sensitivity Setting",
    .m1M5LightButton = "M1-M5 Light Button ",
    .cpiSetting = "CPI Setting",
    .lighting = "Lighting",
    .usbReportRate = "USB Report Rate",
    .mouseSpeed = "Mouse Speed",
    .doubleClickSpeed = "Double Click Speed",
    .scrollSpeed = "Scroll Speed",
    .angleSnap = "Angle Snap",
    .on = "ON",
    .off = "OFF",
    .xAxis = "X axis",
    .yAxis = "Y axis",
    .slow = "Slow",
    .fast = "Fast",
    .numberOfRows = "The number of rows",
    .scrollOneScreen = "Scroll one screen",
    .singleColor = "Single color",
    .pulsating = "Pulsating",
    .multiColor = "Multi-color ",
    .exit = "Exit",
    .lightLevelLabels = kLightLevelLabels,
    .sliderScaleLabels = kSliderScaleLabels,
};

constexpr MainWindowTexts kSimplifiedChinese{
    .cpiStageNotices = {"CPI切换到第一段 ", "CPI切换到第二段 ", "CPI切换到第三段 ", "CPI切换到第四段 ",
                        "CPI切换到第五段 ", "CPI切换到第六段 "},
    .switchToMacroKey = "切换到宏",
    .mouseNotDetected = "系统没有检测到游戏鼠标！",
    .mouseDetected = "系统检测到游戏鼠标。",
    .settingsNotTaken = "游戏鼠标未能接收设置。设置已保存；请重新连接鼠标后按“保存”。",
    .savedWithoutMouse = "游戏鼠标未连接。设置已保存，下次按“保存”时将写入鼠标。",
    .notStored = "设置未能保存，因此没有发送到游戏鼠标。",
    .resetWithoutMouse = "游戏鼠标未连接。当前显示出厂设置，但尚未保存；按“保存”将其保留。",
    .profileUnreadable = "无法读取配置文件；当前显示出厂设置。按“保存”将其存入此配置。",
    .journalDamaged = "配置文件的一次更改被中断且无法完成：其日志文件已损坏。配置文件保持原样；日志文件已保留为：",
    .reset = "恢复",
    .cancel = "取消",
    .save = "保存",
    .config = "配置",
    .top = "正面",
    .side = "侧面",
    .buttonAssignment = "按钮分配",
    .macroManager = "宏管理器",
    .xySensitivitySetting = "X/Y轴设置",
    .m1M5LightButton = "M1-M5灯光按钮",
    .cpiSetting = "CPI 设置",
    .lighting = "照明",
    .usbReportRate = "USB输出报告率",
    .mouseSpeed = "鼠标速度",
    .doubleClickSpeed = "双击速度",
    .scrollSpeed = "鼠标滚轮速度",
    .angleSnap = "角度捕捉",
    .on = "打开",
    .off = "关闭",
    .xAxis = "X轴",
    .yAxis = "Y轴",
    .slow = "慢",
    .fast = "快",
    .numberOfRows = "一次滚动行数",
    .scrollOneScreen = "一次滚动一个屏幕",
    .singleColor = "标准模式",
    .pulsating = "呼吸模式",
    .multiColor = "霓虹模式",
    .exit = "退出",
    .lightLevelLabels = kLightLevelLabels,
    .sliderScaleLabels = kSliderScaleLabels,
};

constexpr MainWindowTexts kTraditionalChinese{
    .cpiStageNotices = {"CPI切換到第一段 ", "CPI切換到第二段 ", "CPI切換到第三段 ", "CPI切換到第四段 ",
                        "CPI切換到第五段 ", "CPI切換到第六段 "},
    .switchToMacroKey = "切換到巨集",
    .mouseNotDetected = "系統沒有檢測到遊戲滑鼠！",
    .mouseDetected = "系統檢測到遊戲滑鼠。",
    .settingsNotTaken = "遊戲滑鼠未能接收設定。設定已儲存；請重新連接滑鼠後按「保存」。",
    .savedWithoutMouse = "遊戲滑鼠未連接。設定已儲存，下次按「保存」時將寫入滑鼠。",
    .notStored = "設定未能儲存，因此沒有傳送到遊戲滑鼠。",
    .resetWithoutMouse = "遊戲滑鼠未連接。目前顯示出廠設定，但尚未儲存；按「保存」將其保留。",
    .profileUnreadable = "無法讀取設定檔；目前顯示出廠設定。按「保存」將其存入此設定。",
    .journalDamaged = "設定檔的一次變更被中斷且無法完成：其日誌檔案已損毀。設定檔保持原樣；日誌檔案已保留為：",
    .reset = "恢復",
    .cancel = "取消",
    .save = "保存",
    .config = "配置",
    .top = "正面",
    .side = "側面",
    .buttonAssignment = "按鈕分配",
    .macroManager = "宏管理器",
    .xySensitivitySetting = "X/Y軸設置",
    .m1M5LightButton = "M1-M5燈光按鈕",
    .cpiSetting = "CPI 設置",
    .lighting = "照明",
    .usbReportRate = "USB輸出報告率",
    .mouseSpeed = "滑鼠移動速度",
    .doubleClickSpeed = "滑鼠雙擊速度",
    .scrollSpeed = "滑鼠滾動速度",
    .angleSnap = "角度捕捉",
    .on = "打開",
    .off = "關閉",
    .xAxis = "X軸",
    .yAxis = "Y軸",
    .slow = "慢",
    .fast = "快",
    .numberOfRows = "一次滾動行數",
    .scrollOneScreen = "一次滾動一個螢幕",
    .singleColor = "標準模式",
    .pulsating = "呼吸模式",
    .multiColor = "霓虹模式",
    .exit = "退出",
    .lightLevelLabels = kLightLevelLabels,
    .sliderScaleLabels = kSliderScaleLabels,
};

} // namespace

const MainWindowTexts& MainWindowTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
