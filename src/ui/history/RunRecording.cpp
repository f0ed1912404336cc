// SPDX-License-Identifier: MIT
#include "ui/history/RunRecording.h"

#include "core/base/MessageService.h"
#include "core/history/HistoryService.h"
#include "core/history/QueueTexts.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QDir>
#include <QPointer>
#include <QWidget>

QFuture<HistoryDatabase::Outcome> RecordMeasurementRun(const MeterCheckSession& session,
                                                       const QList<int>& measuredRanges,
                                                       HistoryService& history,
                                                       MessageService& messages, QWidget* owner,
                                                       bool calibratorOverdue)
{
    RunContext context = RunContext::Current(session.documentName);
    context.calibratorOverdue = calibratorOverdue;
    const QList<CheckRecord> records = BuildCheckRecords(session.document, measuredRanges, context);
    if (records.isEmpty())
        return QtFuture::makeReadyFuture(HistoryDatabase::Outcome{});

    const QPointer<QWidget> window(owner);
    return history.Record(records).then(
        &history, [window, &messages](const HistoryDatabase::Outcome& o) {
            if (!o.keptIn.isEmpty())
                messages.ShowError(
                    QStringLiteral("Wyniki pomiarów nie zostały zapisane w historii "
                                   "sprawdzeń.\n%1\n\nZachowano je w folderze %2; zostaną "
                                   "dopisane do historii, gdy baza danych będzie dostępna.")
                        .arg(o.error, QDir::toNativeSeparators(o.keptIn)),
                    window.data());
            else if (!o.error.isEmpty())
                messages.ShowError(
                    QStringLiteral("Wyniki pomiarów nie zostały zapisane w historii "
                                   "sprawdzeń.\n%1\n\nWyniki pozostają w oknie i w dokumencie; "
                                   "można je zapisać do pliku.")
                        .arg(o.error),
                    window.data());
            else if (!o.sendError.isEmpty())
                messages.Show(RunKeptNotSentText(o.sendError), QStringLiteral("Historia sprawdzeń"),
                              MessageIcon::Warning, MessageButtons::Ok, window.data());
            return o;
        });
}
