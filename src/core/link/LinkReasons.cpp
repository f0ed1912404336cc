// SPDX-License-Identifier: MIT
#include "core/link/LinkReasons.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
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

DeviceAccess ExamineDeviceAccess(const QString& path)
{
    DeviceAccess access;
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        access.examined = true;
        access.groupId = info.st_gid;
        access.mode = info.st_mode & 07777;
        const group* g = ::getgrgid(info.st_gid);
        access.groupName = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(info.st_gid);
    }
    QStringList userGroups;
    std::vector<gid_t> ids(size_t(std::max(::getgroups(0, nullptr), 0)));
    ids.resize(size_t(std::max(::getgroups(int(ids.size()), ids.data()), 0)));
    ids.push_back(::getegid());
    for (const gid_t id : ids)
        if (const group* g = ::getgrgid(id))
            userGroups << QString::fromLocal8Bit(g->gr_name);
    const bool sudoInstalled =
        !QStandardPaths::findExecutable(QStringLiteral("sudo")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("sudo"), {QStringLiteral("/usr/bin")})
             .isEmpty();
    access.userMayUseSudo = MayUseSudo(sudoInstalled, userGroups);
#else
    Q_UNUSED(path);
#endif
    return access;
}

QString GroupToJoin(const DeviceAccess& access)
{
    if (!access.examined)
        return usualGroup;
    constexpr uint groupReadWrite = 060;
    if (access.groupId == 0 || (access.mode & groupReadWrite) != groupReadWrite)
        return QString();
    return access.groupName;
}

bool MayUseSudo(bool sudoInstalled, const QStringList& userGroups)
{
    static const QStringList administrators = {QStringLiteral("sudo"), QStringLiteral("wheel"),
                                               QStringLiteral("admin")};
    return sudoInstalled && std::any_of(administrators.begin(), administrators.end(),
                                        [&](const QString& g) { return userGroups.contains(g); });
}

QString NoPermissionReason(const QString& device, int port, const DeviceAccess& access)
{
    QString text =
        QStringLiteral("Brak uprawnień do urządzenia %1. ").arg(DeviceName(device, port));
    const QString group = GroupToJoin(access);
    if (!group.isEmpty()) {
        text += QStringLiteral("Port mogą otwierać członkowie grupy %1. ").arg(group);
        if (access.userMayUseSudo)
            return text + QStringLiteral("Dołącz do niej poleceniem\n"
                                         "sudo usermod -aG %1 $USER\n"
                                         "a potem wyloguj się i zaloguj ponownie.")
                              .arg(group);
        return text + QStringLiteral("Poproś administratora komputera o dołączenie do niej, "
                                     "a potem wyloguj się i zaloguj ponownie.");
    }
    // Only the administrator can open such a device to others.
    text += access.groupId == 0
                ? QStringLiteral("Urządzenie należy do grupy root, więc dołączenie do grupy "
                                 "nie pomoże. ")
                : QStringLiteral("Grupa %1 nie ma prawa odczytu i zapisu urządzenia, więc "
                                 "dołączenie do niej nie pomoże. ")
                      .arg(access.groupName);
    const QString how = QStringLiteral("regułą udev albo grupą urządzenia z prawem odczytu i "
                                       "zapisu (na przykład dialout).");
    if (access.userMayUseSudo)
        return text + QStringLiteral("Dostęp musi nadać administrator: ") + how;
    return text + QStringLiteral("Poproś administratora komputera o nadanie dostępu: ") + how;
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
    case OpenFailure::NoPermission:
        return NoPermissionReason(device, port, ExamineDeviceAccess(device));
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
