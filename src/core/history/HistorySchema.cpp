// SPDX-License-Identifier: MIT
#include "core/history/HistorySchema.h"

#include "core/history/HistoryChain.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Version 1: the checks and their points.
const char* const version1[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "INSERT INTO schema_version (version) VALUES (0)",
    "CREATE TABLE checks ("
    " id TEXT PRIMARY KEY,"
    " checked_at TEXT NOT NULL," // UTC, ISO 8601: sorts as text
    " computer TEXT NOT NULL, user_name TEXT NOT NULL,"
    " meter_name TEXT NOT NULL, meter_number TEXT NOT NULL, method INTEGER NOT NULL,"
    " document_path TEXT NOT NULL,"
    " range_slot INTEGER NOT NULL, range_value TEXT NOT NULL, range_unit TEXT NOT NULL,"
    " quantity INTEGER NOT NULL, sensor_name TEXT NOT NULL, cold_junction INTEGER NOT NULL,"
    " to_value TEXT NOT NULL, rl_value TEXT NOT NULL,"
    " class_reading TEXT NOT NULL, class_range TEXT NOT NULL,"
    " const_term TEXT NOT NULL, const_unit TEXT NOT NULL, cal_function INTEGER NOT NULL,"
    " class_text TEXT NOT NULL, sensor_text TEXT NOT NULL,"
    " passed INTEGER NOT NULL)",
    "CREATE TABLE points ("
    " check_id TEXT NOT NULL REFERENCES checks(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " reading TEXT NOT NULL, setting TEXT NOT NULL, actual_error TEXT NOT NULL,"
    " permissible_error TEXT NOT NULL, calibrator_error TEXT NOT NULL, unit TEXT NOT NULL,"
    " marked INTEGER NOT NULL, measured INTEGER NOT NULL, exceeded INTEGER NOT NULL,"
    " PRIMARY KEY (check_id, position))",
};

// Version 2: the bench's offset from UTC (a reprint shows the time the technician saw), the
// index behind the history window, and the queue of records waiting for the server.
const char* const version2[] = {
    "ALTER TABLE checks ADD COLUMN utc_offset INTEGER NOT NULL DEFAULT 0",
    "CREATE INDEX checks_by_meter ON checks (meter_name, meter_number, checked_at)",
    "CREATE TABLE outbox (id TEXT PRIMARY KEY, record TEXT NOT NULL, queued_at TEXT NOT NULL)",
};

// Version 3: the lab's policy kept with each check (decision rule, TUR threshold, the
// calibrator's traceability and whether it was overdue), the marks and notes added to checks,
// the meters' due intervals, and the tamper-evident chain of checks and notes (HistoryChain);
// the checks already there are chained in their order of time by the same step.
const char* const version3[] = {
    "ALTER TABLE checks ADD COLUMN decision_rule INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE checks ADD COLUMN tur_threshold TEXT NOT NULL DEFAULT '4'",
    "ALTER TABLE checks ADD COLUMN calibrator_serial TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE checks ADD COLUMN calibrator_certificate TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE checks ADD COLUMN calibrator_calibrated_on TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE checks ADD COLUMN calibrator_due_on TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE checks ADD COLUMN calibrator_overdue INTEGER NOT NULL DEFAULT 0",
    "CREATE TABLE notes ("
    " id TEXT PRIMARY KEY,"
    " check_id TEXT NOT NULL REFERENCES checks(id),"
    " noted_at TEXT NOT NULL, utc_offset INTEGER NOT NULL,"
    " computer TEXT NOT NULL, user_name TEXT NOT NULL,"
    " mark INTEGER NOT NULL, note TEXT NOT NULL)",
    "CREATE INDEX notes_by_check ON notes (check_id)",
    "CREATE TABLE chain ("
    " seq INTEGER PRIMARY KEY, kind TEXT NOT NULL, item_id TEXT NOT NULL UNIQUE,"
    " previous_hash TEXT NOT NULL, hash TEXT NOT NULL)",
    "CREATE TABLE due_intervals ("
    " id TEXT PRIMARY KEY, meter_name TEXT NOT NULL, meter_number TEXT NOT NULL,"
    " months INTEGER NOT NULL, set_at TEXT NOT NULL,"
    " computer TEXT NOT NULL, user_name TEXT NOT NULL)",
    "CREATE INDEX due_intervals_by_meter ON due_intervals (meter_name, meter_number, set_at)",
};

