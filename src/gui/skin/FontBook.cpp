#include "gui/skin/FontBook.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

namespace veldrane {
namespace {

constexpr std::string_view kSongTi = "宋体";
constexpr std::string_view kHeiTi = "黑体";

// CJK families in the order they are preferred; the first of the language's own script first.
const QStringList& CjkCandidates(Language language)
{
    static const QStringList simplified{"Noto Sans CJK SC",  "Source Han Sans SC", "WenQuanYi Micro Hei",
                                        "WenQuanYi Zen Hei", "Noto Sans CJK TC",   "Droid Sans Fallback"};
    static const QStringList traditional{"Noto Sans CJK TC",  "Source Han Sans TC", "WenQuanYi Micro Hei",
                                         "WenQuanYi Zen Hei", "Noto Sans CJK SC",   "Droid Sans Fallback"};
    return language == Language::TraditionalChinese ? traditional : simplified;
}

// Latin families with the metrics of the Windows ones, so that texts fill their areas as they
// were laid out to: Liberation Sans and Arimo measure exactly as Arial does.
const QStringList& LatinCandidates()
{
    static const QStringList candidates{"Liberation Sans", "Arimo"};
    return candidates;
}

QString SansSerif()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

std::size_t IndexOf(FontRole role)
{
    return static_cast<std::size_t>(role);
}

} // namespace

QString FontBook::InstalledFamily(std::string_view windowsFamily, Language language)
{
    const QStringList installed = QFontDatabase::families();
    const QString name = QString::fromUtf8(windowsFamily.data(), static_cast<qsizetype>(windowsFamily.size()));
    if (installed.contains(name, Qt::CaseInsensitive)) {
        return name;
    }
    const bool cjk = windowsFamily == kSongTi || windowsFamily == kHeiTi;
    for (const QString& candidate : cjk ? CjkCandidates(language) : LatinCandidates()) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) {
            return candidate;
        }
    }
    return SansSerif();
}

QFont FontBook::MakeFont(const Font& font, Language language)
{
    QFont made(InstalledFamily(font.family, language));
    made.setStyleHint(QFont::SansSerif);
    made.setPixelSize(std::max(1, font.height));
    // Weight 0 asks for the platform's default, which is normal.
    const int weight = font.weight == kDefaultFontWeight ? int{QFont::Normal} : std::clamp(font.weight, 1, 1000);
    made.setWeight(static_cast<QFont::Weight>(weight));
    return made;
}

FontBook::FontBook(Language language, bool windows8)
{
    const FontSet& fonts = FontsFor(language, windows8);
    m_fonts[IndexOf(FontRole::Text)] = MakeFont(fonts.mainText, language);
    m_fonts[IndexOf(FontRole::Title)] = MakeFont(fonts.mainTitle, language);
    m_fonts[IndexOf(FontRole::Small)] = MakeFont(fonts.mainSmall, language);
    m_fonts[IndexOf(FontRole::Dialog)] = MakeFont(fonts.dialog, language);
    m_fonts[IndexOf(FontRole::SingleDialog)] = MakeFont(fonts.singleKeyDialog, language);
    m_fonts[IndexOf(FontRole::MacroManager)] = MakeFont(fonts.macroManager, language);
}

const QFont& FontBook::FontFor(FontRole role) const
{
    const std::size_t index = IndexOf(role);
    return m_fonts[index < m_fonts.size() ? index : 0];
}

QFont FontBook::ListFont() const
{
    QFont font = FontFor(FontRole::MacroManager);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace veldrane
