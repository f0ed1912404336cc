// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/SerialDevice.h"

#include <QSerialPort>

// The line settings of an open port (the device control block of the port layer).
struct SerialLineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

// One RS-232 port of the PC over Qt SerialPort. COM<n> is found through the port map.
class CSerialPort : public SerialDevice
{
public:
    CSerialPort();
    ~CSerialPort() override;

    void Open(int portNumber, quint32 baudRate, int parity, quint8 dataBits, int stopBits,
              int flowControl, bool overlapped) override;
    void Close() override;
    bool IsOpen() const override;
    qint64 Read(char* buffer, qint64 count) override;
    qint64 Write(const char* buffer, qint64 count) override;
    QByteArray DiscardInput() override;
    SerialTimeouts GetTimeouts() override;
    void SetTimeouts(const SerialTimeouts& timeouts) override;

    SerialLineSettings GetState();
    void SetState(const SerialLineSettings& settings);

private:
    [[noreturn]] void ThrowPortError();
    // Throws unless the port is open and its device still there.
    void CheckUsable() const;
    void OnPortError(QSerialPort::SerialPortError error);

    QSerialPort port;
    SerialTimeouts timeouts;
    bool overlapped = false;
    bool busy = false;    // inside Read or Write, which report their own errors
    quint32 lostCode = 0; // the device failed while the port was idle; 0 = it did not
    quint64 session = 0;  // counts opens and closes, so that late work knows its port
};

// Throws a CSerialException with the code; 0 takes the last system error instead.
[[noreturn]] void ThrowSerialException(quint32 errorCode = 0);
