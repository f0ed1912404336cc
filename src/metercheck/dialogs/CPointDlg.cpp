// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/CPointDlg.h"

#include "metercheck/dialogs/PointEntry.h"
#include "metercheck/document/MeterCheckSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPointDlg::CPointDlg(MeterCheckMode mode, qint16 method, MeterRange& range, int point,
                     QWidget* parent)
    : QDialog(parent), range_(range), point_(qBound(0, point, maxPoints - 1)), method_(method)
{
    setWindowTitle(PointEntry::Title());
    caption_ = new QLabel(PointEntry::Caption(method), this);
    caption_->setObjectName("label1283");
    caption_->setAlignment(Qt::AlignCenter);
    value_ = new QLineEdit(this);
    value_->setObjectName("edit1281");
    value_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-00000.00")) + 16);
    unit_ = new QLabel(range.rangeUnit, this);
    unit_->setObjectName("label1340");
    unit_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("kOhm")));
    if (mode == MeterCheckMode::EditPoint)
        value_->setText(PointEntry::NominalValue(range.points[point_], method));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName("button2");
    connect(ok, &QPushButton::clicked, this, &CPointDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPointDlg::reject);

    auto* valueRow = new QHBoxLayout;
    valueRow->addStretch();
    valueRow->addWidget(value_);
    valueRow->addWidget(unit_);
    valueRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    value_->setFocus();
}

void CPointDlg::accept()
{
    PointEntry entry(range_, method_, this);
    switch (entry.Check(value_->text())) {
    case PointEntry::Outcome::Empty:
        return;
    case PointEntry::Outcome::Refused:
        if (entry.keepText())
            value_->selectAll();
        else
            value_->clear();
        value_->setFocus();
        return;
    case PointEntry::Outcome::Accepted:
        value_->setText(entry.value());
        entry.StoreInto(range_.points[point_]);
        QDialog::accept();
        return;
    }
}
