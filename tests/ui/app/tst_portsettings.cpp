// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "core/base/MessageService.h"
#include "FakeLink.h"
#include "ui/app/CPortSettingsDlg.h"
#include "core/app/PortSettings.h"
#include "ui/app/SerialDeviceBox.h"
#include "ui/base/DialogUnits.h"
#include "core/link/PortMap.h"
#include "core/link/SerialPortEnumerator.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

QComboBox* PortList(const CPortSettingsDlg& dlg)
{
    return Child<QComboBox>(dlg, "portList");
}

SerialDeviceBox* DeviceBox(const CPortSettingsDlg& dlg)
{
    return Child<SerialDeviceBox>(dlg, "deviceBox");
}

QPushButton* OkButton(CPortSettingsDlg& dlg)
{
    return Child<QPushButton>(dlg, "okButton");
}

// A calibrator that acknowledges every frame.
void Acknowledging(FakeLink& link)
{
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
}

// The devices the link opened, in order.
QStringList OpenedDevices(const FakeLink& link)
{
    QStringList devices;
    for (const FakeSerialDevice::OpenRecord& r : link.device.opens)
        devices << r.path;
    return devices;
}

// The devices of the COM ports, as the port map names them.
QStringList Devices(const QList<int>& ports)
{
    QStringList devices;
    for (const int port : ports)
        devices << PortDevicePath(port);
    return devices;
}

// The serial ports "present" for a test.
class FakeSerialPorts : public SerialPortEnumerator
{
public:
    QList<SerialPortDescription> Ports() const override { return ports; }
    QList<SerialPortDescription> ports;
};

const QList<SerialPortDescription> threePorts = {
    {"/dev/ttyS0", "", "", ""},
    {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
    {"/dev/ttyACM0", "", "Arduino (www.arduino.cc)", ""},
};

QVariant StoredDevice(int port)
{
    return DialogSettings().value(PortSettingsKey(port));
}

} // namespace

class TestPortSettings : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

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
    void deviceFollowsThePortList_data();
    void deviceFollowsThePortList();
    void longDeviceShownWhole_data();
    void longDeviceShownWhole();
    void deviceListAskedForEachTime();
    void okStoresTheDevice_data();
    void okStoresTheDevice();
    void keyboard();
};

void TestPortSettings::init()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("R718")).clear();
    QSettings(QStringLiteral("Modrex"), QStringLiteral("Tevano 718")).clear();
    qunsetenv("R718_COM2");
    qunsetenv("R718_COM3");
}

void TestPortSettings::cleanup()
{
    init();
}

void TestPortSettings::fixedTexts()
{
    CalibratorLink program(log);
    CPortSettingsDlg dlg(program);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Parametry transmisji"));
    // The device field widens the dialog to the right.
    QCOMPARE(dlg.height(), DialogUnits::Y(121));
    QVERIFY(dlg.width() >= DialogUnits::X(152));
    QStringList texts;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        texts << label->text();
    QCOMPARE(texts, QStringList({"Port :", "Urządzenie :", "Szybkość :", "9600", "Długość słowa :",
                                 "8", "Bity stopu :", "1", "Parzystość :", "Brak kontroli"}));
    QStringList items;
    for (int i = 0; i < PortList(dlg)->count(); ++i)
        items << PortList(dlg)->itemText(i);
    QCOMPARE(items, QStringList({"COM1", "COM2", "COM3", "COM4"}));
    QCOMPARE(OkButton(dlg)->text(), QStringLiteral("&OK"));
    QVERIFY(OkButton(dlg)->isDefault());
    QCOMPARE(Child<QPushButton>(dlg, "cancelButton")->text(), QStringLiteral("&Anuluj"));
    // Every fixed text fits its label.
    for (QLabel* label : dlg.findChildren<QLabel*>())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->text()));
}

