#include "core/text/TrayTexts.h"

namespace veldrane {

std::string_view OpenWindowText(Language language)
{
    static constexpr std::string_view kEnglish = "Open";
    static constexpr std::string_view kSimplified = "打开";
    static constexpr std::string_view kTraditional = "開啟";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view StartWithDesktopText(Language language)
{
    static constexpr std::string_view kEnglish = "Start with the desktop";
    static constexpr std::string_view kSimplified = "开机时启动";
    static constexpr std::string_view kTraditional = "開機時啟動";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view ProfilesMenuText(Language language)
{
    static constexpr std::string_view kEnglish = "Profiles";
    static constexpr std::string_view kSimplified = "配置";
    static constexpr std::string_view kTraditional = "配置";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view NextProfileText(Language language)
{
    static constexpr std::string_view kEnglish = "Next profile";
    static constexpr std::string_view kSimplified = "下一个配置";
    static constexpr std::string_view kTraditional = "下一個配置";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view PreviousProfileText(Language language)
{
    static constexpr std::string_view kEnglish = "Previous profile";
    static constexpr std::string_view kSimplified = "上一个配置";
    static constexpr std::string_view kTraditional = "上一個配置";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view SwitchToProfileText(Language language)
{
    static constexpr std::string_view kEnglish = "Switch to profile ";
    static constexpr std::string_view kSimplified = "切换到配置 ";
    static constexpr std::string_view kTraditional = "切換到配置 ";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view UnsavedEditsText(Language language)
{
    static constexpr std::string_view kEnglish =
        "The settings in the window are not saved. Press Save or Cancel before you switch the profile.";
    static constexpr std::string_view kSimplified = "窗口中的设置尚未保存。切换配置前请按“保存”或“取消”。";
    static constexpr std::string_view kTraditional = "視窗中的設定尚未儲存。切換配置前請按「保存」或「取消」。";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view AlreadyRunningElsewhereText(Language language)
{
    static constexpr std::string_view kEnglish =
        "VELDRANE is already running with another data folder. Close it first.";
    static constexpr std::string_view kSimplified = "VELDRANE 已在使用另一个数据文件夹运行。请先将其关闭。";
    static constexpr std::string_view kTraditional = "VELDRANE 已在使用另一個資料夾執行。請先將其關閉。";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

} // namespace veldrane
