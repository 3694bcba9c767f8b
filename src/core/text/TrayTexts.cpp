#include "core/text/TrayTexts.h"

namespace veldrane {

std::string_view StartWithDesktopText(Language language)
{
    static constexpr std::string_view kEnglish = "Start with the desktop";
    static constexpr std::string_view kSimplified = "开机时启动";
    static constexpr std::string_view kTraditional = "開機時啟動";
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
