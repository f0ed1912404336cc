// SPDX-License-Identifier: MIT
#include "core/history/HistoryDatabase.h"

#include "core/base/FileAccess.h"
#include "core/history/HistoryFiles.h"
#include "core/history/HistorySchema.h"
#include "core/history/ServerLine.h"
#include "core/history/SqlHistoryStore.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScopedValueRollback>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <limits>

namespace {

QAtomicInt connectionCounter;

QString NewConnectionName(const char* kind)
{
    return QStringLiteral("r718-history-%1-%2").arg(QLatin1String(kind)).arg(connectionCounter.fetchAndAddRelaxed(1));
}

// Records are sent in batches of this many, each batch in one transaction.
constexpr int sendBatch = 50;

QString DatabaseReason(const QSqlError& error)
{
    return HistorySchema::Reason(error);
}

// Every call has a limit, so that a server out of reach or stalled never holds a bench: the
// connection (per address tried), each statement, and TCP keepalives with a limit on unanswered
// data for a network cut without a reset. A stalled server on a Unix socket is left to
// ServerLine.
const char* const connectOptions =
    "connect_timeout=3;application_name=r718;options='-c statement_timeout=20000';"
    "keepalives=1;keepalives_idle=10;keepalives_interval=5;keepalives_count=3;"
    "tcp_user_timeout=20000";

// libpq skips a password file that others may read, and says so on standard error only.
QString PasswordFileProblem()
{
#ifdef Q_OS_UNIX
    QString path = qEnvironmentVariable("PGPASSFILE");
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/.pgpass");
    const QFileInfo file(path);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (file.isFile() && (file.permissions() & others))
        return QStringLiteral("Plik haseł %1 jest pomijany, bo mają do niego dostęp inni "
                              "użytkownicy; zmień jego prawa poleceniem: chmod 600 %1")
            .arg(QDir::toNativeSeparators(path));
#endif
    return QString();
}

QString LocalFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Baza danych historii sprawdzeń %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

HistoryDatabase::HistoryDatabase(const HistoryConfig& config, const QString& localPath)
    : config(config), localPath(localPath), localName(NewConnectionName("local")),
      serverName(NewConnectionName("server")), waiting(localPath)
{}

HistoryDatabase::~HistoryDatabase()
{
    localStore.reset();
    serverStore.reset();
    if (QSqlDatabase::contains(localName)) {
        // The newest records go from the log into the file itself, so that after a clean end
        // history.sqlite alone holds every check (a copy of it is a whole history).
        QSqlDatabase db = QSqlDatabase::database(localName, false);
        if (db.isOpen())
            QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    for (const QString& name : {localName, serverName}) {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
}

bool HistoryDatabase::OpenLocal(QString* error)
{
    if (localStore)
        return true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        *error = QStringLiteral("Brak sterownika SQLite bibliotek Qt (pakiet libqt6sql6-sqlite).");
        return false;
    }
    PrepareLocalHistoryFile(localPath);
    QSqlDatabase db = QSqlDatabase::contains(localName)
                          ? QSqlDatabase::database(localName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), localName);
    db.setDatabaseName(localPath);
    // Another program on this machine may be writing: wait for it a while rather than fail.
    // A run's records that cannot wait longer are kept beside the file (WaitingRecords), so
    // that the end of the program never waits long.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        // SQLite says only "unable to open database file"; the system knows why.
        const QString cause = ReadWriteCause(localPath);
        *error = LocalFailure(localPath, cause.isEmpty() ? DatabaseReason(db.lastError()) : cause);
        return false;
    }
    // Write-ahead log: a reader never waits for a writer and a commit costs one sync.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    const QString failure = HistorySchema::Migrate(db);
    if (!failure.isEmpty()) {
        *error = LocalFailure(localPath, failure);
        db.close();
        return false;
    }
    localStore = std::make_unique<SqlHistoryStore>(db);
    return true;
}

