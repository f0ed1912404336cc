// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/CPrintOptionsDlg.h"

#include "ui/base/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CPrintOptionsDlg::CPrintOptionsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Drukowanie"));

    auto* group = new QGroupBox(QStringLiteral("Dane do wydrukowania"), this);
    tableBox = new QCheckBox(QStringLiteral("Tabela pomiarów"), group);
    pointsChartBox = new QCheckBox(QStringLiteral("Wykres punktów"), group);
    errorsChartBox = new QCheckBox(QStringLiteral("Wykres błędów"), group);
    currentRangeButton = new QRadioButton(QStringLiteral("Bieżący zakres"), group);
    allRangesButton = new QRadioButton(QStringLiteral("Wszystkie zakresy"), group);

    tableBox->setObjectName(QStringLiteral("printTable"));
    pointsChartBox->setObjectName(QStringLiteral("printPointsChart"));
    errorsChartBox->setObjectName(QStringLiteral("printErrorsChart"));
    currentRangeButton->setObjectName(QStringLiteral("printCurrentRange"));
    allRangesButton->setObjectName(QStringLiteral("printAllRanges"));

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(tableBox);
    groupLayout->addWidget(pointsChartBox);
    groupLayout->addWidget(errorsChartBox);
    groupLayout->addSpacing(8);
    groupLayout->addWidget(currentRangeButton);
    groupLayout->addWidget(allRangesButton);

    auto* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    tableBox->setChecked(options.printTable);
    pointsChartBox->setChecked(options.printPointsChart);
    errorsChartBox->setChecked(options.printErrorsChart);
    currentRangeButton->setChecked(options.printScope == RangeScope::Current);
    allRangesButton->setChecked(options.printScope == RangeScope::All);
}

void CPrintOptionsDlg::accept()
{
    options.printTable = tableBox->isChecked();
    options.printPointsChart = pointsChartBox->isChecked();
    options.printErrorsChart = errorsChartBox->isChecked();
    options.printScope = allRangesButton->isChecked() ? RangeScope::All : RangeScope::Current;
    QDialog::accept();
}
