// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/link/PortMap.h"

#include <QSettings>
#include <QTest>

// Which device each COM port number stands for.

class TestPortMap : public QObject
{
    Q_OBJECT

private:
    static void SetSetting(int port, const QString& path)
    {
        QSettings settings(QStringLiteral("Modrex"), QStringLiteral("R718"));
        if (path.isEmpty())
            settings.remove(PortSettingsKey(port));
        else
            settings.setValue(PortSettingsKey(port), path);
    }

private slots:
    void cleanup()
    {
        for (int port = 0; port <= 12; ++port) {
            qunsetenv(qPrintable(QStringLiteral("R718_COM%1").arg(port)));
            SetSetting(port, {});
        }
    }

    void settingsKey() { QCOMPARE(PortSettingsKey(3), QStringLiteral("Ports/COM3")); }

    void platformDefault_data()
    {
        DataColumns<int, QString>("port", "path");
        DataRow("COM1", 1, "/dev/ttyS0");
        DataRow("COM4", 4, "/dev/ttyS3");
        DataRow("COM12 (above 9 as well)", 12, "/dev/ttyS11");
    }
    void platformDefault()
    {
        QFETCH(int, port);
        QFETCH(QString, path);
        QCOMPARE(PortDevicePath(port), path);
    }

    void environmentBeatsSettingsBeatsDefault()
    {
        QCOMPARE(PortDevicePath(2), QStringLiteral("/dev/ttyS1"));

        SetSetting(2, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(PortDevicePath(2), QStringLiteral("/dev/ttyUSB0"));

        qputenv("R718_COM2", "/dev/pts/9");
        QCOMPARE(PortDevicePath(2), QStringLiteral("/dev/pts/9"));
        // Only the variable of that port counts.
        QCOMPARE(PortDevicePath(3), QStringLiteral("/dev/ttyS2"));

        qunsetenv("R718_COM2");
        QCOMPARE(PortDevicePath(2), QStringLiteral("/dev/ttyUSB0"));
    }

    void emptyEntriesAreIgnored()
    {
        qputenv("R718_COM1", "");
        QCOMPARE(PortDevicePath(1), QStringLiteral("/dev/ttyS0"));
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
