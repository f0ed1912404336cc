// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckNote.h"
#include "core/history/CheckRecord.h"
#include "core/history/DueDates.h"
#include "core/history/HistoryStore.h"

#include <QVariantList>

class QSqlDatabase;

// What the lab adds to the checks of a history database, in SQL: the marks and notes on a check
// (each its own row and its own link of the chain) and the meters' intervals (each setting its
// own row, the newest in force). Rows are only ever added: the bench role may not change any.
namespace LabRecordsSql {

// An empty text, or the reason in Polish (also when the check is not in this database).
QString AddNote(QSqlDatabase& db, const CheckNote& note);
QString AddInterval(QSqlDatabase& db, const MeterInterval& interval);
Fetched<QList<MeterInterval>> Intervals(QSqlDatabase& db);

// Gives the records read by `checkCondition` (on checks c, with its bound values) their link's
// hash and their notes, oldest first. An empty text or the reason.
QString AttachChainAndNotes(QSqlDatabase& db, QList<CheckRecord>& records,
                            const QString& checkCondition, const QVariantList& values);

} // namespace LabRecordsSql
