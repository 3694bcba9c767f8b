#include "core/text/Language.h"

namespace veldrane {
namespace {

constexpr std::string_view kEnglishSection = "Setting-EN";
constexpr std::string_view kSimplifiedChineseSection = "Setting-CHS";
constexpr std::string_view kTraditionalChineseSection = "Setting-CHT";

} // namespace

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
    return ByLanguage(language, kEnglishSection, kSimplifiedChineseSection, kTraditionalChineseSection);
}

} // namespace veldrane
