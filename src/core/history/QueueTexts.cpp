// SPDX-License-Identifier: MIT
#include "core/history/QueueTexts.h"

QString QueueStatusText(const HistoryService::QueueState& state)
{
    QStringList parts;
    if (state.waiting > 0)
        parts << QStringLiteral("Sprawdzenia czekające na wysłanie do serwera: %1")
                     .arg(state.waiting);
    if (!state.failure.isEmpty())
        parts << QStringLiteral("ostatnia próba (%1) nieudana: %2")
                     .arg(state.failedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                          state.failure.simplified());
    QString text = parts.join(QStringLiteral("; "));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString RunKeptNotSentText(const QString& reason)
{
    return QStringLiteral("Wyniki pomiarów zapisano na tym komputerze, ale nie dotarły do serwera "
                          "bazy danych:\n%1\n\nCzekają w kolejce i zostaną wysłane, gdy serwer "
                          "będzie dostępny (próba co minutę i przy każdym uruchomieniu programu).")
        .arg(reason);
}

QString ExitWithWaitingQuestion(int waiting)
{
    return QStringLiteral("Sprawdzenia czekające na wysłanie do serwera bazy danych: %1.\n"
                          "Pozostaną zapisane na tym komputerze i zostaną wysłane po następnym "
                          "uruchomieniu programu.\n\nZakończyć pracę programu?")
        .arg(waiting);
}
