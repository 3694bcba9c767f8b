#include "text/Language.h"

namespace veldrane {

Language LanguageFromCode(std::string_view code)
{
    if (code == "CHS") {
        return Language::SimplifiedChinese;
    }
    if (code == "CHT") {
        return Language::TraditionalChinese;
    }
    return Language::English;
}

std::string_view LanguageSectionName(Language language)
{
    switch (language) {
    case Language::SimplifiedChinese:
        return "Setting-CHS";
    case Language::TraditionalChinese:
        return "Setting-CHT";
    case Language::English:
        break;
    }
    return "Setting-EN";
}

} // namespace veldrane
