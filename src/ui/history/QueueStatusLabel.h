// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

class HistoryService;

// The status line of the records waiting for the server: how many, and the last failed
// attempt (in full in its tooltip). Hidden while nothing waits and nothing failed.
class QueueStatusLabel : public QLabel
{
    Q_OBJECT

public:
    QueueStatusLabel(HistoryService& history, QWidget* parent);

private:
    void Show();

    HistoryService& history;
};
