#include "core/text/AccessTexts.h"

namespace veldrane {

std::string MouseNotPermittedText(Language language, std::string_view node)
{
    struct Parts
    {
        std::string_view before;
        std::string_view after;
    };
    static constexpr Parts kEnglish{"The gaming mouse is connected, but this user may not open ",
                                    ". Install the udev rule (see README)."};
    static constexpr Parts kSimplified{"游戏鼠标已连接，但当前用户无权打开 ", "。请安装 udev 规则（见 README）。"};
    static constexpr Parts kTraditional{"遊戲滑鼠已連接，但目前使用者無權開啟 ", "。請安裝 udev 規則（見 README）。"};
    const Parts& parts = ByLanguage(language, kEnglish, kSimplified, kTraditional);
    return std::string(parts.before) + std::string(node) + std::string(parts.after);
}

} // namespace veldrane
