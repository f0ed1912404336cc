// SPDX-License-Identifier: MIT
#include "core/app/PortSettings.h"

#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/link/PortMap.h"

#include <QSettings>

namespace {

const QString organisation = QStringLiteral("Modrex");

std::optional<int> ReadInt(const QString& application, const QString& key)
{
    const QSettings settings(organisation, application);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

} // namespace

namespace PortSettings {

std::optional<int> StoredPortIndex()
{
    return ReadInt(QStringLiteral("R718"), QStringLiteral("Com/Port"));
}

void StorePortIndex(int index)
{
    QSettings settings(organisation, QStringLiteral("R718"));
    settings.setValue(QStringLiteral("Com/Port"), index);
    settings.sync();
}

int StartupPortNumber()
{
    // The dialog's own key first: a port chosen there must survive a restart.
    if (const std::optional<int> index = StoredPortIndex())
        return *index + 1;
    if (const std::optional<int> older =
            ReadInt(QStringLiteral("Tevano 718"), QStringLiteral("Port")))
        return *older + 1;
    return 1;
}

int LoadPortChoice(CalibratorLink& link)
{
    const int index = StoredPortIndex().value_or(0);
    link.SetPortNumber(index + 1);
    return index;
}

bool ApplyPortChoice(CalibratorLink& link, int index, const std::optional<QString>& device)
{
    StorePortIndex(index);
    // The device goes into the port map before the port is opened, so that the open uses it.
    if (device && *device != PortDevicePath(index + 1))
        StorePortDevice(index + 1, *device);
    link.SetPortNumber(index + 1);
    // One sequence on the link: nothing of another window comes between the three. "X" goes
    // nowhere when the port does not open.
    LinkSession session(link);
    bool opened = false;
    session.Open(index + 1, [&opened](bool ok) { opened = ok; });
    session.Send(QStringLiteral("X"));
    session.Close();
    session.WaitUntilSent();
    return opened;
}

} // namespace PortSettings
