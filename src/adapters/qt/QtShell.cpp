#include "adapters/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QSysInfo>
#include <QUrl>

namespace veldrane {

void QtShell::OpenUrl(std::string_view url)
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))));
}

bool QtShell::StartDetached(const std::filesystem::path& program)
{
    const QString path = QString::fromStdString(program.string());
    return QProcess::startDetached(path, {}, QString::fromStdString(program.parent_path().string()));
}

ProcessorArchitecture QtShell::Architecture() const
{
    return ArchitectureFromName(QSysInfo::currentCpuArchitecture().toStdString());
}

ProcessorArchitecture QtShell::ArchitectureFromName(std::string_view name)
{
    if (name == "x86_64") {
        return ProcessorArchitecture::X86_64;
    }
    if (name == "arm64") {
        return ProcessorArchitecture::Arm64;
    }
    if (name == "i386") {
        return ProcessorArchitecture::X86;
    }
    return ProcessorArchitecture::Other;
}

} // namespace veldrane
