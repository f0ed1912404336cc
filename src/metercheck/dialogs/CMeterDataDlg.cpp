// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/CMeterDataDlg.h"

#include "metercheck/dialogs/MeterDataEntry.h"
#include "metercheck/document/MeterCheckSession.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CMeterDataDlg::CMeterDataDlg(MeterCheckSession& session, MeterCheckMode mode, QWidget* parent)
    : QDialog(parent), session(session)
{
    const MeterCheckDoc& doc = session.document;
    setWindowTitle(MeterDataEntry::Title());
    const int editWidth = fontMetrics().horizontalAdvance(QString(20, QLatin1Char('M'))) * 3 / 4;
    auto makeEdit = [&](const char* name, const QString& text) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(MeterDataEntry::maxTextLength);
        edit->setMinimumWidth(editWidth);
        edit->setText(text);
        return edit;
    };
    name_ = makeEdit("edit1275", doc.meterName);
    number_ = makeEdit("edit1276", doc.meterNumber);
    method_ = new QComboBox(this);
    method_->setObjectName("list1278");
    method_->addItems(MeterDataEntry::Methods());
    method_->setCurrentIndex(doc.method >= 0 && doc.method < method_->count() ? doc.method : -1);
    method_->setEnabled(!MeterDataEntry::MethodFixed(mode));

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Nazwa miernika :"), this), 0, 0);
    form->addWidget(name_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Numer miernika :"), this), 1, 0);
    form->addWidget(number_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Sprawdzany metodą :"), this), 2, 0);
    form->addWidget(method_, 2, 1);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName("button2");
    connect(ok, &QPushButton::clicked, this, &CMeterDataDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMeterDataDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    name_->setFocus();
}

void CMeterDataDlg::accept()
{
    if (!MeterDataEntry::Accept(session, name_->text(), number_->text(), method_->currentIndex(),
                                this)) {
        (name_->text().isEmpty() ? name_ : number_)->setFocus();
        return;
    }
    QDialog::accept();
}
