// SPDX-License-Identifier: MIT
#pragma once

#include "VirtualClock.h"
#include "core/link/SerialDevice.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <functional>

// A calibrator on virtual time whose replies lag: each frame, once whole, is answered
// `delayMs` later (or right after the reply before it, whichever is later), in order, a byte
// a millisecond as at 9600 baud. A calibrator that is `busy` while it waits (as r718-sim's
// late replies) starts each delay only when the reply before has gone, so the lag grows
// while frames come faster than it answers. `answer` makes the reply to a command; every reply made
// is kept in `made`, so a test can tell whose reply a read took. A read waits its whole time-out
// unless the buffer fills, as the real port does.
class LaggingCalibrator : public SerialDevice
{
public:
    using Answer = std::function<QByteArray(const QByteArray& command)>;
    struct Made
    {
        QByteArray command;
        QByteArray reply;
    };

    LaggingCalibrator(VirtualClock& clock, int delayMs, Answer answer, bool busy = false)
        : clock(clock), delayMs(delayMs), answer(std::move(answer)), busy(busy)
    {}

    void Open(int, quint32, int, quint8, int, int, bool) override { open = true; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }

    qint64 Read(char* buffer, qint64 count) override
    {
        Check();
        const qint64 end = clock.now + timeouts.readTotalTimeoutConstant;
        qint64 n = 0;
        while (n < count && !incoming.isEmpty() && incoming.first().at <= end) {
            const Byte b = incoming.takeFirst();
            buffer[n++] = b.byte;
            if (n == count)
                clock.now = qMax(clock.now, b.at);
        }
        if (n < count)
            clock.now = end;
        return n;
    }

    qint64 Write(const char* buffer, qint64 count) override
    {
        Check();
        for (qint64 i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (c == '^')
                frame.clear();
            else if (c == '%')
                Respond(frame);
            else
                frame.append(c);
        }
        return count;
    }

    QByteArray DiscardInput() override
    {
        Check();
        QByteArray dropped;
        while (!incoming.isEmpty() && incoming.first().at <= clock.now)
            dropped.append(incoming.takeFirst().byte);
        return dropped;
    }

    SerialTimeouts GetTimeouts() override { return timeouts; }
    void SetTimeouts(const SerialTimeouts& t) override { timeouts = t; }

    // The reply the calibrator made to the latest frame that carried `command`.
    QByteArray LastReplyTo(const QByteArray& command) const
    {
        for (qsizetype i = made.size() - 1; i >= 0; --i)
            if (made[i].command == command)
                return made[i].reply;
        return {};
    }

    QList<Made> made;

private:
    struct Byte
    {
        qint64 at;
        char byte;
    };

    void Check() const
    {
        if (!open)
            throw CSerialException(EBADF);
    }

    void Respond(const QByteArray& command)
    {
        const QByteArray reply = answer(command);
        made.append({command, reply});
        qint64 at =
            busy ? qMax(clock.now, replyEnd) + delayMs : qMax(clock.now + delayMs, replyEnd);
        for (const char c : reply)
            incoming.append({++at, c});
        replyEnd = at;
    }

    VirtualClock& clock;
    int delayMs;
    Answer answer;
    bool busy;
    SerialTimeouts timeouts;
    bool open = false;
    QByteArray frame;
    QList<Byte> incoming;
    qint64 replyEnd = 0;
};
