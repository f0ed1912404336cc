// SPDX-License-Identifier: MIT
#include "app/CPortSettingsDlg.h"

#include "app/DialogFont.h"
#include "app/PortSettings.h"
#include "app/SerialDeviceBox.h"
#include "base/DialogUnits.h"
#include "link/PortMap.h"
#include "link/SerialPortEnumerator.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

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
    setFixedSize(DialogUnits::Size(152, 121));

    auto* frame = new QGroupBox(this);
    frame->setGeometry(Rect(7, 4, 138, 92));

    AddLabel(this, QStringLiteral("Port :"), Rect(14, 16, 66, 10));
    portList = new QComboBox(this);
    portList->setGeometry(Rect(84, 14, 54, 13));
    portList->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                        QStringLiteral("COM4")});
    deviceBox = new SerialDeviceBox(ports ? *ports : SystemSerialPorts(), this);
    deviceBox->setObjectName(QStringLiteral("deviceBox"));
    deviceBox->setGeometry(Rect(14, 29, 124, 13));

    AddLabel(this, QStringLiteral("Szybkość :"), Rect(14, 44, 70, 10));
    AddLabel(this, QStringLiteral("9600"), Rect(86, 44, 54, 10));
    AddLabel(this, QStringLiteral("Długość słowa :"), Rect(14, 56, 70, 10));
    AddLabel(this, QStringLiteral("8"), Rect(86, 56, 54, 10));
    AddLabel(this, QStringLiteral("Bity stopu :"), Rect(14, 68, 70, 10));
    AddLabel(this, QStringLiteral("1"), Rect(86, 68, 54, 10));
    AddLabel(this, QStringLiteral("Parzystość :"), Rect(14, 80, 70, 10));
    AddLabel(this, QStringLiteral("Brak kontroli"), Rect(86, 80, 54, 10));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(Rect(22, 101, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(Rect(80, 101, 50, 14));
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
