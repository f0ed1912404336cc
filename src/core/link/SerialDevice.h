// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CSerialException.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>
#include <QtGlobal>

// Read and write time-outs in milliseconds, in the form the port layer takes them.
struct SerialTimeouts
{
    quint32 readIntervalTimeout = 0;
    quint32 readTotalTimeoutMultiplier = 0;
    quint32 readTotalTimeoutConstant = 0;
    quint32 writeTotalTimeoutMultiplier = 0;
    quint32 writeTotalTimeoutConstant = 0;
};

// Line-setting codes taken by Open; their order is part of the interface.
enum SerialParity
{
    ParityEven = 0,
    ParityMark = 1,
    ParityNone = 2,
    ParityOdd = 3,
    ParitySpace = 4
};
enum SerialStopBits
{
    StopBitsOne = 0,
    StopBitsOneAndHalf = 1,
    StopBitsTwo = 2
};
enum SerialFlowControl
{
    FlowNone = 0,
    FlowCtsRts = 1,
    FlowCtsDtr = 2,
    FlowDsrRts = 3,
    FlowDsrDtr = 4,
    FlowXonXoff = 5
};

// One RS-232 port as the calibrator link uses it. CSerialPort is the real one; tests put a
// scripted device in its place.
class SerialDevice
{
public:
    virtual ~SerialDevice() = default;

    // Opens COM<portNumber> and applies the line settings; throws CSerialException.
    virtual void Open(int portNumber, quint32 baudRate, int parity, quint8 dataBits, int stopBits,
                      int flowControl, bool overlapped) = 0;
    // Closes the port if it is open; never throws.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // One blocking read of up to count bytes: returns what arrived within the total read
    // time-out (0 when nothing came). Throws CSerialException on failure.
    virtual qint64 Read(char* buffer, qint64 count) = 0;
    // One blocking write; throws CSerialException on failure.
    virtual qint64 Write(const char* buffer, qint64 count) = 0;
    // Drops whatever has come in and not been read yet and returns it, as far as the port can
    // tell. Throws CSerialException on failure.
    virtual QByteArray DiscardInput() = 0;
    virtual SerialTimeouts GetTimeouts() = 0;
    virtual void SetTimeouts(const SerialTimeouts& timeouts) = 0;

    // Writes never time out.
    void DisableWriteTimeout()
    {
        SerialTimeouts t = GetTimeouts();
        t.writeTotalTimeoutMultiplier = 0;
        t.writeTotalTimeoutConstant = 0;
        SetTimeouts(t);
    }
};
