// SPDX-License-Identifier: MIT
#pragma once

#include "core/lab/LabPolicyForm.h"

#include <QDialog>

class MessageService;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Zasady laboratorium": the decision rule of the statements of conformity, the TUR under
// which a point is flagged, whether the report always gets its appendix, and the calibrator's
// serial number, certificate and dates. OK keeps them in the settings; bad input is said in a
// message and everything typed stays.
class LabPolicyDlg : public QDialog
{
    Q_OBJECT

public:
    explicit LabPolicyDlg(MessageService& messages, QWidget* parent = nullptr);

    // What the fields hold now.
    LabPolicyForm Form() const;
    void accept() override;

private:
    MessageService& messages;
    QComboBox* ruleBox = nullptr;
    QLineEdit* turThresholdEdit = nullptr;
    QCheckBox* appendixAlwaysBox = nullptr;
    QLineEdit* serialEdit = nullptr;
    QLineEdit* certificateEdit = nullptr;
    QLineEdit* calibratedOnEdit = nullptr;
    QLineEdit* dueOnEdit = nullptr;
};

// Opens the dialog over `parent` and waits until it is closed.
void ShowLabPolicyDialog(MessageService& messages, QWidget* parent);