bool HistoryDatabase::OpenServer(QString* error)
{
    if (serverStore)
        return true;
    if (!config.invalid.isEmpty()) {
        *error = config.invalid;
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *error = QStringLiteral(
            "Brak sterownika PostgreSQL bibliotek Qt (pakiet libqt6sql6-psql).");
        return false;
    }
    if (line && line->Closed()) {
        *error = QStringLiteral("Program kończy pracę; sprawdzenia czekają w kolejce.");
        return false;
    }
    const ServerLine::Call call(line);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::contains(serverName)
                              ? QSqlDatabase::database(serverName, false)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), serverName);
        db.setHostName(config.host);
        db.setPort(config.port);
        db.setDatabaseName(config.database);
        db.setUserName(config.user);
        // No password here: libpq reads ~/.pgpass or PGPASSWORD. A server out of reach must
        // not hold the records up for long; they wait in the local queue.
        db.setConnectOptions(QString::fromLatin1(connectOptions));
        if (!db.open()) {
            failure = QStringLiteral("Nie można połączyć się z serwerem bazy danych %1: %2")
                          .arg(config.Description(), DatabaseReason(db.lastError()));
            const QString passwords = PasswordFileProblem();
            if (!passwords.isEmpty())
                failure += QStringLiteral("\n") + passwords;
        } else {
            if (line)
                line->Attach(db);
            QSqlQuery path(db);
            if (!config.schema.isEmpty() &&
                !path.exec(
                    QStringLiteral("SET search_path TO %1")
                        .arg(db.driver()->escapeIdentifier(config.schema, QSqlDriver::TableName))))
                failure = QStringLiteral("nie można wybrać schematu %1: %2")
                              .arg(config.schema, DatabaseReason(path.lastError()));
            else
                failure = HistorySchema::Migrate(db);
            if (!failure.isEmpty())
                failure = QStringLiteral("Serwer bazy danych %1: %2").arg(config.Description(), failure);
            else
                serverStore = std::make_unique<SqlHistoryStore>(db);
        }
    }
    if (failure.isEmpty())
        return true;
    *error = failure;
    DropServer();
    return false;
}

void HistoryDatabase::ForgetServer()
{
    DropServer();
}

void HistoryDatabase::DropServer()
{
    // After a failure the connection may be broken; the next use connects anew.
    if (line)
        line->Detach();
    serverStore.reset();
    if (QSqlDatabase::contains(serverName)) {
        QSqlDatabase::database(serverName, false).close();
        QSqlDatabase::removeDatabase(serverName);
    }
}

HistoryDatabase::Outcome HistoryDatabase::Record(const QList<CheckRecord>& records)
{
    Outcome outcome = Keep(records);
    if (!outcome.error.isEmpty() || !config.IsServer() || records.isEmpty())
        return outcome;
    // Queued is recorded: a server out of reach is no failure of the run.
    const Outcome sent = SendQueued();
    outcome.sent = sent.sent;
    outcome.waiting = sent.waiting;
    outcome.sendError = sent.error;
    return outcome;
}

HistoryDatabase::Outcome HistoryDatabase::Keep(const QList<CheckRecord>& records)
{
    TakeInWaiting(); // earlier runs first
    Outcome outcome = KeepNow(records);
    QString cause;
    if (!outcome.error.isEmpty() && waiting.Keep(records, &cause)) {
        outcome.keptIn = waiting.Folder();
        outcome.waiting = waiting.Count();
    }
    return outcome;
}

void HistoryDatabase::TakeInWaiting()
{
    if (takingIn)
        return;
    const QScopedValueRollback guard(takingIn, true);
    for (const WaitingRecords::Run& run : waiting.Runs()) {
        if (!KeepNow(run.records).error.isEmpty())
            return;
        WaitingRecords::Taken(run);
    }
}

HistoryDatabase::Outcome HistoryDatabase::KeepNow(const QList<CheckRecord>& records)
{
    Outcome outcome;
    if (records.isEmpty())
        return outcome;
    if (!OpenLocal(&outcome.error))
        return outcome;
    QSqlDatabase db = QSqlDatabase::database(localName, false);
    if (!config.IsServer()) {
        outcome.error = localStore->Save(records);
        if (!outcome.error.isEmpty())
            outcome.error = LocalFailure(localPath, outcome.error);
        outcome.waiting = QueuedCount().value_or(0);
        return outcome;
    }

    // Queued in one transaction, so that either the whole run waits or nothing does.
    const QString what = QStringLiteral("nie można dopisać sprawdzenia do kolejki");
    if (!db.transaction()) {
        outcome.error = LocalFailure(localPath, what + QStringLiteral(": ") + db.lastError().text());
        return outcome;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO outbox (id, record, queued_at) VALUES (?, ?, ?)"
                             " ON CONFLICT (id) DO NOTHING"));
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    for (const CheckRecord& c : records) {
        q.addBindValue(c.id);
        q.addBindValue(QString::fromUtf8(QJsonDocument(RecordToJson(c)).toJson(QJsonDocument::Compact)));
        q.addBindValue(now);
        if (!q.exec()) {
            outcome.error = LocalFailure(localPath, what + QStringLiteral(": ") + q.lastError().text());
            q.finish();
            db.rollback();
            return outcome;
        }
    }
    q.finish();
    if (!db.commit()) {
        outcome.error = LocalFailure(localPath, what + QStringLiteral(": ") + db.lastError().text());
        db.rollback();
        return outcome;
    }
    outcome.waiting = QueuedCount().value_or(int(records.size()));
    return outcome;
}

