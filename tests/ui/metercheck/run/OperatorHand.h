// SPDX-License-Identifier: MIT
#pragma once

#include "Child.h"
#include "ui/metercheck/run/CExactSettingDlg.h"
#include "ui/metercheck/run/CProcedureDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>

#include <functional>

// The operator at the real measurement dialogs while it lives: chooses the scope, then types
// one indication per point and confirms it (or aborts the first point). Records the
// description and set-point each point's dialog showed.
class OperatorHand
{
public:
    OperatorHand(bool allRanges, bool allPoints, QStringList indications,
                 std::function<void()> onEntry = {})
        : indications(std::move(indications))
    {
        QObject::connect(&timer, &QTimer::timeout, [this, allRanges, allPoints, onEntry] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* choice = qobject_cast<CProcedureDlg*>(modal)) {
                Child<QRadioButton>(choice, allRanges ? "allRangesButton" : "currentRangeButton")
                    ->setChecked(true);
                Child<QRadioButton>(choice, allPoints ? "allPointsButton" : "markedPointsButton")
                    ->setChecked(true);
                choice->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            } else if (auto* entry = qobject_cast<CExactSettingDlg*>(modal)) {
                descriptions << Child<QLabel>(entry, "descriptionLabel")->text() + " " +
                                    Child<QLabel>(entry, "setpointLabel")->text();
                if (onEntry)
                    onEntry();
                if (abort) {
                    Child<QPushButton>(entry, "abortButton")->click();
                    return;
                }
                Child<QLineEdit>(entry, "indicationEdit")
                    ->setText(this->indications.isEmpty() ? QString()
                                                          : this->indications.takeFirst());
                Child<QPushButton>(entry, "okButton")->click();
            }
        });
        timer.start(20);
    }

    QStringList indications; // still to be typed
    QStringList descriptions;
    bool abort = false; // the point's dialog is aborted instead

private:
    QTimer timer;
};
