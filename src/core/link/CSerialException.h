// SPDX-License-Identifier: MIT
#pragma once

#include <QSerialPort>
#include <QString>
#include <QtGlobal>

// The failure of a serial port operation, returned by the port (SerialDevice.h), never
// thrown; carries the system's error code. A port that failed to open also tells what Qt
// SerialPort reported and the errno of the failure, from which the technician is told why
// (LinkReasons.h).
class CSerialException
{
public:
    explicit CSerialException(quint32 errorCode,
                              QSerialPort::SerialPortError portError = QSerialPort::NoError,
                              int systemError = 0)
        : errorCode(errorCode), portError(portError), systemError(systemError)
    {}
    // The system's text for errorCode; empty when the system has none.
    QString ErrorMessage() const;

    quint32 errorCode;
    QSerialPort::SerialPortError portError; // NoError when the failure did not come from Qt
    int systemError;                        // errno as the failure left it; 0 when unknown
};

// The failure with the code; 0 takes the last system error (errno) instead.
CSerialException SerialFailure(quint32 errorCode = 0);
