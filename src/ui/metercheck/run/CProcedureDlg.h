// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QRadioButton;

// "Procedura pomiarowa": which ranges and which points a measurement run takes.
class CProcedureDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CProcedureDlg(QWidget* parent = nullptr);

    // 0 the current range, 1 all ranges.
    qint16 RangeScope() const;
    // 0 the marked points, 1 all points.
    qint16 PointScope() const;

    QRadioButton* currentRangeButton = nullptr; // 1286
    QRadioButton* allRangesButton = nullptr;    // 1287
    QRadioButton* markedPointsButton = nullptr; // 1288
    QRadioButton* allPointsButton = nullptr;    // 1289
};
