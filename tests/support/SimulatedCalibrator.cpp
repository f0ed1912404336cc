// SPDX-License-Identifier: MIT
#include "SimulatedCalibrator.h"

#include "SimEngine.h"

#include <QMutexLocker>

#include <cerrno>

SimulatedCalibrator::SimulatedCalibrator(VirtualClock& clock)
    : clock(clock), engine(std::make_unique<SimEngine>())
{}

SimulatedCalibrator::~SimulatedCalibrator() = default;

std::optional<CSerialException> SimulatedCalibrator::Open(const QString&,
                                                          const SerialLineSettings& lineSettings)
{
    QMutexLocker lock(&mutex);
    if (away)
        return CSerialException(ENOENT, QSerialPort::DeviceNotFoundError, ENOENT);
    settings = lineSettings;
    open = true;
    hungUp = false;
    return std::nullopt;
}

void SimulatedCalibrator::Close()
{
    QMutexLocker lock(&mutex);
    open = false;
}

bool SimulatedCalibrator::IsOpen() const
{
    QMutexLocker lock(&mutex);
    return open;
}

SerialResult<QByteArray> SimulatedCalibrator::Read(qint64 maxCount)
{
    QMutexLocker lock(&mutex);
    if (!open)
        return CSerialException(EBADF);
    if (hungUp)
        return CSerialException(EIO);
    const qint64 end = clock.now + settings.readTimeoutMs;
    QByteArray got;
    while (got.size() < maxCount && !incoming.isEmpty() && incoming.first().at <= end) {
        const Byte b = incoming.takeFirst();
        got.append(b.byte);
        if (got.size() == maxCount)
            clock.now = qMax(clock.now, b.at);
    }
    if (got.size() < maxCount)
        clock.now = end;
    return got;
}

SerialResult<qint64> SimulatedCalibrator::Write(const QByteArray& bytes)
{
    QMutexLocker lock(&mutex);
    if (!open)
        return CSerialException(EBADF);
    if (hungUp)
        return CSerialException(EIO);
    for (const SimFrameResult& r : engine->Feed(bytes, clock.now / 1000.0)) {
        if (r.partial) {
            HangUp();
            continue;
        }
        frames << QString::fromLatin1(r.frame);
        // As r718-sim: the line is not served while a reply is late or paused, so each reply
        // starts once the one before has gone.
        qint64 at = qMax(clock.now, lineFreeAt) + r.lateMs;
        const qsizetype pieces =
            r.splitPauseMs > 0 ? qMin<qsizetype>(SimFaultPlan::splitPieces, r.reply.size()) : 1;
        for (qsizetype piece = 0; piece < pieces; ++piece) {
            if (piece > 0)
                at += r.splitPauseMs;
            const qsizetype to = r.reply.size() * (piece + 1) / pieces;
            for (qsizetype i = r.reply.size() * piece / pieces; i < to; ++i)
                incoming.append({++at, r.reply[i]});
        }
        lineFreeAt = at;
        if (r.hangUp)
            HangUp();
    }
    return bytes.size();
}

SerialResult<QByteArray> SimulatedCalibrator::DiscardInput()
{
    QMutexLocker lock(&mutex);
    if (!open)
        return CSerialException(EBADF);
    if (hungUp)
        return CSerialException(EIO);
    QByteArray dropped;
    while (!incoming.isEmpty() && incoming.first().at <= clock.now)
        dropped.append(incoming.takeFirst().byte);
    return dropped;
}

bool SimulatedCalibrator::Control(const QString& line)
{
    QMutexLocker lock(&mutex);
    if (!engine->Control(line).isEmpty())
        return false;
    if (engine->plan.TakeHangUpRequest())
        HangUp();
    if (engine->plan.TakePlugInRequest())
        away = false;
    return true;
}

QStringList SimulatedCalibrator::Frames() const
{
    QMutexLocker lock(&mutex);
    return frames;
}

// The line goes: what was on its way is lost, the open port is dead, and the device is back
// at once unless it is to stay away.
void SimulatedCalibrator::HangUp()
{
    incoming.clear();
    engine->LineHungUp();
    hungUp = open;
    away = engine->plan.stayAway;
}
