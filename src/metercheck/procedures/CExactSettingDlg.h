// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Metoda dokładnej nastawy": the calibrator is set to the nominal value and the operator types
// what the meter shows. OK stores the indication in the point's reading (range unit);
// "Przerwij" stores nothing.
class CExactSettingDlg : public QDialog
{
    Q_OBJECT

public:
    CExactSettingDlg(int range, int point, QWidget* parent = nullptr);

    QLabel* descriptionLabel = nullptr;    // 1316
    QLineEdit* indicationEdit = nullptr;   // 1312
    QLabel* indicationUnit = nullptr;      // 1321
    QLabel* setpointLabel = nullptr;       // 1313
    QLabel* setpointUnit = nullptr;        // 1315
    QLabel* meterRangeLabel = nullptr;     // 1320
    QLabel* meterRangeUnit = nullptr;      // 1319
    QLabel* calibratorRange = nullptr;     // 1317
    QLabel* calibratorRangeUnit = nullptr; // 1318
    QPushButton* okButton = nullptr;
    QPushButton* abortButton = nullptr;

private:
    void OnOk();

    int range;
    int point;
};
