// SPDX-License-Identifier: MIT
#include "ui/history/QueueStatusLabel.h"

#include "core/history/QueueTexts.h"

QueueStatusLabel::QueueStatusLabel(HistoryService& history, QWidget* parent)
    : QLabel(parent), history(history)
{
    setObjectName(QStringLiteral("queueStatus"));
    // A long reason must not widen the window: the line shows what fits, the tooltip the rest.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setContentsMargins(4, 2, 4, 2);
    setStyleSheet(QStringLiteral("color: #a00000;"));
    connect(&history, &HistoryService::QueueChanged, this, &QueueStatusLabel::Show);
    Show();
}

void QueueStatusLabel::Show()
{
    const QString text = QueueStatusText(history.Queue());
    setText(text);
    setToolTip(text);
    setVisible(!text.isEmpty());
}
