// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/SerialDevice.h"

#include <QSerialPort>

// One RS-232 port of the PC over Qt SerialPort, opened by its device path.
class CSerialPort : public SerialDevice
{
public:
    CSerialPort();
    ~CSerialPort() override;

    [[nodiscard]] std::optional<CSerialException> Open(const QString& path,
                                                       const SerialLineSettings& settings) override;
    void Close() override;
    bool IsOpen() const override;
    SerialResult<QByteArray> Read(qint64 maxCount) override;
    SerialResult<qint64> Write(const QByteArray& bytes) override;
    SerialResult<QByteArray> DiscardInput() override;

    // The line settings as the port reports them, with the read time-out it was opened with.
    SerialLineSettings Settings() const;

private:
    // The failure Qt SerialPort reported, which is cleared for the next operation.
    CSerialException PortFailure();
    // The failure of any use of a port that is closed or whose device has gone.
    std::optional<CSerialException> Unusable() const;
    void OnPortError(QSerialPort::SerialPortError error);

    QSerialPort port;
    int readTimeoutMs = 0;
    bool busy = false;    // inside Read, Write or DiscardInput, which report their own errors
    quint32 lostCode = 0; // the device failed while the port was idle; 0 = it did not
    quint64 session = 0;  // counts opens and closes, so that late work knows its port
};
