// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

class QSqlDatabase;
class QSqlError;

// The tables of the history, created and upgraded by the program itself. schema_version holds
// the version of the tables; each step upgrades by one version inside the same transaction,
// and concurrent programs take turns (a write lock on SQLite, an advisory lock on PostgreSQL).
// On PostgreSQL the tables are those of the first schema of the connection's search_path
// (current_schema()), where unqualified names are created and found.
namespace HistorySchema {

// The version this program writes.
constexpr int currentVersion = 5;
// The version that brought the meters' summary (tests and the bench fill the tables before it).
constexpr int meterSummaryVersion = 4;

// Brings the database to `targetVersion` (tests stop at an older one). Returns an empty text,
// or the reason in Polish; a database newer than the program is refused.
QString Migrate(QSqlDatabase& db, int targetVersion = currentVersion);

// The version of the tables; 0 for a database without them, none when it cannot be read
// (with the database's reason in `error` when given).
std::optional<int> Version(QSqlDatabase& db, QString* error = nullptr);

// The database's own words for a failure (libpq speaks the user's language), without the
// driver's English behind them.
QString Reason(const QSqlError& error);

} // namespace HistorySchema
