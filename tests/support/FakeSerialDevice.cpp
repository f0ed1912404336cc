// SPDX-License-Identifier: MIT
#include "FakeSerialDevice.h"

#include <cerrno>
#include <utility>

std::optional<CSerialException> FakeSerialDevice::Open(const QString& path,
                                                       const SerialLineSettings& lineSettings)
{
    opens.append({path, lineSettings});
    if (openError != 0)
        return CSerialException(openError);
    open = true;
    settings = lineSettings;
    if (configureError != 0)
        return CSerialException(configureError);
    return std::nullopt;
}

void FakeSerialDevice::Close()
{
    ++closeCount;
    open = false;
}

SerialResult<QByteArray> FakeSerialDevice::Read(qint64 maxCount)
{
    ++readCount;
    if (!open)
        return CSerialException(EBADF);
    if (readCount == failOnRead)
        return CSerialException(faultCode);
    readTimes.append(Now());
    frames.append(pending);
    pending.clear();

    TakeArrivals();
    QByteArray reply = input;
    input.clear();
    if (!replies.isEmpty())
        reply += replies.takeFirst();
    else if (responder)
        reply += responder(frames);
    reply.truncate(maxCount);

    if (reply.size() < maxCount && clock)
        clock->Advance(settings.readTimeoutMs);
    return reply;
}

SerialResult<qint64> FakeSerialDevice::Write(const QByteArray& bytes)
{
    ++writeCount;
    if (!open)
        return CSerialException(EBADF);
    if (writeCount == failOnWrite)
        return CSerialException(faultCode);
    writes.append({bytes, Now()});
    pending += bytes;
    bytesWritten += bytes.size();
    return bytes.size();
}

SerialResult<QByteArray> FakeSerialDevice::DiscardInput()
{
    ++discardCount;
    if (!open)
        return CSerialException(EBADF);
    if (discardCount == failOnDiscard)
        return CSerialException(faultCode);
    TakeArrivals();
    return std::exchange(input, QByteArray());
}

void FakeSerialDevice::TakeArrivals()
{
    while (!arrivals.isEmpty() && arrivals.first().afterBytesWritten <= bytesWritten)
        input += arrivals.takeFirst().bytes;
}

QByteArray FakeSerialDevice::Written() const
{
    QByteArray all;
    for (const WriteRecord& w : writes)
        all += w.bytes;
    return all;
}

void FakeSerialDevice::ClearRecords()
{
    writes.clear();
    frames.clear();
    readTimes.clear();
    opens.clear();
    pending.clear();
    bytesWritten = 0;
}
