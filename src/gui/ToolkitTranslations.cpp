#include "gui/ToolkitTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace veldrane {

namespace {

constexpr char kTranslatorName[] = "veldrane-toolkit";

} // namespace

void InstallToolkitTranslations(Language language)
{
    if (!QCoreApplication::instance()) {
        return;
    }
    // The language chosen before leaves with its translator, which removes itself.
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>(QLatin1String(kTranslatorName),
                                                                        Qt::FindDirectChildrenOnly));
    if (language == Language::English) {
        return;
    }
    const QLocale locale(QLocale::Chinese,
                         language == Language::SimplifiedChinese ? QLocale::SimplifiedChineseScript
                                                                 : QLocale::TraditionalChineseScript,
                         language == Language::SimplifiedChinese ? QLocale::China : QLocale::Taiwan);
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(QLatin1String(kTranslatorName));
    if (translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

} // namespace veldrane
