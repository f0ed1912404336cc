// SPDX-License-Identifier: MIT
#pragma once

#include "RecordingMessageService.h"
#include "VirtualClock.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/link/SerialDevice.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <memory>

class SimEngine;

// r718-sim's instrument and fault plan (SimEngine) as a serial device on virtual time: the
// same answers, NAKs, silences, garbage, split and late replies, hang-ups and a device that
// stays away, without a pseudo-terminal and without waiting. Each reply byte comes a
// millisecond after the one before, as at 9600 baud; a read waits its whole time-out unless
// its buffer fills, as the real port does. After a hang-up the open port fails every
// operation (EIO) until it is closed; the device opens again at once, or after "plug-in"
// when it was to stay away. Control lines and the frame list may be used from another thread
// than the one the link's worker reads and writes on.
class SimulatedCalibrator : public SerialDevice
{
public:
    explicit SimulatedCalibrator(VirtualClock& clock);
    ~SimulatedCalibrator() override;

    std::optional<CSerialException> Open(const QString& path,
                                         const SerialLineSettings& settings) override;
    void Close() override;
    bool IsOpen() const override;
    SerialResult<QByteArray> Read(qint64 maxCount) override;
    SerialResult<qint64> Write(const QByteArray& bytes) override;
    SerialResult<QByteArray> DiscardInput() override;

    // A control line as r718-sim takes them ("nak 3", "silence forever", "hangup",
    // "plug-in"...); false when it was not understood.
    bool Control(const QString& line);
    // The frames received so far, in order ("^P%"; cut frames left out).
    QStringList Frames() const;

private:
    struct Byte
    {
        qint64 at;
        char byte;
    };
    void HangUp();

    VirtualClock& clock;
    std::unique_ptr<SimEngine> engine;
    mutable QMutex mutex; // guards all below and the engine
    SerialLineSettings settings;
    bool open = false;
    bool hungUp = false; // the open port's device went away
    bool away = false;   // the device is gone until plugged in
    QList<Byte> incoming;
    qint64 lineFreeAt = 0; // when the last reply queued has gone out
    QStringList frames;
};

// The program's link to a SimulatedCalibrator on COM<port>, its messages recorded in
// `messages` (or shown by `shown`, when given): SimLink's calls, on virtual time.
struct SimulatedLink
{
    explicit SimulatedLink(int port = 1, MessageService* shown = nullptr)
        : link(shown ? *shown : messages, &device, &clock)
    {
        link.SetPortNumber(port);
    }
    // Waits until everything posted to the link so far was carried out.
    void Settle()
    {
        LinkSession session(link);
        session.Sync();
        session.WaitUntilSent();
    }
    bool Control(const QString& line) { return device.Control(line); }
    QStringList Frames() const { return device.Frames(); }

    RecordingMessageService messages;
    VirtualClock clock;
    SimulatedCalibrator device{clock};
    CalibratorLink link;
};
