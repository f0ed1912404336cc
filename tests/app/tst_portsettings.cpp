// SPDX-License-Identifier: MIT
#include "ScopedFakeLink.h"
#include "app/PortSettings.h"
#include "app/PortSettingsDlg.h"
#include "base/DialogUnits.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {

QSettings DialogSettings()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"));
}

void StoreIndex(const QVariant& index)
{
    if (index.isValid())
        QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"))
            .setValue(QStringLiteral("Com/Port"), index);
}

QVariant StoredIndex()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"))
        .value(QStringLiteral("Com/Port"));
}

QPushButton* OkButton(CPortSettingsDlg& dlg)
{
    return dlg.findChild<QPushButton*>(QStringLiteral("okButton"));
}

// A calibrator that acknowledges every frame.
void Acknowledging(ScopedFakeLink& link)
{
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
}

QList<int> OpenedPorts(const ScopedFakeLink& link)
{
    QList<int> ports;
    for (const FakeSerialDevice::OpenRecord& r : link.device.opens)
        ports << r.portNumber;
    return ports;
}

} // namespace

class TestPortSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fixedTexts();
    void openingReadsTheStoredChoice_data();
    void openingReadsTheStoredChoice();
    void cancelWritesNothing();
    void okStoresThenTriesThePort_data();
    void okStoresThenTriesThePort();
    void portThatCannotBeOpened();
    void okWithoutAChoice();
    void silentCalibratorStillCloses();
    void storedWhereTheKeysSay();
    void deviceShownUnderTheList();
    void keyboard();
};

void TestPortSettings::init()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("R718")).clear();
    QSettings(QStringLiteral("Modrex"), QStringLiteral("Tevano 718")).clear();
    qunsetenv("R718_COM2");
    noLinkReported = false;
    linkOpen = false;
}

void TestPortSettings::cleanup()
{
    init();
}

void TestPortSettings::fixedTexts()
{
    CPortSettingsDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Parametry transmisji"));
    QCOMPARE(dlg.size(), DialogUnits::Size(152, 121));
    QStringList texts;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        if (label->objectName() != QLatin1String("deviceLabel"))
            texts << label->text();
    QCOMPARE(texts, QStringList({"Port :", "Szybkość :", "9600", "Długość słowa :", "8",
                                 "Bity stopu :", "1", "Parzystość :", "Brak kontroli"}));
    QStringList items;
    for (int i = 0; i < dlg.PortList()->count(); ++i)
        items << dlg.PortList()->itemText(i);
    QCOMPARE(items, QStringList({"COM1", "COM2", "COM3", "COM4"}));
    QCOMPARE(OkButton(dlg)->text(), QStringLiteral("&OK"));
    QVERIFY(OkButton(dlg)->isDefault());
    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("cancelButton"))->text(),
             QStringLiteral("&Anuluj"));
    // Every fixed text fits its label.
    for (QLabel* label : dlg.findChildren<QLabel*>())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->text()));
}

void TestPortSettings::openingReadsTheStoredChoice_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("port");
    QTest::newRow("nothing stored: COM1") << QVariant() << 0 << 1;
    QTest::newRow("stored 1: COM2") << QVariant(1) << 1 << 2;
    QTest::newRow("stored 3: COM4") << QVariant(3) << 3 << 4;
    QTest::newRow("stored 7: no choice, port 8") << QVariant(7) << -1 << 8;
    QTest::newRow("stored -1: no choice, port 0") << QVariant(-1) << -1 << 0;
    QTest::newRow("stored text: COM1") << QVariant(QStringLiteral("COM2")) << 0 << 1;
}

void TestPortSettings::openingReadsTheStoredChoice()
{
    QFETCH(QVariant, stored);
    QFETCH(int, selected);
    QFETCH(int, port);
    StoreIndex(stored);
    portNumber = 55;
    CPortSettingsDlg dlg;
    QCOMPARE(dlg.PortList()->currentIndex(), selected);
    QCOMPARE(portNumber, port);
}

void TestPortSettings::cancelWritesNothing()
{
    ScopedFakeLink link;
    StoreIndex(2);
    portNumber = 1;
    CPortSettingsDlg dlg;
    dlg.show();
    dlg.PortList()->setCurrentIndex(0);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    // Opening already set the port from the stored choice; cancel keeps that.
    QCOMPARE(portNumber, 3);
    QCOMPARE(StoredIndex().toInt(), 2);
    QVERIFY(link.device.opens.isEmpty());
    QVERIFY(link.device.Written().isEmpty());
}

void TestPortSettings::okStoresThenTriesThePort_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("COM1") << 0;
    QTest::newRow("COM2") << 1;
    QTest::newRow("COM4") << 3;
}

void TestPortSettings::okStoresThenTriesThePort()
{
    QFETCH(int, index);
    ScopedFakeLink link;
    Acknowledging(link);
    CPortSettingsDlg dlg;
    dlg.show();
    dlg.PortList()->setCurrentIndex(index);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(StoredIndex().toInt(), index);
    QCOMPARE(portNumber, index + 1);
    QCOMPARE(OpenedPorts(link), QList<int>{index + 1});
    const FakeSerialDevice::OpenRecord& line = link.device.opens.first();
    QCOMPARE(line.baudRate, 9600u);
    QCOMPARE(line.dataBits, quint8(8));
    QCOMPARE(line.parity, int(ParityNone));
    QCOMPARE(line.stopBits, int(StopBitsOne));
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
    QVERIFY(!link.device.IsOpen());
    QVERIFY(link.messages.messages.isEmpty());
}

