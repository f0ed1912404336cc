// SPDX-License-Identifier: MIT
#pragma once

#include <QSerialPort>
#include <QString>
#include <QtGlobal>

// Raised by a serial port for every failing system call; carries the system's error code.
// A port that failed to open also tells what Qt SerialPort reported and the errno of the
// failure, from which the technician is told why (LinkReasons.h).
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
