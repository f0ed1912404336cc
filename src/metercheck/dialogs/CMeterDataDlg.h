// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// Name, number and verification method of the meter (new document: meterCheckState 3; the
// menu "Dane miernika": 5, with the method fixed). OK stores them and sets documentModified.
class CMeterDataDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CMeterDataDlg(QWidget* parent = nullptr);

    void accept() override;

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* number_ = nullptr;
    QComboBox* method_ = nullptr;
};
