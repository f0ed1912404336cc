// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QDialog>

class MessageService;
class QComboBox;
class QLineEdit;
struct MeterCheckSession;

// Name, number and verification method of the meter of the session's document, for a new
// document or, from the menu "Dane miernika", for the open one with the method fixed. OK
// stores them and marks the session modified.
class CMeterDataDlg : public QDialog
{
    Q_OBJECT

public:
    CMeterDataDlg(MeterCheckSession& session, MeterCheckMode mode, MessageService& messages,
                  QWidget* parent = nullptr);

    void accept() override;

private:
    MeterCheckSession& session;
    MessageService& messages;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* numberEdit = nullptr;
    QComboBox* methodList = nullptr;
};
