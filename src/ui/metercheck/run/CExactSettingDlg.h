// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <optional>

class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
struct MeterCheckSession;

// "Metoda dokładnej nastawy": the calibrator is set to the nominal value (`setpointText`) and the
// operator types what the meter shows, on range `range` of the session's document. The dialog
// changes nothing: OK leaves the indication (range unit) in Indication() for the procedure to
// store in the point.
class CExactSettingDlg : public QDialog
{
    Q_OBJECT

public:
    CExactSettingDlg(const MeterCheckSession& session, int range, const QString& setpointText,
                     MessageService& messages, QWidget* parent = nullptr);

    // The reading to store after OK: the indication typed, normalised; empty after a refused
    // entry; none when nothing was typed (the point keeps its reading).
    const std::optional<QString>& Indication() const { return indication; }

private:
    void OnOk();

    MessageService& messages;
    std::optional<QString> indication;
    // Each named by its member's name, with the control's number beside it.
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
};
