// SPDX-License-Identifier: MIT
#include "link/PortMap.h"

#include <QSettings>

QString PortSettingsKey(int portNumber)
{
    return QStringLiteral("Ports/COM%1").arg(portNumber);
}

QString PortDevicePath(int portNumber)
{
    const QByteArray fromEnvironment =
        qgetenv(QStringLiteral("R718_COM%1").arg(portNumber).toLatin1());
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);

    const QSettings settings(QStringLiteral("Modrex"), QStringLiteral("R718"));
    const QString fromSettings = settings.value(PortSettingsKey(portNumber)).toString();
    if (!fromSettings.isEmpty())
        return fromSettings;

#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}
