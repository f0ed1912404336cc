// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class MessageService;
class QLabel;
class QLineEdit;

// Takes one number between two limits, with a caption and a unit chosen by the caller.
// The caller fills the param* members, runs the dialog and on OK reads paramText.
class CParamDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CParamDlg(MessageService& messages, QWidget* parent = nullptr);

    QString paramCaption;
    QString paramUnit;
    double paramLow = 0;
    double paramHigh = 0;
    QString paramInitial; // the caller's current value, kept by the caller on cancel
    QString paramText;    // the accepted text, valid after OK

    int exec() override;
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    MessageService& messages;
    QLabel* captionLabel;
    QLineEdit* valueEdit;
    QLabel* unitLabel;
};
