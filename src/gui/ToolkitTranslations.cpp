#include "gui/ToolkitTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace veldrane {

void InstallToolkitTranslations(Language language)
{
    if (language == Language::English || !QCoreApplication::instance()) {
        return;
    }
    const QLocale locale(QLocale::Chinese,
                         language == Language::SimplifiedChinese ? QLocale::SimplifiedChineseScript
                                                                 : QLocale::TraditionalChineseScript,
                         language == Language::SimplifiedChinese ? QLocale::China : QLocale::Taiwan);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

} // namespace veldrane
