#include "core/text/AppSwitchTexts.h"

namespace veldrane {

std::string_view SwitchByApplicationText(Language language)
{
    static constexpr std::string_view kEnglish = "Switch profiles by application";
    static constexpr std::string_view kSimplified = "按应用程序切换配置";
    static constexpr std::string_view kTraditional = "依應用程式切換設定";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

std::string_view FocusUnavailableText(FocusUnavailable why, Language language)
{
    static constexpr std::string_view kGnomeEnglish =
        "GNOME does not tell which window has the focus. Enable the VELDRANE Focus extension in the Extensions "
        "application to switch profiles by application.";
    static constexpr std::string_view kGnomeSimplified =
        "GNOME 不提供当前焦点窗口。请在“扩展”应用程序中启用 VELDRANE Focus 扩展,以便按应用程序切换配置。";
    static constexpr std::string_view kGnomeTraditional =
        "GNOME 不提供目前焦點視窗。請在「擴充功能」應用程式中啟用 VELDRANE Focus 擴充功能,以便依應用程式切換設定。";
    static constexpr std::string_view kWaylandEnglish =
        "This Wayland desktop does not tell which window has the focus. Switching profiles by application works on "
        "X11, KDE Plasma and GNOME.";
    static constexpr std::string_view kWaylandSimplified =
        "此 Wayland 桌面不提供当前焦点窗口。按应用程序切换配置适用于 X11、KDE Plasma 和 GNOME。";
    static constexpr std::string_view kWaylandTraditional =
        "此 Wayland 桌面不提供目前焦點視窗。依應用程式切換設定適用於 X11、KDE Plasma 和 GNOME。";
    static constexpr std::string_view kNoSessionEnglish =
        "No desktop session tells which window has the focus. Switching profiles by application works on X11, "
        "KDE Plasma and GNOME.";
    static constexpr std::string_view kNoSessionSimplified =
        "没有桌面会话提供当前焦点窗口。按应用程序切换配置适用于 X11、KDE Plasma 和 GNOME。";
    static constexpr std::string_view kNoSessionTraditional =
        "沒有桌面工作階段提供目前焦點視窗。依應用程式切換設定適用於 X11、KDE Plasma 和 GNOME。";
    switch (why) {
    case FocusUnavailable::GnomeExtensionOff:
        return ByLanguage(language, kGnomeEnglish, kGnomeSimplified, kGnomeTraditional);
    case FocusUnavailable::OtherWayland:
        return ByLanguage(language, kWaylandEnglish, kWaylandSimplified, kWaylandTraditional);
    case FocusUnavailable::NoSession:
        break;
    }
    return ByLanguage(language, kNoSessionEnglish, kNoSessionSimplified, kNoSessionTraditional);
}

std::string_view AppRulesDroppedText(Language language)
{
    static constexpr std::string_view kEnglish = "These profiles no longer exist; their applications were removed: ";
    static constexpr std::string_view kSimplified = "以下配置已不存在,其应用程序已移除:";
    static constexpr std::string_view kTraditional = "以下配置已不存在,其應用程式已移除:";
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

const AppRulesDialogTexts& AppRulesDialogTextsFor(Language language)
{
    static const AppRulesDialogTexts kEnglish{"Applications...", "Add the next window I click", "Remove",
                                              "Use this profile when no rule matches"};
    static const AppRulesDialogTexts kSimplified{"应用程序...", "添加我下一个点击的窗口", "删除",
                                                 "没有匹配的规则时使用此配置"};
    static const AppRulesDialogTexts kTraditional{"應用程式...", "新增我下一個點選的視窗", "刪除",
                                                  "沒有符合的規則時使用此設定"};
    return ByLanguage(language, kEnglish, kSimplified, kTraditional);
}

} // namespace veldrane
