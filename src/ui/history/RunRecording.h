// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryDatabase.h"

#include <QFuture>
#include <QList>

class HistoryService;
class MessageService;
class QWidget;
struct MeterCheckSession;

// The end of a measurement run: every range of the session's document in which the run
// confirmed a point becomes one record of `history`. Returns at once; the record is written on
// the history's worker thread, and a failure is shown in one message over `owner` (the document and
// the window keep every result); so is a record kept but not sent to the server, once for the
// run (the retries that follow are silent, the status line shows them). A run that measured
// nothing records nothing. `calibratorOverdue`: the run went on with the calibrator past its
// due date, and its records say so.
QFuture<HistoryDatabase::Outcome> RecordMeasurementRun(const MeterCheckSession& session,
                                                       const QList<int>& measuredRanges,
                                                       HistoryService& history,
                                                       MessageService& messages, QWidget* owner,
                                                       bool calibratorOverdue = false);