HistoryDatabase::Outcome HistoryDatabase::SendQueued()
{
    TakeInWaiting();
    Outcome outcome;
    if (!config.IsServer()) {
        // Nothing to send. What waits: runs kept beside a file that was locked, and records
        // queued for a server before the bench changed to the local file.
        QString unread;
        outcome.waiting =
            waiting.Count() + (OpenLocal(&unread) ? QueuedCount().value_or(0) : 0);
        return outcome;
    }
    if (!OpenLocal(&outcome.error))
        return outcome;
    QSqlDatabase local = QSqlDatabase::database(localName, false);
    while (true) {
        QSqlQuery pending(local);
        pending.setForwardOnly(true);
        pending.prepare(QStringLiteral("SELECT id, record FROM outbox ORDER BY queued_at, id LIMIT ?"));
        pending.addBindValue(sendBatch);
        if (!pending.exec()) {
            outcome.error = LocalFailure(localPath, pending.lastError().text());
            break;
        }
        QList<CheckRecord> batch;
        QStringList ids;
        while (pending.next()) {
            ids << pending.value(0).toString();
            CheckRecord c;
            const QJsonDocument json = QJsonDocument::fromJson(pending.value(1).toString().toUtf8());
            // A queue entry that is not a record (a damaged file) is dropped below, not sent.
            if (RecordFromJson(json.object(), c))
                batch << c;
        }
        pending.finish();
        if (ids.isEmpty())
            break;
        if (!OpenServer(&outcome.error))
            break;
        QString failure;
        {
            const ServerLine::Call call(line);
            failure = serverStore->Save(batch);
        }
        if (!failure.isEmpty()) {
            outcome.error = QStringLiteral("Serwer bazy danych %1: %2").arg(config.Description(), failure);
            DropServer();
            break;
        }
        QSqlQuery done(local);
        done.prepare(QStringLiteral("DELETE FROM outbox WHERE id = ?"));
        local.transaction();
        for (const QString& id : ids) {
            done.addBindValue(id);
            done.exec();
        }
        done.finish();
        if (!local.commit()) {
            // Sent but still queued: sent again later, where the id keeps it from doubling.
            outcome.error = LocalFailure(localPath, local.lastError().text());
            local.rollback();
            break;
        }
        outcome.sent += int(batch.size());
    }
    outcome.waiting = QueuedCount().value_or(0) + waiting.Count();
    return outcome;
}

std::optional<int> HistoryDatabase::QueuedCount()
{
    QString error;
    if (!OpenLocal(&error))
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(localName, false));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM outbox")) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

QString HistoryDatabase::BackUp(const QString& target)
{
    if (config.IsServer())
        return QStringLiteral("Historia sprawdzeń jest na serwerze bazy danych %1. Jej kopię "
                              "zapasową robi administrator serwera programem pg_dump (np. "
                              "pg_dump -Fc -f historia.dump %2).")
            .arg(config.Description(), config.database);
    const auto failed = [&](const QString& cause) {
        return QStringLiteral("Nie zapisano kopii historii sprawdzeń w pliku:\n%1\n%2.")
            .arg(QDir::toNativeSeparators(target), cause);
    };
    if (IsLocalHistoryFile(target, localPath))
        return failed(QStringLiteral("To jest plik bazy danych historii sprawdzeń"));
    QString error;
    if (!OpenLocal(&error))
        return error;
    // The copy is made whole in a folder of its own and written to the target only then.
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("history.sqlite"));
    QSqlQuery vacuum(QSqlDatabase::database(localName, false));
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(copy);
    if (!scratch.isValid() || !vacuum.exec())
        return failed(vacuum.lastError().text());
    QByteArray data;
    QString cause;
    if (!ReadRegularFile(copy, std::numeric_limits<qint64>::max(), &data, &cause) ||
        !WriteWholeFile(target, data, &cause))
        return failed(cause);
    QFile::setPermissions(target,
                          QFile::ReadOwner | QFile::WriteOwner); // as private as the history
    return QString();
}

Fetched<QList<CheckRecord>> HistoryDatabase::QueuedRecords()
{
    Fetched<QList<CheckRecord>> result;
    if (!OpenLocal(&result.error))
        return result;
    QSqlQuery q(QSqlDatabase::database(localName, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT record FROM outbox ORDER BY queued_at, id"))) {
        result.error = LocalFailure(localPath, q.lastError().text());
        return result;
    }
    while (q.next()) {
        CheckRecord c;
        if (RecordFromJson(QJsonDocument::fromJson(q.value(0).toString().toUtf8()).object(), c)) {
            c.waiting = true;
            result.value << c;
        }
    }
    return result;
}

HistoryStore* HistoryDatabase::Store(QString* error)
{
    if (config.IsServer()) {
        if (!OpenServer(error))
            return nullptr;
        return serverStore.get();
    }
    TakeInWaiting(); // the list is complete
    if (!OpenLocal(error))
        return nullptr;
    return localStore.get();
}