// Version 4: a summary of each meter's checks (how many, the last one's time and verdict),
// kept by the database itself as checks are added, so that the history window lists the
// meters without reading every check. On PostgreSQL the trigger's function runs with its
// owner's rights: a bench that may only read and add checks keeps the summary without a right
// to change it. The trigger comes before the summary is filled, so that no check added
// meanwhile is missed (on PostgreSQL the trigger's lock holds the adding off).
const char* const meterSummaryTable =
    "CREATE TABLE meter_summary ("
    " meter_name TEXT NOT NULL, meter_number TEXT NOT NULL,"
    " last_checked_at TEXT NOT NULL, last_utc_offset INTEGER NOT NULL,"
    " last_passed INTEGER NOT NULL, checks INTEGER NOT NULL,"
    " PRIMARY KEY (meter_name, meter_number))";

// One more check of a meter: counted, and the last one's time, offset and verdict follow it. A
// meter's last verdict is that of its last run: negative when any range of it failed.
const char* const meterSummaryAdd =
    "INSERT INTO meter_summary (meter_name, meter_number, last_checked_at, last_utc_offset,"
    "  last_passed, checks)"
    " VALUES (NEW.meter_name, NEW.meter_number, NEW.checked_at, NEW.utc_offset, NEW.passed, 1)"
    " ON CONFLICT (meter_name, meter_number) DO UPDATE SET"
    "  checks = meter_summary.checks + 1,"
    "  last_checked_at = CASE WHEN excluded.last_checked_at > meter_summary.last_checked_at"
    "   THEN excluded.last_checked_at ELSE meter_summary.last_checked_at END,"
    "  last_utc_offset = CASE WHEN excluded.last_checked_at > meter_summary.last_checked_at"
    "   OR (excluded.last_checked_at = meter_summary.last_checked_at"
    "    AND excluded.last_utc_offset < meter_summary.last_utc_offset)"
    "   THEN excluded.last_utc_offset ELSE meter_summary.last_utc_offset END,"
    "  last_passed = CASE WHEN excluded.last_checked_at > meter_summary.last_checked_at"
    "   OR (excluded.last_checked_at = meter_summary.last_checked_at"
    "    AND excluded.last_passed < meter_summary.last_passed)"
    "   THEN excluded.last_passed ELSE meter_summary.last_passed END";

const char* const meterSummaryFill =
    "INSERT INTO meter_summary (meter_name, meter_number, last_checked_at, last_utc_offset,"
    "  last_passed, checks)"
    " SELECT meter_name, meter_number, checked_at, MIN(utc_offset), MIN(passed), MAX(n)"
    " FROM (SELECT meter_name, meter_number, checked_at, utc_offset, passed,"
    "  MAX(checked_at) OVER w AS last_at, COUNT(*) OVER w AS n"
    "  FROM checks WINDOW w AS (PARTITION BY meter_name, meter_number)) AS t"
    " WHERE checked_at = last_at"
    " GROUP BY meter_name, meter_number, checked_at";

QStringList Version4(bool postgres)
{
    const QString add = QString::fromLatin1(meterSummaryAdd);
    if (!postgres)
        return {QString::fromLatin1(meterSummaryTable),
                QStringLiteral("CREATE TRIGGER checks_counted AFTER INSERT ON checks"
                               " BEGIN %1; END")
                    .arg(add),
                QString::fromLatin1(meterSummaryFill)};
    return {QString::fromLatin1(meterSummaryTable),
            QStringLiteral("CREATE FUNCTION meter_summary_add() RETURNS trigger LANGUAGE plpgsql"
                           " SECURITY DEFINER SET search_path FROM CURRENT"
                           " AS $$ BEGIN %1; RETURN NULL; END $$")
                .arg(add),
            QStringLiteral("CREATE TRIGGER checks_counted AFTER INSERT ON checks"
                           " FOR EACH ROW EXECUTE FUNCTION meter_summary_add()"),
            QString::fromLatin1(meterSummaryFill)};
}

// Version 5: the checks in the history's order (newest first), so that the listing and the
// export read them, and each check's points by the points' key, without sorting the history.
const char* const version5[] = {
    "CREATE INDEX checks_newest_first"
    " ON checks (checked_at DESC, range_slot, meter_name, meter_number, id)",
};

bool IsPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

template <std::size_t n>
QStringList Statements(const char* const (&statements)[n])
{
    QStringList list;
    for (const char* s : statements)
        list << QString::fromLatin1(s);
    return list;
}

