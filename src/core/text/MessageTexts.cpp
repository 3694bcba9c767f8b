#include "core/text/MessageTexts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace veldrane {
namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

} // namespace

const MessageCaptions& MessageCaptionsFor(Language language)
{
    static constexpr MessageCaptions kEnglish{kInfoTitle, kWarningTitle};
    static constexpr MessageCaptions kSimplifiedChinese{"信息", "警告"};
    static constexpr MessageCaptions kTraditionalChinese{"資訊", "警告"};
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

const MessageBoxButtons& MessageBoxButtonsFor(Language language)
{
    static constexpr MessageBoxButtons kEnglish{"Ok", "Yes", "No"};
    static constexpr MessageBoxButtons kSimplifiedChinese{"确定", "是", "否"};
    static constexpr MessageBoxButtons kTraditionalChinese{"確定", "是", "否"};
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

MessageKind KindOfMessage(std::string_view text, std::string_view title)
{
    // The warning caption of the simplified and the traditional sets is the same word.
    constexpr std::array<std::string_view, 2> kWarningCaptions{kWarningTitle, "警告"};
    if (std::find(kWarningCaptions.begin(), kWarningCaptions.end(), title) != kWarningCaptions.end()) {
        return MessageKind::Warning;
    }
    if (text == kImageError || text == kConfigFileNotExist || title == kFileOpenErrorTitle ||
        ContainsIgnoringCase(title, "failed") || ContainsIgnoringCase(text, "failed") ||
        ContainsIgnoringCase(text, "error code")) {
        return MessageKind::Error;
    }
    return MessageKind::Information;
}

std::string FormatWithErrorCode(std::string_view format, std::int64_t errorCode)
{
    constexpr std::string_view kPlaceholder = "%d";
    std::string text{format};
    if (const auto at = text.find(kPlaceholder); at != std::string::npos) {
        text.replace(at, kPlaceholder.size(), std::to_string(errorCode));
    }
    return text;
}

} // namespace veldrane
