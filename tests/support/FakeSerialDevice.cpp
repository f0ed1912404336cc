// SPDX-License-Identifier: MIT
#include "FakeSerialDevice.h"

#include <cerrno>
#include <cstring>
#include <utility>

void FakeSerialDevice::Open(int portNumber, quint32 baudRate, int parity, quint8 dataBits,
                            int stopBits, int flowControl, bool overlapped)
{
    opens.append({portNumber, baudRate, parity, dataBits, stopBits, flowControl, overlapped});
    if (openError != 0)
        throw CSerialException(openError);
    open = true;
    if (configureError != 0)
        throw CSerialException(configureError);
}

void FakeSerialDevice::Close()
{
    ++closeCount;
    open = false;
}

qint64 FakeSerialDevice::Read(char* buffer, qint64 count)
{
    ++readCount;
    if (!open)
        throw CSerialException(EBADF);
    if (readCount == throwOnRead)
        throw CSerialException(faultCode);
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
    reply.truncate(count);

    if (reply.size() < count && clock)
        clock->Advance(qint64(timeouts.readTotalTimeoutConstant) +
                       qint64(timeouts.readTotalTimeoutMultiplier) * count);
    if (!reply.isEmpty())
        std::memcpy(buffer, reply.constData(), size_t(reply.size()));
    return reply.size();
}

qint64 FakeSerialDevice::Write(const char* buffer, qint64 count)
{
    ++writeCount;
    if (!open)
        throw CSerialException(EBADF);
    if (writeCount == throwOnWrite)
        throw CSerialException(faultCode);
    const QByteArray bytes(buffer, count);
    writes.append({bytes, Now()});
    pending += bytes;
    bytesWritten += count;
    return count;
}

QByteArray FakeSerialDevice::DiscardInput()
{
    if (!open)
        throw CSerialException(EBADF);
    ++discards;
    TakeArrivals();
    return std::exchange(input, QByteArray());
}

void FakeSerialDevice::TakeArrivals()
{
    while (!arrivals.isEmpty() && arrivals.first().afterBytesWritten <= bytesWritten)
        input += arrivals.takeFirst().bytes;
}

SerialTimeouts FakeSerialDevice::GetTimeouts()
{
    if (!open)
        throw CSerialException(EBADF);
    return timeouts;
}

void FakeSerialDevice::SetTimeouts(const SerialTimeouts& t)
{
    if (!open)
        throw CSerialException(EBADF);
    if (timeoutsError != 0)
        throw CSerialException(timeoutsError);
    timeouts = t;
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
