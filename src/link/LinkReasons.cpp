// SPDX-License-Identifier: MIT
#include "link/LinkReasons.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

namespace {

const QString usualGroup = QStringLiteral("dialout");

QString DeviceName(const QString& device, int port)
{
    return QStringLiteral("%1 (port COM%2)").arg(device).arg(port);
}

QString SystemText(int code)
{
    const QString text = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : QString();
    return text.isEmpty() ? QStringLiteral("błąd %1").arg(code) : text;
}

} // namespace

QString PrintableBytes(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = uchar(c);
        if (b >= 0x20 && b < 0x7f)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("<%1>").arg(uint(b), 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

OpenFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, int systemError)
{
    if (error == QSerialPort::DeviceNotFoundError || systemError == ENOENT ||
        systemError == ENODEV || systemError == ENXIO) {
        // Qt's lock leaves ENOENT behind when another program holds the device; its error
        // then says "permission", which is not a missing device.
        if (error != QSerialPort::PermissionError)
            return OpenFailure::Missing;
    }
    if (systemError == EACCES || systemError == EPERM)
        return OpenFailure::NoPermission;
    if (error == QSerialPort::PermissionError || systemError == EBUSY)
        return OpenFailure::Busy;
    return OpenFailure::Other;
}

QString SerialDeviceGroup(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return usualGroup;
    // Root's group, or a group without read and write rights, is no group to join.
    if (info.st_gid == 0 || (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return usualGroup;
    if (const group* g = ::getgrgid(info.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
#else
    Q_UNUSED(path);
#endif
    return usualGroup;
}

QString OpenFailureReason(const QString& device, int port, QSerialPort::SerialPortError error,
                          int systemError)
{
    const QString name = DeviceName(device, port);
    switch (ClassifyOpenFailure(error, systemError)) {
    case OpenFailure::Missing:
        return QStringLiteral("Urządzenie %1 nie jest podłączone. Sprawdź przewód i urządzenie "
                              "wybrane dla portu w oknie \"Parametry transmisji\".")
            .arg(name);
    case OpenFailure::NoPermission: {
        const QString group = SerialDeviceGroup(device);
        return QStringLiteral("Brak uprawnień do urządzenia %1. Port mogą otwierać członkowie "
                              "grupy %2. Dołącz do niej poleceniem\n"
                              "sudo usermod -aG %2 $USER\n"
                              "a potem wyloguj się i zaloguj ponownie.")
            .arg(name, group);
    }
    case OpenFailure::Busy:
        return QStringLiteral("Urządzenie %1 jest zajęte: używa go inny program. Zamknij ten "
                              "program i spróbuj ponownie.")
            .arg(name);
    case OpenFailure::Other:
        break;
    }
    return QStringLiteral("Urządzenie %1: %2.").arg(name, SystemText(systemError));
}

QString NoLinkReason(const QString& device, int port, const QList<LineExchange>& lastAttempt,
                     const QString& portError)
{
    const QString name = DeviceName(device, port);
    QString text = portError.isEmpty()
                       ? QStringLiteral("Kalibrator na urządzeniu %1 nie odpowiada.").arg(name)
                       : QStringLiteral("Błąd urządzenia %1: %2.").arg(name, portError);
    QStringList steps;
    for (const LineExchange& e : lastAttempt) {
        QString step = QStringLiteral("wysłano \"%1\", ").arg(PrintableBytes(e.sent));
        step += e.received.isEmpty()
                    ? QStringLiteral("nic nie odebrano")
                    : QStringLiteral("odebrano \"%1\"").arg(PrintableBytes(e.received));
        steps << step;
    }
    if (!steps.isEmpty())
        text += QStringLiteral("\nOstatnia próba: %1.").arg(steps.join(QStringLiteral("; ")));
    return text;
}
