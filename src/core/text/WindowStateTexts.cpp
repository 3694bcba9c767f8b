#include "core/text/WindowStateTexts.h"

namespace veldrane {
namespace {

constexpr WindowStateTexts kEnglish{
    .mouseConnected = "Connected",
    .mouseNotConnected = "Not connected",
    .profileCaption = "Profile: ",
    .angleSnapOff = "Off",
    .hertz = " Hz",
    .milliseconds = " ms",
    .pointerSettingNotTaken = "This desktop cannot take this setting.",
};

constexpr WindowStateTexts kSimplifiedChinese{
    .mouseConnected = "已连接",
    .mouseNotConnected = "未连接",
    .profileCaption = "配置文件：",
    .angleSnapOff = "关闭",
    .hertz = " Hz",
    .milliseconds = " ms",
    .pointerSettingNotTaken = "当前桌面不支持此设置。",
};

constexpr WindowStateTexts kTraditionalChinese{
    .mouseConnected = "已連接",
    .mouseNotConnected = "未連接",
    .profileCaption = "設定檔：",
    .angleSnapOff = "關閉",
    .hertz = " Hz",
    .milliseconds = " ms",
    .pointerSettingNotTaken = "目前的桌面不支援此設定。",
};

} // namespace

const WindowStateTexts& WindowStateTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
