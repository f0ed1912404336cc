// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QDialog>

class QRadioButton;

// "Eksport danych do Excela": the current range or all ranges.
class CExportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CExportDlg(QWidget* parent = nullptr);

    // Stored by OK.
    RangeScope exportScope = RangeScope::Current;

    void accept() override;

private:
    QRadioButton* currentRangeButton;
    QRadioButton* allRangesButton;
};
