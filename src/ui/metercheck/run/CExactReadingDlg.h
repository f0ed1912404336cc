// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"
#include "core/metercheck/run/ExactReadingControl.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QLabel;
class QPushButton;
class QToolButton;
class ToggleButton;
struct MeterCheckSession;

// "Metoda dokładnego odczytu": the operator moves the calibrator output digit by digit (spin,
// Up/Down keys, sign button) until the meter shows the nominal value. Every key pressed in the
// dialog re-sends the output; Tab, Enter and Esc are no dialog keys here, so OK and "Przerwij"
// must be clicked. The output starts at `setpointText`; the meter must show the nominal value
// of point `point` of range `range` of the session's document. The dialog changes nothing in
// the document: OK leaves the output reached in Setting() for the procedure to store.
class CExactReadingDlg : public QDialog
{
    Q_OBJECT

public:
    CExactReadingDlg(const MeterCheckSession& session, int range, int point,
                     const QString& setpointText, CommandSender& sender, QWidget* parent = nullptr);

    const ExactReadingControl& Control() const { return control; }
    // After OK: the calibrator's output, in the function's unit, to be the point's setting.
    const std::optional<QString>& Setting() const { return setting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildOutputFrame();
    void ShowOutput();
    void OnSignButton(bool pressed);
    void OnOk();

    ExactReadingControl control;
    // Each named by its member's name (the digit buttons "digitButton1" to "digitButton5", from
    // the lowest digit), with the control's number beside it.
    QLabel* descriptionLabel = nullptr; // 1327
    QLabel* readingLabel = nullptr;     // 1303
    QLabel* readingUnit = nullptr;      // 1326
    QLabel* signLabel = nullptr;        // 1302
    QLabel* outputLabel = nullptr;      // 1301
    QToolButton* spinUp = nullptr;      // 1299
    QToolButton* spinDown = nullptr;
    ToggleButton* digitButtons[ExactReadingControl::digitCount] = {}; // 1297, 1194-1196, 1204
    ToggleButton* signButton = nullptr;                               // 1205
    QLabel* meterRangeLabel = nullptr;                                // 1324
    QLabel* meterRangeUnit = nullptr;                                 // 1325
    QLabel* calibratorRange = nullptr;                                // 1323
    QLabel* calibratorRangeUnit = nullptr;                            // 1322
    QPushButton* okButton = nullptr;
    QPushButton* abortButton = nullptr;
    QButtonGroup* digitGroup = nullptr;
    std::optional<QString> setting;
};
