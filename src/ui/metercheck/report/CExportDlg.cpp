// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/CExportDlg.h"

#include "ui/base/DialogButtons.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CExportDlg::CExportDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Eksport danych do Excela"));

    auto* group = new QGroupBox(QStringLiteral("Zestaw danych"), this);
    currentRangeButton =
        new QRadioButton(QStringLiteral("Eksport danych z bieżącego zakresu"), group);
    allRangesButton =
        new QRadioButton(QStringLiteral("Eksport danych ze wszystkich zakresów"), group);
    currentRangeButton->setObjectName(QStringLiteral("exportCurrentRange"));
    allRangesButton->setObjectName(QStringLiteral("exportAllRanges"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(currentRangeButton);
    groupLayout->addWidget(allRangesButton);

    auto* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    currentRangeButton->setChecked(exportScope == RangeScope::Current);
    allRangesButton->setChecked(exportScope == RangeScope::All);
}

void CExportDlg::accept()
{
    exportScope = allRangesButton->isChecked() ? RangeScope::All : RangeScope::Current;
    QDialog::accept();
}
