// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

class QSqlDatabase;

// The tables of the history, created and upgraded by the program itself. schema_version holds
// the version of the tables; each step upgrades by one version inside the same transaction,
// and concurrent programs take turns (a write lock on SQLite, an advisory lock on PostgreSQL).
namespace HistorySchema {

// The version this program writes.
constexpr int currentVersion = 2;

// Brings the database to `targetVersion` (tests stop at an older one). Returns an empty text,
// or the reason in Polish; a database newer than the program is refused.
QString Migrate(QSqlDatabase& db, int targetVersion = currentVersion);

// The version of the tables; 0 for a database without them, none when it cannot be read.
std::optional<int> Version(QSqlDatabase& db);

} // namespace HistorySchema