void TestPortSettings::openingReadsTheStoredChoice_data()
{
    DataColumns<QVariant, int, int>("stored", "selected", "port");
    DataRow("nothing stored: COM1", QVariant(), 0, 1);
    DataRow("stored 1: COM2", QVariant(1), 1, 2);
    DataRow("stored 3: COM4", QVariant(3), 3, 4);
    DataRow("stored 7: no choice, port 8", QVariant(7), -1, 8);
    DataRow("stored -1: no choice, port 0", QVariant(-1), -1, 0);
    DataRow("stored text: COM1", QVariant(QStringLiteral("COM2")), 0, 1);
}

void TestPortSettings::openingReadsTheStoredChoice()
{
    QFETCH(QVariant, stored);
    QFETCH(int, selected);
    QFETCH(int, port);
    StoreIndex(stored);
    CalibratorLink program(log);
    program.SetPortNumber(55);
    CPortSettingsDlg dlg(program);
    QCOMPARE(PortList(dlg)->currentIndex(), selected);
    QCOMPARE(program.PortNumber(), port);
}

void TestPortSettings::cancelWritesNothing()
{
    FakeLink link;
    StoreIndex(2);
    link.link.SetPortNumber(1);
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(0);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    // Opening already set the port from the stored choice; cancel keeps that.
    QCOMPARE(link.link.PortNumber(), 3);
    QCOMPARE(StoredIndex().toInt(), 2);
    link.Settle();
    QVERIFY(link.device.opens.isEmpty());
    QVERIFY(link.device.Written().isEmpty());
}

void TestPortSettings::okStoresThenTriesThePort_data()
{
    QTest::addColumn<int>("index");
    DataRow("COM1", 0);
    DataRow("COM2", 1);
    DataRow("COM4", 3);
}

void TestPortSettings::okStoresThenTriesThePort()
{
    QFETCH(int, index);
    FakeLink link;
    Acknowledging(link);
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(index);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(StoredIndex().toInt(), index);
    QCOMPARE(link.link.PortNumber(), index + 1);
    QCOMPARE(OpenedDevices(link), Devices({index + 1}));
    const SerialLineSettings& line = link.device.opens.first().settings;
    QCOMPARE(line.baudRate, 9600);
    QCOMPARE(line.dataBits, QSerialPort::Data8);
    QCOMPARE(line.parity, QSerialPort::NoParity);
    QCOMPARE(line.stopBits, QSerialPort::OneStop);
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
    QVERIFY(!link.device.IsOpen());
    QVERIFY(link.messages.messages.isEmpty());
}

void TestPortSettings::portThatCannotBeOpened()
{
    FakeLink link;
    Acknowledging(link);
    RecordingMessageService& messages = link.messages;
    link.device.openError = 2; // no such port
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(2);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), 0);
    QVERIFY(messages.OnlyError(QStringLiteral("Nie można otworzyć portu szeregowego.")));
    QCOMPARE(StoredIndex().toInt(), 2);
    QCOMPARE(link.link.PortNumber(), 3);
    QCOMPARE(OpenedDevices(link), Devices({3}));
    QVERIFY(link.device.Written().isEmpty());

    // Another choice from the still open dialog works.
    link.device.openError = 0;
    PortList(dlg)->setCurrentIndex(0);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(StoredIndex().toInt(), 0);
    QCOMPARE(OpenedDevices(link), Devices({3, 1}));
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
    QCOMPARE(messages.messages.size(), 1);
}

void TestPortSettings::okWithoutAChoice()
{
    FakeLink link;
    RecordingMessageService& messages = link.messages;
    link.device.openError = 2; // there is no COM0
    StoreIndex(7);
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    QCOMPARE(PortList(dlg)->currentIndex(), -1);
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QCOMPARE(StoredIndex().toInt(), -1);
    QCOMPARE(link.link.PortNumber(), 0);
    QCOMPARE(OpenedDevices(link), Devices({0}));
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("Nie można otworzyć portu szeregowego.")});
    QVERIFY(dlg.isVisible());
}

