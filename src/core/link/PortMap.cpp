// SPDX-License-Identifier: MIT
#include "core/link/PortMap.h"

#include <QSettings>

namespace {

QSettings PortSettings()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"));
}

} // namespace

QString PortSettingsKey(int portNumber)
{
    return QStringLiteral("Ports/COM%1").arg(portNumber);
}

QString PlatformPortName(int portNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QString PortVariableName(int portNumber)
{
    return QStringLiteral("R718_COM%1").arg(portNumber);
}

bool PortFixedByEnvironment(int portNumber)
{
    return !qEnvironmentVariableIsEmpty(PortVariableName(portNumber).toLatin1().constData());
}

QString PortDevicePath(int portNumber)
{
    const QByteArray fromEnvironment = qgetenv(PortVariableName(portNumber).toLatin1());
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);

    const QString fromSettings = PortSettings().value(PortSettingsKey(portNumber)).toString();
    if (!fromSettings.isEmpty())
        return fromSettings;

    return PlatformPortName(portNumber);
}

void StorePortDevice(int portNumber, const QString& path)
{
    QSettings settings = PortSettings();
    if (path.isEmpty())
        settings.remove(PortSettingsKey(portNumber));
    else
        settings.setValue(PortSettingsKey(portNumber), path);
    settings.sync();
}
