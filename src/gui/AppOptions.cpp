#include "gui/AppOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include "ports/ExitStatus.h"

namespace veldrane {

AppCommandLine ParseAppCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configurator of the Tessaly VELDRANE gaming mouse; it lives in the system tray.\n"
                       "Exit status: 0 done; 1 the operation failed; 2 a usage error; 3 no permission for the "
                       "mouse; 4 no mouse found (the last two are veldranectl's; the window runs without a mouse)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"), QStringLiteral("Run against the simulated mouse instead of the real one; the "
                                                   "profiles live in the \"simulated\" folder of the data directory."));
    const QCommandLineOption simTrace(QStringLiteral("sim-trace"),
                                      QStringLiteral("Write every report exchanged with the simulated mouse to "
                                                     "<file> (implies --simulate)."),
                                      QStringLiteral("file"));
    const QCommandLineOption simFault(
        QStringLiteral("sim-fault"),
        QStringLiteral("Make the simulated mouse misbehave: <fault> is %1 (implies "
                       "--simulate).")
            .arg(QString::fromUtf8(kSimulatedFaultChoices.data(),
                                   static_cast<qsizetype>(kSimulatedFaultChoices.size()))),
        QStringLiteral("fault"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep the profile, label and macro files in <dir> instead of "
                                                    "$XDG_DATA_HOME/veldrane."),
                                     QStringLiteral("dir"));
    parser.addOptions({simulate, simTrace, simFault, dataDir});

    // The parser names the program only once the toolkit runs; the texts are asked for before.
    const QString program =
        arguments.isEmpty() ? QCoreApplication::applicationName() : QFileInfo(arguments.front()).fileName();
    const QString helpText = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    AppCommandLine result;
    if (!parser.parse(arguments)) {
        result.exitStatus = kExitUsage;
        result.err = QCoreApplication::applicationName() + QStringLiteral(": ") + parser.errorText() +
                     QStringLiteral("\n\n") + helpText;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.exitStatus = kExitUsage;
        result.err = QCoreApplication::applicationName() + QStringLiteral(": unexpected argument '") +
                     parser.positionalArguments().front() + QStringLiteral("'\n\n") + helpText;
        return result;
    }
    if (parser.isSet(help)) {
        result.out = helpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.out = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
                     QLatin1Char('\n');
        return result;
    }
    AppOptions options;
    options.simTrace = parser.value(simTrace);
    if (parser.isSet(simFault)) {
        const QByteArray text = parser.value(simFault).toUtf8();
        options.simFault =
            SimulatedFault::Parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        if (!options.simFault) {
            result.exitStatus = kExitUsage;
            result.err = QCoreApplication::applicationName() + QStringLiteral(": --sim-fault needs one of ") +
                         QString::fromUtf8(kSimulatedFaultChoices.data(),
                                           static_cast<qsizetype>(kSimulatedFaultChoices.size())) +
                         QStringLiteral("\n\n") + helpText;
            return result;
        }
    }
    options.simulate = parser.isSet(simulate) || parser.isSet(simTrace) || parser.isSet(simFault);
    options.dataDir = parser.value(dataDir);
    result.options = options;
    return result;
}

} // namespace veldrane
