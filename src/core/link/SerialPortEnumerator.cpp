// SPDX-License-Identifier: MIT
#include "core/link/SerialPortEnumerator.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>

namespace {

class SystemEnumerator : public SerialPortEnumerator
{
public:
    QList<SerialPortDescription> Ports() const override
    {
        QList<SerialPortDescription> ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
            const QString path = info.portName(); // "COM3", as the port map names it
#else
            const QString path = info.systemLocation();
#endif
            ports.append({path, info.description(), info.manufacturer(), info.serialNumber()});
        }
        QCollator natural;
        natural.setNumericMode(true);
        std::sort(ports.begin(), ports.end(),
                  [&natural](const SerialPortDescription& a, const SerialPortDescription& b) {
                      return natural.compare(a.path, b.path) < 0;
                  });
        return ports;
    }
};

} // namespace

SerialPortEnumerator& SystemSerialPorts()
{
    static SystemEnumerator enumerator;
    return enumerator;
}

QString SerialPortLabel(const SerialPortDescription& port)
{
    QString label = port.path;
    if (!port.description.trimmed().isEmpty())
        label += QStringLiteral(" — ") + port.description.trimmed();
    QStringList details;
    for (const QString& detail : {port.manufacturer, port.serialNumber})
        if (!detail.trimmed().isEmpty())
            details << detail.trimmed();
    if (!details.isEmpty())
        label += QStringLiteral(" (") + details.join(QStringLiteral(", ")) + QLatin1Char(')');
    return label;
}
