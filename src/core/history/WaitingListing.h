// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryStore.h"

// The records waiting in this bench's queue for the server, listed beside those the database
// holds, whichever database the bench uses now. In a meter's checks, a waiting record that the
// database holds already (sent, the queue not yet emptied) is listed once, as stored.

// Each waiting check counts in its meter's checks and in its waiting ones; a meter known only
// from the queue is added in its place by name and number; a waiting check newer than the
// meter's last gives the last check and its verdict.
QList<MeterSummary> WithWaiting(QList<MeterSummary> meters, const QList<CheckRecord>& waiting);

// The meter's waiting checks added to its checks, the whole oldest first.
QList<CheckRecord> WithWaiting(QList<CheckRecord> checks, const QList<CheckRecord>& waiting,
                               const QString& name, const QString& number);
