// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/run/MeasurementDialogRunner.h"

#include <QDialog>

class QRadioButton;

// "Procedura pomiarowa": which ranges and which points a measurement run takes.
class CProcedureDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CProcedureDlg(QWidget* parent = nullptr);

    ::RangeScope RangeScope() const;
    ::PointScope PointScope() const;

private:
    // Each named by its member's name, with the control's number beside it.
    QRadioButton* currentRangeButton = nullptr; // 1286
    QRadioButton* allRangesButton = nullptr;    // 1287
    QRadioButton* markedPointsButton = nullptr; // 1288
    QRadioButton* allPointsButton = nullptr;    // 1289
};
