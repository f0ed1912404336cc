// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QSerialPort>
#include <QString>
#include <QStringList>

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

// What the advice on a device the user may not open rests on, read from the system by
// ExamineDeviceAccess (tests give their own).
struct DeviceAccess
{
    bool examined = false; // the device file could be looked at; else nothing below is known
    uint groupId = 0;      // its group
    uint mode = 0;         // its permission bits
    QString groupName;     // the name of its group (its number when it has none)
    // The user can run commands as the administrator (MayUseSudo).
    bool userMayUseSudo = false;
};
DeviceAccess ExamineDeviceAccess(const QString& path);

// The group to join for the device: its own when that group may read and write it and is not
// root's (the administrator's, never one to join); "dialout", the group of serial devices on
// Debian, when the file could not be looked at; empty when joining a group cannot help.
QString GroupToJoin(const DeviceAccess& access);

// Told without running sudo (which could ask for a password): sudo is installed and the user
// belongs to a group that sudo lets act as the administrator on Debian and its kin.
bool MayUseSudo(bool sudoInstalled, const QStringList& userGroups);

// Why COM<port>, standing for `device`, may not be opened by the user, and who can change it.
QString NoPermissionReason(const QString& device, int port, const DeviceAccess& access);

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
