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

} // namespace veldrane
