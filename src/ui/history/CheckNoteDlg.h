// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckNote.h"

#include <QDialog>

class MessageService;
class QComboBox;
class QLineEdit;

// "Uwaga do sprawdzenia": a mark (as found / as left) and a note for a recorded check. It only
// collects them; OK refuses a note with neither, saying so, and keeps what was typed.
class CheckNoteDlg : public QDialog
{
    Q_OBJECT

public:
    CheckNoteDlg(const QString& checkTitle, MessageService& messages, QWidget* parent = nullptr);

    CheckMark Mark() const;
    QString Text() const;

    void accept() override;

private:
    MessageService& messages;
    QComboBox* markCombo = nullptr;
    QLineEdit* noteEdit = nullptr;
};
