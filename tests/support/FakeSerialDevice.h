// SPDX-License-Identifier: MIT
#pragma once

// FakeSerialDevice: a scripted stand-in for the calibrator's serial port.
// - Every Write is recorded with its bytes and the virtual time at which it happened
//   (`writes`, Written()). Reads split the written bytes into frames: `frames` holds the
//   bytes written before each read, frame by frame.
// - Each Read takes the next entry of `replies`; when that script is empty it asks
//   `responder` (which sees the frames written so far, the last one being the frame this
//   read answers); without either the line is silent. A reply longer than the read's count
//   is cut to the count.
// - A read that returns fewer bytes than asked for lasts the whole read time-out (as on the
//   real port): the clock is advanced by the read time-out of the settings it was opened with.
// - Faults: failOnRead / failOnWrite / failOnDiscard = n makes the n-th call (1-based, counted
//   since the device was made) fail with CSerialException(faultCode); openError refuses Open;
//   a non-zero configureError makes Open fail after the device is open (like refused line
//   settings, which leave the port open).
// - Read, Write and DiscardInput on a closed device fail with EBADF, as on the real port.
// - Bytes that come in unasked (a late reply): each entry of `arrivals` comes in once so many
//   bytes have been written (since the records were cleared), waits in the input, and is read in
//   front of the next reply unless DiscardInput drops (and returns) it first.
// FakeLink.h puts one behind the protocol (FakeProtocol) or a link of its own (FakeLink).

#include "VirtualClock.h"
#include "core/link/SerialDevice.h"

#include <QByteArray>
#include <QList>

#include <functional>

class FakeSerialDevice : public SerialDevice
{
public:
    struct WriteRecord
    {
        QByteArray bytes;
        qint64 at; // virtual time of the write, ms
    };
    struct OpenRecord
    {
        QString path;
        SerialLineSettings settings;
    };
    struct Arrival
    {
        qsizetype afterBytesWritten;
        QByteArray bytes;
    };
    using Responder = std::function<QByteArray(const QList<QByteArray>& frames)>;

    explicit FakeSerialDevice(VirtualClock* clock = nullptr) : clock(clock) {}

    std::optional<CSerialException> Open(const QString& path,
                                         const SerialLineSettings& settings) override;
    void Close() override;
    bool IsOpen() const override { return open; }
    SerialResult<QByteArray> Read(qint64 maxCount) override;
    SerialResult<qint64> Write(const QByteArray& bytes) override;
    SerialResult<QByteArray> DiscardInput() override;

    // All bytes written so far, in order.
    QByteArray Written() const;
    // The bytes written since the last read (the frame the next read will answer).
    QByteArray PendingFrame() const { return pending; }
    // Forgets what was written and read so far (the script and the faults stay).
    void ClearRecords();

    VirtualClock* clock;
    QList<QByteArray> replies;
    Responder responder;
    QList<Arrival> arrivals;
    SerialLineSettings settings; // of the latest open

    quint32 openError = 0;
    quint32 configureError = 0;
    int failOnRead = 0;
    int failOnWrite = 0;
    int failOnDiscard = 0;
    quint32 faultCode = 5; // EIO

    QList<WriteRecord> writes;
    QList<QByteArray> frames;
    QList<qint64> readTimes; // virtual time at the start of each read
    QList<OpenRecord> opens; // every Open call, refused ones included
    int readCount = 0;
    int writeCount = 0;
    int closeCount = 0;
    int discardCount = 0;

private:
    qint64 Now() const { return clock ? clock->now : 0; }
    // Moves the arrivals that are due by now into the input.
    void TakeArrivals();

    bool open = false;
    QByteArray pending;
    QByteArray input; // come in, not read yet
    qsizetype bytesWritten = 0;
};
