// SPDX-License-Identifier: MIT
#include "SimProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

SimProcess::SimProcess() = default;

SimProcess::~SimProcess()
{
    Stop();
}

QString SimProcess::LinkPath() const
{
    return folder.filePath(QStringLiteral("line"));
}

bool SimProcess::Start(const QStringList& options)
{
    Stop();
    const QString program = qEnvironmentVariable("R718_SIM");
    if (program.isEmpty()) {
        error = QStringLiteral("R718_SIM is not set");
        return false;
    }
    if (!folder.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    QFile::remove(folder.filePath(QStringLiteral("frames.log")));
    process.setProgram(program);
    process.setArguments(QStringList{QStringLiteral("--link"), LinkPath(), QStringLiteral("--log"),
                                     folder.filePath(QStringLiteral("frames.log")),
                                     QStringLiteral("--parent"),
                                     QString::number(QCoreApplication::applicationPid())} +
                         options);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(5000)) {
        error = process.errorString();
        return false;
    }
    devicePath = ReadLine(5000);
    if (devicePath.isEmpty()) {
        error = QStringLiteral("r718-sim printed no device path");
        Stop();
        return false;
    }
    return true;
}

int SimProcess::Stop()
{
    if (process.state() == QProcess::NotRunning)
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    process.closeWriteChannel();
    process.terminate();
    if (process.waitForFinished(3000))
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    process.kill();
    process.waitForFinished(1000);
    return -1;
}

bool SimProcess::IsRunning() const
{
    return process.state() == QProcess::Running;
}

qint64 SimProcess::ProcessId() const
{
    return process.processId();
}

void SimProcess::MapPort(int port) const
{
    qputenv(QByteArray("R718_COM") + QByteArray::number(port), QFile::encodeName(LinkPath()));
}

QString SimProcess::ReadLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine()) {
        if (deadline.hasExpired() || process.state() != QProcess::Running)
            return QString();
        process.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1)));
    }
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

bool SimProcess::Control(const QString& line)
{
    if (!IsRunning()) {
        error = QStringLiteral("r718-sim is not running");
        return false;
    }
    process.write(line.toLatin1() + '\n');
    process.waitForBytesWritten(1000);
    // Lines announcing a new pseudo-terminal or a device gone away may come first.
    for (;;) {
        const QString answer = ReadLine(5000);
        if (answer.startsWith(QLatin1String("pty ")) || answer == QLatin1String("away"))
            continue;
        if (answer == QLatin1String("ok"))
            return true;
        error = answer.isEmpty() ? QStringLiteral("no answer to %1").arg(line) : answer;
        return false;
    }
}

QList<SimLogEntry> SimProcess::Log() const
{
    QList<SimLogEntry> entries;
    QFile file(folder.filePath(QStringLiteral("frames.log")));
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().chopped(1).split('\t');
        if (fields.size() < 4)
            continue;
        entries.append({fields[0].toDouble(), QString::fromLatin1(fields[1]),
                        QString::fromLatin1(fields[2]), QString::fromLatin1(fields[3])});
    }
    return entries;
}

QStringList SimProcess::Frames() const
{
    QStringList frames;
    for (const SimLogEntry& e : Log()) {
        if (e.action != QLatin1String("hangup") && e.action != QLatin1String("plug-in"))
            frames << e.frame;
    }
    return frames;
}
