// SPDX-License-Identifier: MIT
#include "core/history/HistoryChain.h"

#include "core/history/HistorySchema.h"
#include "core/metercheck/report/ReportClock.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace HistoryChain {

namespace {

// The columns the content covers, named once: a column added by a later version of the tables
// must not change the content of the links made before it.
const char* const checkColumns =
    "id, checked_at, utc_offset, computer, user_name, meter_name, meter_number, method,"
    " document_path, range_slot, range_value, range_unit, quantity, sensor_name, cold_junction,"
    " to_value, rl_value, class_reading, class_range, const_term, const_unit, cal_function,"
    " class_text, sensor_text, passed, decision_rule, tur_threshold, calibrator_serial,"
    " calibrator_certificate, calibrator_calibrated_on, calibrator_due_on, calibrator_overdue";
const char* const pointColumns =
    "check_id, position, reading, setting, actual_error, permissible_error, calibrator_error,"
    " unit, marked, measured, exceeded";
const char* const noteColumns =
    "id, check_id, noted_at, utc_offset, computer, user_name, mark, note";

// Postgres takes this lock for the chain's writers; the schema's upgrade has a key of its own.
constexpr int chainLockKey = 718026;

bool IsPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

QString KindName(Kind kind)
{
    return kind == Kind::Check ? QStringLiteral("check") : QStringLiteral("note");
}

// A row as an object of texts: the value as the database gives it, a NULL as JSON null.
QJsonObject RowObject(const QSqlQuery& q)
{
    QJsonObject row;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i) {
        const QVariant value = q.value(i);
        row.insert(record.fieldName(i),
                   value.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(value.toString()));
    }
    return row;
}

// QJsonObject keeps its keys sorted, so the compact text is canonical.
QByteArray Canonical(const QJsonObject& content)
{
    return QJsonDocument(content).toJson(QJsonDocument::Compact);
}

QString ReadError(const QSqlQuery& q)
{
    return QStringLiteral("Nie można odczytać łańcucha historii: %1")
        .arg(HistorySchema::Reason(q.lastError()));
}

// The item's meter and time, for naming it in a fault.
void Describe(QSqlDatabase& db, Fault& fault)
{
    QSqlQuery q(db);
    if (fault.kind == Kind::Check)
        q.prepare(QStringLiteral("SELECT meter_name, meter_number, checked_at, utc_offset FROM "
                                 "checks WHERE id = ?"));
    else
        q.prepare(QStringLiteral("SELECT c.meter_name, c.meter_number, n.noted_at, n.utc_offset"
                                 " FROM notes n LEFT JOIN checks c ON c.id = n.check_id"
                                 " WHERE n.id = ?"));
    q.addBindValue(fault.id);
    if (!q.exec() || !q.next())
        return;
    fault.meterName = q.value(0).toString();
    fault.meterNumber = q.value(1).toString();
    QDateTime utc = QDateTime::fromString(q.value(2).toString(), Qt::ISODate);
    utc.setTimeSpec(Qt::UTC);
    fault.at = utc.toOffsetFromUtc(q.value(3).toInt());
}

} // namespace

bool BeginWriting(QSqlDatabase& db, QString* error)
{
    if (IsPostgres(db)) {
        if (!db.transaction()) {
            *error = HistorySchema::Reason(db.lastError());
            return false;
        }
        QSqlQuery lock(db);
        if (!lock.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(chainLockKey))) {
            *error = HistorySchema::Reason(lock.lastError());
            lock.finish();
            db.rollback();
            return false;
        }
        return true;
    }
    // Deferred, two writers could both read the same last link.
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = HistorySchema::Reason(begin.lastError());
        return false;
    }
    return true;
}

