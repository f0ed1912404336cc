// SPDX-License-Identifier: MIT
#include "ui/panel/CParamDlg.h"

#include "ui/base/DialogUnits.h"
#include "core/base/MessageService.h"
#include "core/panel/ParamCheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CParamDlg::CParamDlg(MessageService& messages, QWidget* parent)
    : QDialog(parent), messages(messages)
{
    using DialogUnits::Rect;
    setWindowTitle(QStringLiteral("Wprowadzanie wartości parametru"));
    setFixedSize(DialogUnits::Size(150, 60));

    captionLabel = new QLabel(QStringLiteral("RL = "), this);
    captionLabel->setGeometry(Rect(4, 12, 52, 10));
    captionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    valueEdit = new QLineEdit(this);
    valueEdit->setObjectName(QStringLiteral("valueEdit"));
    valueEdit->setGeometry(Rect(58, 10, 50, 13));
    unitLabel = new QLabel(QStringLiteral("Ohm"), this);
    unitLabel->setGeometry(Rect(112, 12, 34, 10));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(Rect(22, 38, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setGeometry(Rect(80, 38, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CParamDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CParamDlg::reject);
}

int CParamDlg::exec()
{
    captionLabel->setText(paramCaption);
    unitLabel->setText(paramUnit);
    valueEdit->clear();
    return QDialog::exec();
}

void CParamDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    valueEdit->setFocus();
}

void CParamDlg::accept()
{
    const ParamCheckResult check = CheckParamText(valueEdit->text(), paramLow, paramHigh);
    if (!check.accepted) {
        messages.ShowError(check.error, this);
        valueEdit->clear();
        valueEdit->setFocus();
        return;
    }
    paramText = check.text;
    QDialog::accept();
}
