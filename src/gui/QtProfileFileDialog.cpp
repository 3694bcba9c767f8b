#include "gui/QtProfileFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include "core/text/ProfileManagerTexts.h"

namespace veldrane {

namespace {

QString FromPath(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

std::optional<std::filesystem::path> ToPath(const QString& chosen)
{
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdU16String());
}

} // namespace

QString QtProfileFileDialog::QtFilter(std::string_view platformFilter)
{
    const QStringList parts =
        QString::fromUtf8(platformFilter.data(), static_cast<qsizetype>(platformFilter.size())).split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i].isEmpty()) {
            descriptions.append(parts[i]);
        }
    }
    return descriptions.join(QStringLiteral(";;"));
}

std::optional<std::filesystem::path> QtProfileFileDialog::AskOpenFile(const std::filesystem::path& proposed)
{
    return ToPath(QFileDialog::getOpenFileName(m_parent, QString(), FromPath(proposed), QtFilter(kProfileFileFilter)));
}

std::optional<std::filesystem::path> QtProfileFileDialog::AskSaveFile(const std::filesystem::path& proposed)
{
    return ToPath(QFileDialog::getSaveFileName(m_parent, QString(), FromPath(proposed), QtFilter(kProfileFileFilter)));
}

} // namespace veldrane
