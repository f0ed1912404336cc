// SPDX-License-Identifier: MIT
// The port settings dialog against the simulated calibrator, over a real pseudo-terminal.
#include "Child.h"
#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "ui/app/CPortSettingsDlg.h"
#include "ui/app/SerialDeviceBox.h"
#include "core/link/CalibratorLink.h"

#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

QComboBox* PortList(const CPortSettingsDlg& dlg)
{
    return Child<QComboBox>(dlg, "portList");
}

SerialDeviceBox* DeviceBox(const CPortSettingsDlg& dlg)
{
    return Child<SerialDeviceBox>(dlg, "deviceBox");
}

} // namespace

class TestPortSettingsSim : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void okSendsOneXAndCloses();
    void unmappedPortStaysOpenForAnotherChoice();
};

void TestPortSettingsSim::init()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("R718")).clear();
    for (int port = 1; port <= 4; ++port)
        qunsetenv(QByteArray("R718_COM") + QByteArray::number(port));
}

void TestPortSettingsSim::okSendsOneXAndCloses()
{
    SimProcess sim;
    QVERIFY2(sim.Start(), qPrintable(sim.LastError()));
    sim.MapPort(2);
    RecordingMessageService messages;

    CalibratorLink link(messages);
    CPortSettingsDlg dlg(link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(1);
    QCOMPARE(DeviceBox(dlg)->currentText(), QStringLiteral("R718_COM2=") + sim.LinkPath());
    QVERIFY(!DeviceBox(dlg)->isEnabled());
    QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.Texts().join(QLatin1Char('|'))));
    QCOMPARE(link.PortNumber(), 2);
    QCOMPARE(QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"))
                 .value(QStringLiteral("Com/Port"))
                 .toInt(),
             1);
    QTRY_COMPARE(sim.Frames(), QStringList{QStringLiteral("^X%")});
    const QList<SimLogEntry> log = sim.Log();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().action, QStringLiteral("answer"));
    // The port was closed again: the simulator saw the line hang up.
    QVERIFY(!link.PortOpen());
}

void TestPortSettingsSim::unmappedPortStaysOpenForAnotherChoice()
{
    SimProcess sim;
    QVERIFY2(sim.Start(), qPrintable(sim.LastError()));
    sim.MapPort(1);
    qputenv("R718_COM3", "/nonexistent/tty-r718-test");
    RecordingMessageService messages;

    CalibratorLink link(messages);
    CPortSettingsDlg dlg(link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(2);
    QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    QVERIFY(dlg.isVisible());
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("Nie można otworzyć portu szeregowego.")});
    QCOMPARE(QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"))
                 .value(QStringLiteral("Com/Port"))
                 .toInt(),
             2);
    QCOMPARE(link.PortNumber(), 3);

    PortList(dlg)->setCurrentIndex(0);
    QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(messages.messages.size(), 1);
    QTRY_COMPARE(sim.Frames(), QStringList{QStringLiteral("^X%")});
}

QTEST_MAIN(TestPortSettingsSim)
#include "tst_portsettings_sim.moc"
