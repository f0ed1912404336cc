// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
struct MeterCheckSession;

// "Metoda dokładnej nastawy": the calibrator is set to the nominal value (`setpointText`) and the
// operator types what the meter shows. OK stores the indication in the reading of point `point`
// of range `range` of the session's document (range unit) and sets documentModified;
// "Przerwij" stores nothing.
class CExactSettingDlg : public QDialog
{
    Q_OBJECT

public:
    CExactSettingDlg(MeterCheckSession& session, int range, int point, const QString& setpointText,
                     MessageService& messages, QWidget* parent = nullptr);

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

    MeterCheckSession& session;
    MessageService& messages;
    int range;
    int point;
};
