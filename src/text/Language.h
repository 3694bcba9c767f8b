#pragma once

#include <string_view>

namespace veldrane {

enum class Language
{
    English,
    SimplifiedChinese,
    TraditionalChinese,
};

// The three-way test on the "Lan" code: exactly "CHS" or "CHT", anything else is English.
Language LanguageFromCode(std::string_view code);

// "Setting-EN", "Setting-CHS" or "Setting-CHT": where the button labels of a language live.
std::string_view LanguageSectionName(Language language);

// The window title, the same in every language, and the title of the application's messages.
inline constexpr std::string_view kApplicationTitle = "Tessaly VELDRANE";

} // namespace veldrane
