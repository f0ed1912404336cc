// SPDX-License-Identifier: MIT
#include "ui/metercheck/entry/CPointDlg.h"

#include "core/metercheck/entry/PointEntry.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPointDlg::CPointDlg(MeterCheckMode mode, CheckMethod method, MeterRange& range, int point,
                     MessageService& messages, QWidget* parent)
    : QDialog(parent), editedRange(range), pointSlot(qBound(0, point, maxPoints - 1)),
      checkMethod(method), messages(messages)
{
    setWindowTitle(PointEntry::Title());
    captionLabel = new QLabel(PointEntry::Caption(method), this);
    captionLabel->setObjectName("captionLabel"); // 1283
    captionLabel->setAlignment(Qt::AlignCenter);
    valueEdit = new QLineEdit(this);
    valueEdit->setObjectName("valueEdit"); // 1281
    valueEdit->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-00000.00")) + 16);
    unitLabel = new QLabel(range.rangeUnit, this);
    unitLabel->setObjectName("unitLabel"); // 1340
    unitLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("kOhm")));
    if (mode == MeterCheckMode::EditPoint)
        valueEdit->setText(PointEntry::NominalValue(range.points[pointSlot], method));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("okButton"); // 1
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName("cancelButton"); // 2
    connect(ok, &QPushButton::clicked, this, &CPointDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPointDlg::reject);

    auto* valueRow = new QHBoxLayout;
    valueRow->addStretch();
    valueRow->addWidget(valueEdit);
    valueRow->addWidget(unitLabel);
    valueRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captionLabel);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    valueEdit->setFocus();
}

void CPointDlg::accept()
{
    PointEntry entry(editedRange, checkMethod, messages, this);
    switch (entry.Check(valueEdit->text())) {
    case PointEntry::Outcome::Empty:
        return;
    case PointEntry::Outcome::Refused:
        if (entry.KeepText())
            valueEdit->selectAll();
        else
            valueEdit->clear();
        valueEdit->setFocus();
        return;
    case PointEntry::Outcome::Accepted:
        valueEdit->setText(entry.Value());
        entry.StoreInto(editedRange.points[pointSlot]);
        QDialog::accept();
        return;
    }
}