void TestPortSettings::portThatCannotBeOpened()
{
    ScopedFakeLink link;
    Acknowledging(link);
    RecordingMessageService& messages = link.messages;
    link.device.openError = 2; // no such port
    CPortSettingsDlg dlg;
    dlg.show();
    dlg.PortList()->setCurrentIndex(2);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), 0);
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("Nie można otworzyć portu szeregowego.")});
    QCOMPARE(messages.messages.first().caption, QStringLiteral("Błąd!"));
    QCOMPARE(messages.messages.first().icon, MessageIcon::Error);
    QCOMPARE(StoredIndex().toInt(), 2);
    QCOMPARE(portNumber, 3);
    QCOMPARE(OpenedPorts(link), QList<int>{3});
    QVERIFY(link.device.Written().isEmpty());

    // Another choice from the still open dialog works.
    link.device.openError = 0;
    dlg.PortList()->setCurrentIndex(0);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(StoredIndex().toInt(), 0);
    QCOMPARE(OpenedPorts(link), (QList<int>{3, 1}));
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
    QCOMPARE(messages.messages.size(), 1);
}

void TestPortSettings::okWithoutAChoice()
{
    ScopedFakeLink link;
    RecordingMessageService& messages = link.messages;
    link.device.openError = 2; // there is no COM0
    StoreIndex(7);
    CPortSettingsDlg dlg;
    dlg.show();
    QCOMPARE(dlg.PortList()->currentIndex(), -1);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QCOMPARE(StoredIndex().toInt(), -1);
    QCOMPARE(portNumber, 0);
    QCOMPARE(OpenedPorts(link), QList<int>{0});
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("Nie można otworzyć portu szeregowego.")});
    QVERIFY(dlg.isVisible());
}

void TestPortSettings::silentCalibratorStillCloses()
{
    ScopedFakeLink link; // without a script the line stays silent
    RecordingMessageService& messages = link.messages;
    CPortSettingsDlg dlg;
    dlg.show();
    dlg.PortList()->setCurrentIndex(1);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Brak komunikacji z portem COM.")});
    QVERIFY(link.device.Written().startsWith("^X%"));
    QVERIFY(!link.device.IsOpen());
}

void TestPortSettings::storedWhereTheKeysSay()
{
    PortSettings::StorePortIndex(3);
    // Linux keeps the user's settings in $XDG_CONFIG_HOME/Modrex/R718.conf, section [Com].
    const QString file =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("Modrex/R718.conf"));
    QFile conf(file);
    QVERIFY2(conf.open(QIODevice::ReadOnly), qPrintable(file));
    const QByteArray text = conf.readAll();
    QVERIFY2(text.contains("[Com]\nPort=3"), text.constData());
    QCOMPARE(PortSettings::StoredPortIndex(), std::optional<int>(3));
    QCOMPARE(PortSettings::StartupPortNumber(), 4);
}

void TestPortSettings::deviceShownUnderTheList()
{
    CPortSettingsDlg dlg;
    QLabel* device = dlg.DeviceLabel();
    QVERIFY(device->geometry().top() >= dlg.PortList()->geometry().bottom());
#ifdef Q_OS_WIN
    QCOMPARE(device->text(), QStringLiteral("Urządzenie: COM1"));
#else
    QCOMPARE(device->text(), QStringLiteral("Urządzenie: /dev/ttyS0"));
    dlg.PortList()->setCurrentIndex(3);
    QCOMPARE(device->text(), QStringLiteral("Urządzenie: /dev/ttyS3"));
#endif
    qputenv("R718_COM2", "/dev/ttyUSB0");
    dlg.PortList()->setCurrentIndex(1);
    QCOMPARE(device->text(), QStringLiteral("Urządzenie: /dev/ttyUSB0"));
    dlg.PortList()->setCurrentIndex(-1);
    QCOMPARE(device->text(), QStringLiteral("Urządzenie: —"));
    // A long device path is shortened in the middle; the whole path is in the tool tip.
    const QString longPath = QStringLiteral(
        "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0");
    qputenv("R718_COM2", longPath.toLocal8Bit());
    dlg.PortList()->setCurrentIndex(1);
    QVERIFY(device->text().contains(QChar(0x2026)));
    QVERIFY(device->fontMetrics().horizontalAdvance(device->text()) <= device->width());
    QCOMPARE(device->toolTip(), QStringLiteral("Urządzenie: ") + longPath);
}

void TestPortSettings::keyboard()
{
    ScopedFakeLink link;
    Acknowledging(link);
    CPortSettingsDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(QApplication::focusWidget(), dlg.PortList());
    QTest::keyClick(dlg.PortList(), Qt::Key_Down);
    QCOMPARE(dlg.PortList()->currentIndex(), 1);
    QTest::keyClick(dlg.PortList(), Qt::Key_Return); // OK is the default button
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(StoredIndex().toInt(), 1);
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
}

QTEST_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