void TestPortSettings::silentCalibratorStillCloses()
{
    FakeLink link; // without a script the line stays silent
    RecordingMessageService& messages = link.messages;
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    PortList(dlg)->setCurrentIndex(1);
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

void TestPortSettings::deviceFollowsThePortList_data()
{
    DataColumns<int, QString, QString, QString, bool>("index", "stored", "variable", "shown",
                                                      "editable");
    const QString none;
    DataRow("COM1: platform device", 0, none, none, "/dev/ttyS0", true);
    DataRow("COM3: stored device", 2, "/dev/ttyUSB0", none, "/dev/ttyUSB0", true);
    DataRow("COM3: the variable wins and is fixed", 2, "/dev/ttyUSB0", "/dev/pts/9",
            "R718_COM3=/dev/pts/9", false);
    DataRow("no port chosen", -1, none, none, none, false);
}

void TestPortSettings::deviceFollowsThePortList()
{
    QFETCH(int, index);
    QFETCH(QString, stored);
    QFETCH(QString, variable);
    QFETCH(QString, shown);
    QFETCH(bool, editable);
    if (!stored.isEmpty())
        StorePortDevice(3, stored);
    if (!variable.isEmpty())
        qputenv("R718_COM3", variable.toLocal8Bit());
    FakeSerialPorts ports;
    CalibratorLink program(log);
    CPortSettingsDlg dlg(program, nullptr, &ports);
    QVERIFY(DeviceBox(dlg)->geometry().top() >= PortList(dlg)->geometry().bottom());
    PortList(dlg)->setCurrentIndex(index == 0 ? 1 : 0); // the box follows every change
    PortList(dlg)->setCurrentIndex(index);
    QCOMPARE(DeviceBox(dlg)->currentText(), shown);
    QCOMPARE(DeviceBox(dlg)->isEnabled(), editable);
    if (!variable.isEmpty())
        QVERIFY(DeviceBox(dlg)->toolTip().contains(QStringLiteral("R718_COM3")));
}

// The field, labelled, shows a USB adapter's stable name and a port fixed by the environment
// whole.
void TestPortSettings::longDeviceShownWhole_data()
{
    DataColumns<int, QString, QString, QString>("index", "stored", "variable", "shown");
    const QString stableName =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    DataRow("adapter by its stable name", 0, stableName, QString(), stableName);
    DataRow("fixed by R718_COM3", 2, QString(), "/dev/pts/5", "R718_COM3=/dev/pts/5");
}

void TestPortSettings::longDeviceShownWhole()
{
    QFETCH(int, index);
    QFETCH(QString, stored);
    QFETCH(QString, variable);
    QFETCH(QString, shown);
    if (!stored.isEmpty())
        StorePortDevice(index + 1, stored);
    if (!variable.isEmpty())
        qputenv("R718_COM3", variable.toLocal8Bit());
    FakeSerialPorts ports;
    CalibratorLink program(log);
    CPortSettingsDlg dlg(program, nullptr, &ports);
    PortList(dlg)->setCurrentIndex(index);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QLabel* label = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        if (l->buddy() == DeviceBox(dlg))
            label = l;
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Urządzenie :"));
    QLineEdit* field = DeviceBox(dlg)->lineEdit();
    QCOMPARE(field->text(), shown);
    // Drawn with the cursor at its end, the text still starts at the field's left edge.
    field->end(false);
    field->grab();
    QCOMPARE(field->cursorPositionAt(QPoint(2, field->height() / 2)), 0);
    QVERIFY(DeviceBox(dlg)->geometry().right() < dlg.width() - DialogUnits::X(7));
}

void TestPortSettings::deviceListAskedForEachTime()
{
    FakeSerialPorts ports;
    ports.ports = threePorts;
    CalibratorLink program(log);
    CPortSettingsDlg dlg(program, nullptr, &ports);
    dlg.show();
    SerialDeviceBox* box = DeviceBox(dlg);
    auto listed = [box](int role) {
        QStringList lines;
        for (int i = 0; i < box->count(); ++i)
            lines << box->itemData(i, role).toString();
        return lines;
    };

    box->showPopup();
    QCOMPARE(listed(SerialDeviceBox::labelRole),
             QStringList({"/dev/ttyS0", "/dev/ttyUSB0 — FT232R USB UART (FTDI, A50285BI)",
                          "/dev/ttyACM0 (Arduino (www.arduino.cc))"}));
    // The field takes the path alone; opening the list leaves the field as it was.
    QCOMPARE(listed(Qt::DisplayRole), QStringList({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0"}));
    QCOMPARE(box->currentText(), QStringLiteral("/dev/ttyS0"));
    // The list may be wider than the field, so the descriptions can be read.
    QVERIFY(box->view()->width() >
            box->fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB0 — FT232R USB UART")));
    box->hidePopup();

    // An adapter plugged in while the dialog is open shows the next time the list opens.
    ports.ports.append({"/dev/ttyUSB1", "CP2102", "Silicon Labs", "0001"});
    box->showPopup();
    QCOMPARE(box->count(), 4);
    QCOMPARE(box->itemText(3), QStringLiteral("/dev/ttyUSB1"));
    box->hidePopup();
}

void TestPortSettings::okStoresTheDevice_data()
{
    DataColumns<QString, QString>("before", "variable");
    QTest::addColumn<int>("listItem"); // -1: the path below is typed
    DataColumns<QString, QVariant, QString>("typed", "stored", "opened");
    const QString none;
    const QVariant nothing;
    DataRow("chosen from the list", none, none, 1, none, QVariant(QStringLiteral("/dev/ttyUSB0")),
            "/dev/ttyUSB0");
    DataRow("typed", none, none, -1, " /dev/ttyACM3 ", QVariant(QStringLiteral("/dev/ttyACM3")),
            "/dev/ttyACM3");
    DataRow("field emptied: the platform device again", "/dev/ttyUSB0", none, -1, none, nothing,
            "/dev/ttyS1");
    DataRow("unchanged: nothing written", none, none, -2, none, nothing, "/dev/ttyS1");
    DataRow("fixed by R718_COM2: nothing written", none, "/dev/pts/9", -2, none, nothing,
            "/dev/pts/9");
}

void TestPortSettings::okStoresTheDevice()
{
    QFETCH(QString, before);
    QFETCH(QString, variable);
    QFETCH(int, listItem);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    QFETCH(QString, opened);
    if (!before.isEmpty())
        StorePortDevice(2, before);
    if (!variable.isEmpty())
        qputenv("R718_COM2", variable.toLocal8Bit());
    FakeLink link;
    Acknowledging(link);
    FakeSerialPorts ports;
    ports.ports = threePorts;
    CPortSettingsDlg dlg(link.link, nullptr, &ports);
    dlg.show();
    PortList(dlg)->setCurrentIndex(1);
    SerialDeviceBox* box = DeviceBox(dlg);
    if (listItem >= 0) {
        box->showPopup();
        box->view()->setCurrentIndex(box->model()->index(listItem, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(box->currentText(), box->itemText(listItem));
    } else if (listItem == -1) {
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box->lineEdit(), typed);
    }
    QTest::mouseClick(OkButton(dlg), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(StoredDevice(2), stored);
    QCOMPARE(StoredIndex().toInt(), 1);
    QCOMPARE(OpenedDevices(link), QStringList{opened});
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
}

void TestPortSettings::keyboard()
{
    FakeLink link;
    Acknowledging(link);
    CPortSettingsDlg dlg(link.link);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(QApplication::focusWidget(), PortList(dlg));
    QTest::keyClick(PortList(dlg), Qt::Key_Down);
    QCOMPARE(PortList(dlg)->currentIndex(), 1);
    QTest::keyClick(PortList(dlg), Qt::Key_Return); // OK is the default button
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(StoredIndex().toInt(), 1);
    QCOMPARE(link.device.Written(), QByteArray("^X%"));
}

QTEST_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
