// SPDX-License-Identifier: MIT
#include "ui/history/CheckNoteDlg.h"

#include "core/base/MessageService.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CheckNoteDlg::CheckNoteDlg(const QString& checkTitle, MessageService& messages, QWidget* parent)
    : QDialog(parent), messages(messages)
{
    setWindowTitle(QStringLiteral("Uwaga do sprawdzenia"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    markCombo = new QComboBox(this);
    markCombo->setObjectName(QStringLiteral("markCombo"));
    markCombo->addItem(QStringLiteral("bez oznaczenia"), int(CheckMark::None));
    markCombo->addItem(CheckMarkText(CheckMark::AsFound), int(CheckMark::AsFound));
    markCombo->addItem(CheckMarkText(CheckMark::AsLeft), int(CheckMark::AsLeft));
    noteEdit = new QLineEdit(this);
    noteEdit->setObjectName(QStringLiteral("noteEdit"));
    noteEdit->setMaxLength(500);
    noteEdit->setMinimumWidth(360);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Oznaczenie:"), markCombo);
    form->addRow(QStringLiteral("&Uwaga:"), noteEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CheckNoteDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(checkTitle, this);
    title->setWordWrap(true);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Sprawdzenie pozostaje bez zmian; uwaga jest "
                                                "zapisywana osobno, z datą i użytkownikiem."),
                                 this));
    layout->addWidget(buttons);
}

CheckMark CheckNoteDlg::Mark() const
{
    return CheckMarkFromNumber(markCombo->currentData().toInt());
}

QString CheckNoteDlg::Text() const
{
    return noteEdit->text().trimmed();
}

void CheckNoteDlg::accept()
{
    const QString problem = NoteProblem(Mark(), Text());
    if (!problem.isEmpty()) {
        messages.ShowError(problem, this);
        return;
    }
    QDialog::accept();
}
