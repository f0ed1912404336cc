// SPDX-License-Identifier: MIT
#include "core/app/SimulatorLauncher.h"

#include "core/base/MessageService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int firstPort = 1;
constexpr int lastPort = 4;
constexpr int startTimeoutMs = 5000;

QByteArray PortVariable(int port)
{
    return "R718_COM" + QByteArray::number(port);
}

} // namespace

SimulatorLauncher::~SimulatorLauncher()
{
    Stop();
}

QStringList SimulatorLauncher::SimulatorCandidates(const QString& programDir)
{
    const QString fromEnvironment = qEnvironmentVariable("R718_SIM");
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment};
    const QDir dir(programDir);
    return {dir.filePath(QStringLiteral("r718-sim")),
            QDir::cleanPath(dir.filePath(QStringLiteral(R718_SIM_FROM_BIN "/r718-sim")))};
}

QString SimulatorLauncher::SimulatorProgram(const QString& programDir)
{
    for (const QString& candidate : SimulatorCandidates(programDir)) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return candidate;
    }
    return QString();
}

bool SimulatorLauncher::Fail(const QString& message, MessageService& messages)
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    linePath.clear();
    messages.ShowError(message);
    return false;
}

bool SimulatorLauncher::Start(MessageService& messages)
{
    Stop();
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString program = SimulatorProgram(programDir);
    if (program.isEmpty()) {
        QStringList places = SimulatorCandidates(programDir);
        for (QString& place : places)
            place = QDir::toNativeSeparators(place);
        return Fail(QStringLiteral("Nie znaleziono symulatora kalibratora (%1).\n"
                                   "Program pracuje bez symulatora.")
                        .arg(places.join(QStringLiteral(", "))),
                    messages);
    }

    // The link lives in the user's own runtime folder; the simulator removes it when it ends,
    // however the program ends.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString link =
        QDir(QFileInfo(runtime).isDir() ? runtime : QDir::tempPath())
            .filePath(QStringLiteral("r718-line-%1").arg(QCoreApplication::applicationPid()));

    const QString cannotStart = QStringLiteral("Nie można uruchomić symulatora kalibratora.\n"
                                               "Program pracuje bez symulatora.");
    process.setProgram(program);
    // A K thermocouple transmitter 0-500 °C to 4-20 mA (the shipped example) with errors to
    // find and trim, so that a transducer check can be shown without an instrument.
    process.setArguments(
        {QStringLiteral("--link"), link, QStringLiteral("--parent"),
         QString::number(QCoreApplication::applicationPid()), QStringLiteral("--transmitter"),
         QStringLiteral("in=0:500,out=4:20,zero=0.4,span=-0.3,noise=0.002,lag=0.5")});
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(startTimeoutMs))
        return Fail(cannotStart, messages);

    // The first line is the device path: the line is ready once it is there.
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!process.canReadLine()) {
        if (process.state() != QProcess::Running ||
            !process.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1))) ||
            deadline.hasExpired()) {
            if (process.canReadLine())
                break;
            return Fail(cannotStart, messages);
        }
    }
    if (process.readLine().trimmed().isEmpty() || !QFileInfo::exists(link))
        return Fail(cannotStart, messages);

    linePath = link;
    for (int port = firstPort; port <= lastPort; ++port)
        qputenv(PortVariable(port), QFile::encodeName(linePath));
    return true;
}

void SimulatorLauncher::Stop()
{
    if (!linePath.isEmpty()) {
        for (int port = firstPort; port <= lastPort; ++port) {
            if (qgetenv(PortVariable(port)) == QFile::encodeName(linePath))
                qunsetenv(PortVariable(port));
        }
        linePath.clear();
    }
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    process.terminate();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

bool SimulatorLauncher::IsRunning() const
{
    return process.state() == QProcess::Running;
}

qint64 SimulatorLauncher::ProcessId() const
{
    return process.processId();
}
