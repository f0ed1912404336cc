// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QRadioButton;

// "Eksport danych do Excela": the current range or all ranges.
class CExportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CExportDlg(QWidget* parent = nullptr);

    // 0 the current range, 1 all ranges; stored by OK.
    int exportScope = 0;

    void accept() override;

private:
    QRadioButton* currentRangeButton;
    QRadioButton* allRangesButton;
};
