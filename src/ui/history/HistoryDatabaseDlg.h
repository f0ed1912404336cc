// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryConfig.h"

#include <QDialog>

class HistoryService;
class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Baza danych": where the history of checks is kept, the local file of this user or a lab's
// PostgreSQL server. The password is not asked for: it comes from ~/.pgpass or PGPASSWORD.
class HistoryDatabaseDlg : public QDialog
{
    Q_OBJECT

public:
    HistoryDatabaseDlg(HistoryService& history, MessageService& messages,
                       QWidget* parent = nullptr);

    // What the dialog shows now.
    HistoryConfig Chosen() const;
    void accept() override;

private:
    void UpdateFields();
    void OnProbe();
    void ShowProbeResult(const QString& text);
    // The reason the server fields cannot be used, or empty.
    QString Refusal() const;

    HistoryService& history;
    MessageService& messages;
    QRadioButton* localButton = nullptr;
    QRadioButton* serverButton = nullptr;
    QLineEdit* hostEdit = nullptr;
    QSpinBox* portBox = nullptr;
    QLineEdit* databaseEdit = nullptr;
    QLineEdit* userEdit = nullptr;
    QPushButton* probeButton = nullptr;
    QLabel* probeResult = nullptr;
};
