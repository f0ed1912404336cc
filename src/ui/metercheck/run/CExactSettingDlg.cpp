// SPDX-License-Identifier: MIT
#include "ui/metercheck/run/CExactSettingDlg.h"

#include "core/base/MessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/entry/RangeDescription.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/ExactSettingEntry.h"
#include "ui/metercheck/run/MeasurementDialogParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

using namespace MeasurementDialogParts;

CExactSettingDlg::CExactSettingDlg(const MeterCheckSession& session, int range,
                                   const QString& setpointText, MessageService& messages,
                                   QWidget* parent)
    : QDialog(parent), messages(messages)
{
    setWindowTitle(QStringLiteral("Metoda dokładnej nastawy"));
    setFixedSize(480, 262);
    const MeterRange& r = session.document.ranges[range];
    const int function = r.calFunction;
    const bool known = CalFunctions::IsValid(function);
    const QFont value = ValueFont();

    descriptionLabel = Label(this, "descriptionLabel", QRect(12, 8, 456, 22), value);
    descriptionLabel->setText(DescribeRange(r));

    Frame(this, QStringLiteral("Wskazanie miernika"), QRect(10, 38, 225, 108));
    indicationEdit = new QLineEdit(this);
    indicationEdit->setObjectName(QStringLiteral("indicationEdit"));
    indicationEdit->setGeometry(24, 68, 150, 52);
    indicationEdit->setMaxLength(7);
    indicationEdit->setFont(DisplayFont());
    QPalette palette = indicationEdit->palette();
    palette.setColor(QPalette::Base, EntryBackground());
    palette.setColor(QPalette::Text, Qt::black);
    indicationEdit->setPalette(palette);
    indicationUnit = Label(this, "indicationUnit", QRect(182, 68, 48, 52), value);
    indicationUnit->setText(r.rangeUnit);

    Frame(this, QStringLiteral("Nastawa kalibratora"), QRect(245, 38, 225, 108));
    setpointLabel = Label(this, "setpointLabel", QRect(258, 68, 140, 52), DisplayFont(),
                          Qt::AlignRight | Qt::AlignVCenter);
    setpointLabel->setText(setpointText);
    setpointUnit = Label(this, "setpointUnit", QRect(406, 68, 56, 52), value);

    Frame(this, QStringLiteral("Zakres miernika"), QRect(10, 154, 225, 56));
    meterRangeLabel = Label(this, "meterRangeLabel", QRect(24, 176, 100, 26), value,
                            Qt::AlignRight | Qt::AlignVCenter);
    meterRangeLabel->setText(r.rangeValue);
    meterRangeUnit = Label(this, "meterRangeUnit", QRect(132, 176, 90, 26), value);
    meterRangeUnit->setText(r.rangeUnit);

    Frame(this, QStringLiteral("Zakres kalibratora"), QRect(245, 154, 225, 56));
    calibratorRange = Label(this, "calibratorRange", QRect(258, 176, 100, 26), value,
                            Qt::AlignRight | Qt::AlignVCenter);
    calibratorRangeUnit = Label(this, "calibratorRangeUnit", QRect(366, 176, 90, 26), value);
    if (known) {
        setpointUnit->setText(CalFunctionTable[function].unitText);
        calibratorRange->setText(CalFunctionTable[function].rangeText);
        calibratorRangeUnit->setText(CalFunctionTable[function].unitText);
    }

    okButton = Button(this, "okButton", QStringLiteral("OK"), QRect(270, 222, 95, 30));
    abortButton = Button(this, "abortButton", QStringLiteral("Przerwij"), QRect(375, 222, 95, 30));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &CExactSettingDlg::OnOk);
    connect(abortButton, &QPushButton::clicked, this, &QDialog::reject);

    indicationEdit->setFocus();
}

void CExactSettingDlg::OnOk()
{
    switch (ExactSettingEntry::Confirm(indicationEdit->text(), indication)) {
    case ExactSettingEntry::Outcome::Refused:
        messages.ShowError(ExactSettingEntry::BadIndicationMessage(), this);
        indicationEdit->clear();
        indicationEdit->setFocus();
        return;
    case ExactSettingEntry::Outcome::Stored:
        indicationEdit->setText(*indication);
        break;
    case ExactSettingEntry::Outcome::Kept:
        break;
    }
    accept();
}
