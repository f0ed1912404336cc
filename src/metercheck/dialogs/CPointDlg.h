// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// The nominal value of point currentPoint of range currentRange (add with meterCheckState 6,
// edit with 7). The checks are PointEntry's; OK stores the value, "Anuluj" leaves the point.
class CPointDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPointDlg(QWidget* parent = nullptr);

    void accept() override;

private:
    QLabel* caption_ = nullptr;
    QLineEdit* value_ = nullptr;
    QLabel* unit_ = nullptr;
};
