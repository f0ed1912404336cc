#pragma once

#include "link/CalibratorLink.h"
#include "link/LinkClock.h"
#include "link/SerialDevice.h"

#include <QByteArray>
#include <QSet>

// A calibrator port for the shell's tests: only the listed COM ports open; every write is
// recorded; each read answers with the acknowledgement (or nothing, when silent). Installs
// itself as the link's device and puts a clock in place that does not sleep.
class ScriptedPort : public SerialDevice, public LinkClock
{
public:
    explicit ScriptedPort(QSet<int> openablePorts) : openable(std::move(openablePorts))
    {
        previousDevice = SetCalibratorDevice(this);
        previousClock = SetLinkClock(this);
    }
    ~ScriptedPort() override
    {
        SetCalibratorDevice(previousDevice);
        SetLinkClock(previousClock);
        linkOpen = false;
    }

    void Open(int port, quint32, int, quint8, int, int, bool) override
    {
        openAttempts.append(port);
        if (!openable.contains(port))
            throw CSerialException(2);
        openPort = port;
    }
    void Close() override
    {
        if (openPort)
            ++closeCount;
        openPort = 0;
    }
    bool IsOpen() const override { return openPort != 0; }
    qint64 Read(char* buffer, qint64 count) override
    {
        if (silent || count < 1)
            return 0;
        buffer[0] = '%';
        return 1;
    }
    qint64 Write(const char* buffer, qint64 count) override
    {
        wire.append(buffer, count);
        return count;
    }
    SerialTimeouts GetTimeouts() override { return timeouts; }
    void SetTimeouts(const SerialTimeouts& t) override { timeouts = t; }
    void SleepMs(int) override {}

    QSet<int> openable;
    QList<int> openAttempts;
    QByteArray wire;
    int openPort = 0;
    int closeCount = 0;
    bool silent = false;

private:
    SerialTimeouts timeouts;
    SerialDevice* previousDevice = nullptr;
    LinkClock* previousClock = nullptr;
};
