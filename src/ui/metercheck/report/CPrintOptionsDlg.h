// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/report/ProtocolPrinter.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

// "Drukowanie": which parts of the report to print, for the current range or all ranges.
class CPrintOptionsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPrintOptionsDlg(QWidget* parent = nullptr);

    // The choice shown on opening, and the one stored by OK.
    PrintOptions Options() const { return options; }

    void accept() override;

private:
    PrintOptions options;
    QCheckBox* tableBox;
    QCheckBox* pointsChartBox;
    QCheckBox* errorsChartBox;
    QRadioButton* currentRangeButton;
    QRadioButton* allRangesButton;
};
