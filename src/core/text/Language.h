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

// Picks the one of three tables that belongs to the language; every text set of the program is
// chosen this way.
template <typename T>
constexpr const T& ByLanguage(Language language, const T& english, const T& simplifiedChinese,
                              const T& traditionalChinese)
{
    switch (language) {
    case Language::SimplifiedChinese:
        return simplifiedChinese;
    case Language::TraditionalChinese:
        return traditionalChinese;
    case Language::English:
        break;
    }
    return english;
}

// The window title, the same in every language, and the title of the application's messages.
inline constexpr std::string_view kApplicationTitle = "Tessaly VELDRANE";

// The maker's web page: shown in the main window's logo area and on the help panel, and opened
// from both. The same in every language.
inline constexpr std::string_view kMakerWebAddress = "http://www.tessaly.example";

} // namespace veldrane
