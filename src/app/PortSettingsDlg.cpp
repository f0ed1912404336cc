// SPDX-License-Identifier: MIT
#include "app/PortSettingsDlg.h"

#include "app/DialogFont.h"
#include "app/PortSettings.h"
#include "base/DialogUnits.h"
#include "link/PortMap.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* AddLabel(QWidget* parent, const QString& text, QRect place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

} // namespace

CPortSettingsDlg::CPortSettingsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
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
    deviceLabel = AddLabel(this, QString(), Rect(14, 30, 124, 10));
    deviceLabel->setObjectName(QStringLiteral("deviceLabel"));
    deviceLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette dim = deviceLabel->palette();
    dim.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x80));
    deviceLabel->setPalette(dim);

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
    setTabOrder(portList, ok);
    setTabOrder(ok, cancel);

    // An index outside 0-3 leaves the list without a choice.
    portList->setCurrentIndex(PortSettings::LoadPortChoice());
    connect(portList, &QComboBox::currentIndexChanged, this, &CPortSettingsDlg::ShowDevice);
    ShowDevice();
    portList->setFocus();
}

void CPortSettingsDlg::ShowDevice()
{
    const int index = portList->currentIndex();
    const QString device = index < 0 ? QStringLiteral("—") : PortDevicePath(index + 1);
    const QString text = QStringLiteral("Urządzenie: %1").arg(device);
    deviceLabel->setToolTip(text);
    deviceLabel->setText(
        deviceLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, deviceLabel->width()));
}

void CPortSettingsDlg::accept()
{
    if (PortSettings::ApplyPortChoice(portList->currentIndex()))
        QDialog::accept();
}
