// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QSerialPort>
#include <QString>

// Why the link failed, in the technician's words: the second part of the link's two messages.

// Bytes of the line as people read them: printable ASCII as it is, every other byte as its
// hexadecimal code in angle brackets ("^P%", "<15>").
QString PrintableBytes(const QByteArray& bytes);

enum class OpenFailure
{
    Missing,      // no such device: not plugged in, or a wrong path
    NoPermission, // the user may not read and write it
    Busy,         // another program holds it (its lock, or exclusive use)
    Other,        // anything else: the system's own text says what
};

// What an open that failed means, from Qt SerialPort's error and the errno it left. Qt reports
// a device locked by another program as a permission error, with whatever errno the lock left.
OpenFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, int systemError);

// The group whose members may use the device: the device file's own group when that group may
// read and write it, else "dialout", the group of serial devices on Debian.
QString SerialDeviceGroup(const QString& path);

// Why COM<port>, standing for `device`, could not be opened.
QString OpenFailureReason(const QString& device, int port, QSerialPort::SerialPortError error,
                          int systemError);

// One frame and what the read after it brought (empty when nothing came).
struct LineExchange
{
    QByteArray sent;
    QByteArray received;
};

// Why the calibrator on COM<port> counts as not answering: what the last attempt sent and what
// came back. `portError` is the system's text when the device failed under the transaction.
QString NoLinkReason(const QString& device, int port, const QList<LineExchange>& lastAttempt,
                     const QString& portError = {});
