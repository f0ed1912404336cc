// SPDX-License-Identifier: MIT
#include "ui/app/CPortSettingsDlg.h"

#include "ui/app/DialogFont.h"
#include "core/app/PortSettings.h"
#include "ui/app/SerialDeviceBox.h"
#include "ui/base/DialogUnits.h"
#include "core/link/PortMap.h"
#include "core/link/SerialPortEnumerator.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The stable name of a common USB-serial adapter: the device field shows it whole.
const QString longDevicePath =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

QLabel* AddLabel(QWidget* parent, const QString& text, QRect place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

} // namespace

CPortSettingsDlg::CPortSettingsDlg(CalibratorLink& link, QWidget* parent,
                                   const SerialPortEnumerator* ports)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      link(link)
{
    using DialogUnits::Rect;
    setObjectName(QStringLiteral("CPortSettingsDlg"));
    setWindowTitle(QStringLiteral("Parametry transmisji"));
    setFont(DialogFont());

    auto* frame = new QGroupBox(this);
    AddLabel(this, QStringLiteral("Port :"), Rect(14, 16, 66, 10));
    portList = new QComboBox(this);
    portList->setObjectName(QStringLiteral("portList"));
    portList->setGeometry(Rect(84, 14, 54, 13));
    portList->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                        QStringLiteral("COM4")});
    QLabel* deviceLabel = AddLabel(this, QStringLiteral("Urządzenie :"), Rect(14, 31, 66, 10));
    deviceBox = new SerialDeviceBox(ports ? *ports : SystemSerialPorts(), this);
    deviceBox->setObjectName(QStringLiteral("deviceBox"));
    deviceLabel->setBuddy(deviceBox);
    // The device field shows the stable name of a USB adapter whole: the dialog grows to the
    // right for it, and the other controls keep their places.
    const int fieldWidth = qMax(DialogUnits::X(54), deviceBox->WidthToShow(longDevicePath));
    deviceBox->setGeometry(
        QRect(DialogUnits::X(84), DialogUnits::Y(29), fieldWidth, DialogUnits::Y(13)));
    setFixedSize(qMax(DialogUnits::X(84) + fieldWidth + DialogUnits::X(14), DialogUnits::X(152)),
                 DialogUnits::Y(121));
    frame->setGeometry(QRect(DialogUnits::X(7), DialogUnits::Y(4),
                             this->width() - DialogUnits::X(14), DialogUnits::Y(92)));

    AddLabel(this, QStringLiteral("Szybkość :"), Rect(14, 44, 70, 10));
    AddLabel(this, QStringLiteral("9600"), Rect(86, 44, 54, 10));
    AddLabel(this, QStringLiteral("Długość słowa :"), Rect(14, 56, 70, 10));
    AddLabel(this, QStringLiteral("8"), Rect(86, 56, 54, 10));
    AddLabel(this, QStringLiteral("Bity stopu :"), Rect(14, 68, 70, 10));
    AddLabel(this, QStringLiteral("1"), Rect(86, 68, 54, 10));
    AddLabel(this, QStringLiteral("Parzystość :"), Rect(14, 80, 70, 10));
    AddLabel(this, QStringLiteral("Brak kontroli"), Rect(86, 80, 54, 10));

    // The two buttons stay centred under the frame.
    const int middle = this->width() / 2;
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(QRect(middle - DialogUnits::X(54), DialogUnits::Y(101), DialogUnits::X(50),
                          DialogUnits::Y(14)));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(QRect(middle + DialogUnits::X(4), DialogUnits::Y(101), DialogUnits::X(50),
                              DialogUnits::Y(14)));
    connect(ok, &QPushButton::clicked, this, &CPortSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPortSettingsDlg::reject);
    setTabOrder(portList, deviceBox);
    setTabOrder(deviceBox, ok);
    setTabOrder(ok, cancel);

    // An index outside 0-3 leaves the list without a choice.
    portList->setCurrentIndex(PortSettings::LoadPortChoice(link));
    connect(portList, &QComboBox::currentIndexChanged, this, &CPortSettingsDlg::ShowDevice);
    ShowDevice();
    portList->setFocus();
}

void CPortSettingsDlg::ShowDevice()
{
    const int index = portList->currentIndex();
    if (index < 0) {
        deviceBox->setEnabled(false);
        deviceBox->setEditText(QString());
        deviceBox->setToolTip(QString());
        return;
    }
    const int port = index + 1;
    const QString device = PortDevicePath(port);
    if (PortFixedByEnvironment(port)) {
        deviceBox->setEnabled(false);
        deviceBox->setEditText(PortVariableName(port) + QLatin1Char('=') + device);
        deviceBox->lineEdit()->setCursorPosition(0); // the variable's name first
        deviceBox->setToolTip(
            QStringLiteral("Urządzenie portu COM%1 (%2) ustala zmienna środowiskowa %3.")
                .arg(port)
                .arg(device, PortVariableName(port)));
        return;
    }
    deviceBox->setEnabled(true);
    deviceBox->setEditText(device);
    deviceBox->lineEdit()->setPlaceholderText(PlatformPortName(port));
    deviceBox->setToolTip(
        QStringLiteral("Urządzenie portu COM%1: wybierz z listy albo wpisz ścieżkę.").arg(port));
}

void CPortSettingsDlg::accept()
{
    const int index = portList->currentIndex();
    std::optional<QString> device;
    if (index >= 0 && !PortFixedByEnvironment(index + 1))
        device = deviceBox->Device();
    if (PortSettings::ApplyPortChoice(link, index, device))
        QDialog::accept();
}
