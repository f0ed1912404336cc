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
// is kept in `made`, so a test can tell whose reply a read took; `lateReplies` limits the lag
// to the next few replies. A read waits its whole time-out
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

    std::optional<CSerialException> Open(const QString&,
                                         const SerialLineSettings& lineSettings) override
    {
        settings = lineSettings;
        open = true;
        return std::nullopt;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }

    SerialResult<QByteArray> Read(qint64 maxCount) override
    {
        if (!open)
            return CSerialException(EBADF);
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

    SerialResult<qint64> Write(const QByteArray& bytes) override
    {
        if (!open)
            return CSerialException(EBADF);
        for (const char c : bytes) {
            if (c == '^')
                frame.clear();
            else if (c == '%')
                Respond(frame);
            else
                frame.append(c);
        }
        return bytes.size();
    }

    SerialResult<QByteArray> DiscardInput() override
    {
        if (!open)
            return CSerialException(EBADF);
        QByteArray dropped;
        while (!incoming.isEmpty() && incoming.first().at <= clock.now)
            dropped.append(incoming.takeFirst().byte);
        return dropped;
    }

    // The reply the calibrator made to the latest frame that carried `command`.
    QByteArray LastReplyTo(const QByteArray& command) const
    {
        for (qsizetype i = made.size() - 1; i >= 0; --i)
            if (made[i].command == command)
                return made[i].reply;
        return {};
    }

    QList<Made> made;
    // How many of the replies from now on lag; the rest come at once. Negative: all of them.
    int lateReplies = -1;

private:
    struct Byte
    {
        qint64 at;
        char byte;
    };

    void Respond(const QByteArray& command)
    {
        const QByteArray reply = answer(command);
        made.append({command, reply});
        const int delay = lateReplies != 0 ? delayMs : 0;
        if (lateReplies > 0)
            --lateReplies;
        qint64 at = busy ? qMax(clock.now, replyEnd) + delay : qMax(clock.now + delay, replyEnd);
        for (const char c : reply)
            incoming.append({++at, c});
        replyEnd = at;
    }

    VirtualClock& clock;
    int delayMs;
    Answer answer;
    bool busy;
    SerialLineSettings settings;
    bool open = false;
    QByteArray frame;
    QList<Byte> incoming;
    qint64 replyEnd = 0;
};
