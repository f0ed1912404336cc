// SPDX-License-Identifier: MIT
#include "ui/metercheck/entry/CMeterDataDlg.h"

#include "core/metercheck/entry/MeterDataEntry.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CMeterDataDlg::CMeterDataDlg(MeterCheckSession& session, MeterCheckMode mode,
                             MessageService& messages, QWidget* parent)
    : QDialog(parent), session(session), messages(messages)
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
    nameEdit = makeEdit("nameEdit", doc.meterName);       // 1275
    numberEdit = makeEdit("numberEdit", doc.meterNumber); // 1276
    methodList = new QComboBox(this);
    methodList->setObjectName("methodList"); // 1278
    methodList->addItems(MeterDataEntry::Methods());
    const int method = int(doc.method);
    methodList->setCurrentIndex(method >= 0 && method < methodList->count() ? method : -1);
    methodList->setEnabled(!MeterDataEntry::MethodFixed(mode));

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Nazwa miernika :"), this), 0, 0);
    form->addWidget(nameEdit, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Numer miernika :"), this), 1, 0);
    form->addWidget(numberEdit, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Sprawdzany metodą :"), this), 2, 0);
    form->addWidget(methodList, 2, 1);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("okButton"); // 1
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName("cancelButton"); // 2
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
    nameEdit->setFocus();
}

void CMeterDataDlg::accept()
{
    MeterDataEntry::Field refused = MeterDataEntry::Field::None;
    if (!MeterDataEntry::Accept(session, nameEdit->text(), numberEdit->text(),
                                methodList->currentIndex(), messages, this, &refused)) {
        // Back to the field, at the first character the file cannot hold when there is one.
        QLineEdit* field = refused == MeterDataEntry::Field::Name ? nameEdit : numberEdit;
        field->setFocus();
        const QString notHeld = MetFile::CharactersNotHeld(field->text());
        if (!notHeld.isEmpty())
            field->setCursorPosition(int(field->text().indexOf(notHeld.at(0))));
        return;
    }
    QDialog::accept();
}