std::optional<QByteArray> ContentOfCheck(QSqlDatabase& db, const QString& id, QString* error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM checks WHERE id = ?").arg(QLatin1String(checkColumns)));
    q.addBindValue(id);
    if (!q.exec()) {
        *error = ReadError(q);
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    QJsonObject content{{"kind", KindName(Kind::Check)}, {"check", RowObject(q)}};
    q.finish();
    QSqlQuery p(db);
    p.setForwardOnly(true);
    p.prepare(QStringLiteral("SELECT %1 FROM points WHERE check_id = ? ORDER BY position")
                  .arg(QLatin1String(pointColumns)));
    p.addBindValue(id);
    if (!p.exec()) {
        *error = ReadError(p);
        return std::nullopt;
    }
    QJsonArray points;
    while (p.next())
        points.append(RowObject(p));
    content.insert("points", points);
    return Canonical(content);
}

std::optional<QByteArray> ContentOfNote(QSqlDatabase& db, const QString& id, QString* error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM notes WHERE id = ?").arg(QLatin1String(noteColumns)));
    q.addBindValue(id);
    if (!q.exec()) {
        *error = ReadError(q);
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return Canonical(QJsonObject{{"kind", KindName(Kind::Note)}, {"note", RowObject(q)}});
}

QString LinkHash(const QString& previousHash, const QByteArray& content)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(previousHash.toLatin1());
    hash.addData(QByteArrayView("\n"));
    hash.addData(content);
    return QString::fromLatin1(hash.result().toHex());
}

QString StartHash()
{
    return QString(64, QLatin1Char('0'));
}

QString ShortHash(const QString& hash)
{
    return hash.left(12);
}

QString Append(QSqlDatabase& db, Kind kind, const QString& id)
{
    QString error;
    const std::optional<QByteArray> content =
        kind == Kind::Check ? ContentOfCheck(db, id, &error) : ContentOfNote(db, id, &error);
    if (!content)
        return error.isEmpty() ? QStringLiteral("Nie ma zapisu %1 do dołączenia do łańcucha.").arg(id)
                               : error;
    QSqlQuery last(db);
    last.setForwardOnly(true);
    if (!last.exec(QStringLiteral("SELECT seq, hash FROM chain ORDER BY seq DESC LIMIT 1")))
        return ReadError(last);
    int seq = 1;
    QString previous = StartHash();
    if (last.next()) {
        seq = last.value(0).toInt() + 1;
        previous = last.value(1).toString();
    }
    last.finish();
    QSqlQuery link(db);
    link.prepare(QStringLiteral("INSERT INTO chain (seq, kind, item_id, previous_hash, hash)"
                                " VALUES (?, ?, ?, ?, ?)"));
    link.addBindValue(seq);
    link.addBindValue(KindName(kind));
    link.addBindValue(id);
    link.addBindValue(previous);
    link.addBindValue(LinkHash(previous, *content));
    if (!link.exec())
        return QStringLiteral("Nie można dopisać zapisu do łańcucha historii: %1")
            .arg(HistorySchema::Reason(link.lastError()));
    return QString();
}

QString SealExisting(QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id FROM checks WHERE id NOT IN (SELECT item_id FROM chain)"
                               " ORDER BY checked_at, range_slot, id")))
        return ReadError(q);
    QStringList ids;
    while (q.next())
        ids << q.value(0).toString();
    q.finish();
    for (const QString& id : ids) {
        const QString error = Append(db, Kind::Check, id);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

Report Verify(QSqlDatabase& db)
{
    Report report;
    report.lastHash = StartHash();
    QSqlQuery links(db);
    links.setForwardOnly(true);
    if (!links.exec(QStringLiteral(
            "SELECT seq, kind, item_id, previous_hash, hash FROM chain ORDER BY seq"))) {
        report.error = ReadError(links);
        return report;
    }
    // Read whole first: a PostgreSQL connection streams one query's rows at a time.
    struct Link
    {
        int seq;
        Kind kind;
        QString id;
        QString previous;
        QString hash;
    };
    QList<Link> chain;
    while (links.next())
        chain << Link{links.value(0).toInt(),
                      links.value(1).toString() == KindName(Kind::Note) ? Kind::Note : Kind::Check,
                      links.value(2).toString(), links.value(3).toString(),
                      links.value(4).toString()};
    links.finish();

    int expectedSeq = 1;
    for (const Link& link : chain) {
        Fault fault;
        fault.seq = link.seq;
        fault.kind = link.kind;
        fault.id = link.id;
        const QString& previous = link.previous;
        const QString& hash = link.hash;
        if (fault.seq != expectedSeq || previous != report.lastHash) {
            fault.what = Fault::What::Link;
        } else {
            QString error;
            const std::optional<QByteArray> content = fault.kind == Kind::Check
                                                          ? ContentOfCheck(db, fault.id, &error)
                                                          : ContentOfNote(db, fault.id, &error);
            if (!error.isEmpty()) {
                report.error = error;
                return report;
            }
            if (content && LinkHash(previous, *content) == hash) {
                ++report.links;
                report.lastHash = hash;
                ++expectedSeq;
                continue;
            }
            fault.what = Fault::What::Content;
        }
        Describe(db, fault);
        report.fault = fault;
        return report;
    }

    // Whatever was stored without a link, oldest first.
    struct Unlinked
    {
        Kind kind;
        const char* sql;
    };
    const Unlinked unlinked[] = {
        {Kind::Check, "SELECT id FROM checks c WHERE NOT EXISTS"
                      " (SELECT 1 FROM chain WHERE item_id = c.id) ORDER BY checked_at, id"},
        {Kind::Note, "SELECT id FROM notes n WHERE NOT EXISTS"
                     " (SELECT 1 FROM chain WHERE item_id = n.id) ORDER BY noted_at, id"},
    };
    for (const Unlinked& u : unlinked) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QLatin1String(u.sql))) {
            report.error = ReadError(q);
            return report;
        }
        if (q.next()) {
            Fault fault;
            fault.what = Fault::What::Unchained;
            fault.kind = u.kind;
            fault.id = q.value(0).toString();
            q.finish();
            Describe(db, fault);
            report.fault = fault;
            return report;
        }
    }
    return report;
}

QString FaultText(const Fault& fault)
{
    QString item = fault.kind == Kind::Check ? QStringLiteral("sprawdzenie %1").arg(fault.id)
                                             : QStringLiteral("uwaga %1").arg(fault.id);
    if (!fault.meterName.isEmpty() || !fault.meterNumber.isEmpty())
        item += QStringLiteral(", miernik %1 nr %2").arg(fault.meterName, fault.meterNumber);
    if (fault.at.isValid())
        item += QStringLiteral(", %1 %2").arg(ReportDateText(fault.at.date()),
                                              ReportTimeText(fault.at.time()));
    switch (fault.what) {
    case Fault::What::Content:
        return QStringLiteral("Zapis nr %1 łańcucha historii (%2): jego treść nie zgadza się ze "
                              "skrótem w łańcuchu – zapis zmieniono albo usunięto po dodaniu")
            .arg(fault.seq)
            .arg(item);
    case Fault::What::Link:
        return QStringLiteral("Zapis nr %1 łańcucha historii (%2): jego powiązanie z poprzednim "
                              "zapisem nie zgadza się – zapis przed nim usunięto, dodano albo "
                              "zmieniono jego skrót")
            .arg(fault.seq)
            .arg(item);
    case Fault::What::Unchained:
        break;
    }
    return QStringLiteral("Zapis spoza łańcucha historii (%1): dodano go z pominięciem programu")
        .arg(item);
}

} // namespace HistoryChain
