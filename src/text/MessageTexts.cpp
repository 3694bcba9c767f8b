#include "text/MessageTexts.h"

namespace veldrane {

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