// A step's statements for SQLite or for PostgreSQL, where the two need different words, and
// what runs after them in the same transaction (an empty text or the reason).
struct Step
{
    QStringList (*statements)(bool postgres);
    QString (*after)(QSqlDatabase& db) = nullptr;
};
const Step steps[] = {
    {[](bool) { return Statements(version1); }},
    {[](bool) { return Statements(version2); }},
    {[](bool) { return Statements(version3); }, HistoryChain::SealExisting},
    {Version4},
    {[](bool) { return Statements(version5); }},
};
static_assert(std::size(steps) == HistorySchema::currentVersion);

QString Failed(const QString& what, const QSqlError& error)
{
    return QStringLiteral("%1: %2").arg(what, HistorySchema::Reason(error));
}

// Whether schema_version is where unqualified names lead. Qt's table list names the tables of
// a PostgreSQL schema other than public with the schema in front, so the server is asked.
std::optional<bool> HasVersionTable(QSqlDatabase& db, QString* error)
{
    if (!IsPostgres(db))
        return db.tables().contains(QStringLiteral("schema_version"));
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM pg_catalog.pg_tables"
                                   " WHERE schemaname = current_schema()"
                                   " AND tablename = 'schema_version')")) ||
        !query.next()) {
        if (error)
            *error = HistorySchema::Reason(query.lastError());
        return std::nullopt;
    }
    return query.value(0).toBool();
}

bool Exec(QSqlDatabase& db, const QString& sql, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    *error = Failed(QStringLiteral("Nie można przygotować tabel bazy danych"), query.lastError());
    return false;
}

} // namespace

namespace HistorySchema {

QString Reason(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        return error.text().trimmed();
    // The server's words without the severity before them ("ERROR:  ", "BŁĄD:  ") and the
    // error's code after them ("(42501)").
    static const QRegularExpression severity(QStringLiteral("^\\p{Lu}+:\\s+"));
    static const QRegularExpression code(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)$"));
    return text.remove(severity).remove(code);
}

std::optional<int> Version(QSqlDatabase& db, QString* error)
{
    const std::optional<bool> present = HasVersionTable(db, error);
    if (!present)
        return std::nullopt;
    if (!*present)
        return 0;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next()) {
        if (error)
            *error = Reason(query.lastError());
        return std::nullopt;
    }
    return query.value(0).toInt();
}

QString Migrate(QSqlDatabase& db, int targetVersion)
{
    QString error;
    // Up to date: nothing to lock (a read-only file can still be read, and a role that may
    // only read and add records never needs the lock).
    const std::optional<int> before = Version(db, &error);
    if (before == targetVersion)
        return QString();
    if (!before)
        return QStringLiteral("Nie można odczytać wersji tabel bazy danych: %1").arg(error);
    // One program at a time looks at the version and upgrades; the others wait their turn.
    const bool postgres = IsPostgres(db);
    if (postgres) {
        if (!db.transaction())
            return Failed(QStringLiteral("Nie można rozpocząć transakcji"), db.lastError());
        if (!Exec(db, QStringLiteral("SELECT pg_advisory_xact_lock(718019)"), &error)) {
            db.rollback();
            return error;
        }
    } else if (!Exec(db, QStringLiteral("BEGIN IMMEDIATE"), &error)) {
        return error;
    }
    auto rollback = [&] {
        if (postgres)
            db.rollback();
        else
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    };

    const std::optional<int> read = Version(db, &error);
    if (!read) {
        rollback();
        return QStringLiteral("Nie można odczytać wersji tabel bazy danych: %1").arg(error);
    }
    const int version = *read;
    if (version > currentVersion) {
        rollback();
        return QStringLiteral("Baza danych ma tabele w wersji %1, nowszej niż znana programowi "
                              "(%2). Potrzebna jest nowsza wersja programu.")
            .arg(version)
            .arg(currentVersion);
    }
    for (int v = version; v < targetVersion; ++v) {
        for (const QString& statement : steps[v].statements(postgres)) {
            if (!Exec(db, statement, &error)) {
                rollback();
                return error;
            }
        }
        if (steps[v].after) {
            error = steps[v].after(db);
            if (!error.isEmpty()) {
                rollback();
                return error;
            }
        }
        if (!Exec(db, QStringLiteral("UPDATE schema_version SET version = %1").arg(v + 1),
                  &error)) {
            rollback();
            return error;
        }
    }
    const bool committed = postgres ? db.commit() : QSqlQuery(db).exec(QStringLiteral("COMMIT"));
    if (!committed) {
        rollback();
        return Failed(QStringLiteral("Nie można zatwierdzić tabel bazy danych"), db.lastError());
    }
    return QString();
}

} // namespace HistorySchema
