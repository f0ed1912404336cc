// SPDX-License-Identifier: MIT
#include "core/history/LabRecordsSql.h"

#include "core/history/HistoryChain.h"
#include "core/history/HistorySchema.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace LabRecordsSql {

namespace {

QString StoredTime(const QDateTime& t)
{
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QDateTime BenchTime(const QVariant& utcText, const QVariant& offset)
{
    QDateTime utc = QDateTime::fromString(utcText.toString(), Qt::ISODate);
    utc.setTimeSpec(Qt::UTC);
    return utc.toOffsetFromUtc(offset.toInt());
}

// Texts go in as empty rather than NULL.
QVariant Text(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString Failed(const QString& what, const QSqlError& error)
{
    return QStringLiteral("%1: %2").arg(what, HistorySchema::Reason(error));
}

void Bind(QSqlQuery& q, const QVariantList& values)
{
    for (const QVariant& v : values)
        q.addBindValue(v);
}

} // namespace

QString AddNote(QSqlDatabase& db, const CheckNote& note)
{
    const QString what = QStringLiteral("Nie można zapisać uwagi do sprawdzenia");
    QString error;
    if (!HistoryChain::BeginWriting(db, &error))
        return QStringLiteral("%1: %2").arg(what, error);
    {
        QSqlQuery check(db);
        check.prepare(QStringLiteral("SELECT 1 FROM checks WHERE id = ?"));
        check.addBindValue(note.checkId);
        if (!check.exec())
            error = Failed(what, check.lastError());
        else if (!check.next())
            error = QStringLiteral("%1: nie ma go w bazie danych (sprawdzenie czekające na "
                                   "wysłanie do serwera można opisać po jego wysłaniu).")
                        .arg(what);
    }
    if (error.isEmpty()) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO notes (id, check_id, noted_at, utc_offset, "
                                      "computer, user_name, mark, note) VALUES (?,?,?,?,?,?,?,?)"));
        Bind(insert, {note.id, note.checkId, StoredTime(note.notedAt), note.notedAt.offsetFromUtc(),
                      Text(note.computer), Text(note.user), int(note.mark), Text(note.text)});
        if (!insert.exec())
            error = Failed(what, insert.lastError());
    }
    if (error.isEmpty())
        error = HistoryChain::Append(db, HistoryChain::Kind::Note, note.id);
    if (error.isEmpty() && !db.commit())
        error = Failed(what, db.lastError());
    if (!error.isEmpty())
        db.rollback();
    return error;
}

QString AddInterval(QSqlDatabase& db, const MeterInterval& interval)
{
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO due_intervals (id, meter_name, meter_number, "
                                  "months, set_at, computer, user_name) VALUES (?,?,?,?,?,?,?)"));
    // Milliseconds: two settings in one second keep their order.
    Bind(insert, {QUuid::createUuid().toString(QUuid::WithoutBraces), Text(interval.meterName),
                  Text(interval.meterNumber), interval.months,
                  interval.setAt.toUTC().toString(Qt::ISODateWithMs), Text(interval.computer),
                  Text(interval.user)});
    if (!insert.exec())
        return Failed(QStringLiteral("Nie można zapisać okresu sprawdzeń miernika"),
                      insert.lastError());
    return QString();
}

Fetched<QList<MeterInterval>> Intervals(QSqlDatabase& db)
{
    Fetched<QList<MeterInterval>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT meter_name, meter_number, months, set_at, computer, "
                               "user_name FROM due_intervals ORDER BY set_at, id"))) {
        result.error = Failed(QStringLiteral("Nie można odczytać okresów sprawdzeń"), q.lastError());
        return result;
    }
    while (q.next()) {
        MeterInterval i;
        i.meterName = q.value(0).toString();
        i.meterNumber = q.value(1).toString();
        i.months = q.value(2).toInt();
        i.setAt = QDateTime::fromString(q.value(3).toString(), Qt::ISODateWithMs);
        i.computer = q.value(4).toString();
        i.user = q.value(5).toString();
        result.value << i;
    }
    return result;
}

QString AttachChainAndNotes(QSqlDatabase& db, QList<CheckRecord>& records,
                            const QString& checkCondition, const QVariantList& values)
{
    if (records.isEmpty())
        return QString();
    QHash<QString, int> rowOfId;
    for (int i = 0; i < records.size(); ++i)
        rowOfId.insert(records[i].id, i);
    const QString what = QStringLiteral("Nie można odczytać historii sprawdzeń");

    QSqlQuery links(db);
    links.setForwardOnly(true);
    links.prepare(QStringLiteral("SELECT ch.item_id, ch.hash FROM chain ch"
                                 " JOIN checks c ON c.id = ch.item_id WHERE %1")
                      .arg(checkCondition));
    Bind(links, values);
    if (!links.exec())
        return Failed(what, links.lastError());
    while (links.next()) {
        const auto row = rowOfId.constFind(links.value(0).toString());
        if (row != rowOfId.cend())
            records[*row].chainHash = links.value(1).toString();
    }

    QSqlQuery notes(db);
    notes.setForwardOnly(true);
    notes.prepare(QStringLiteral("SELECT n.id, n.check_id, n.noted_at, n.utc_offset, n.computer,"
                                 " n.user_name, n.mark, n.note FROM notes n"
                                 " JOIN checks c ON c.id = n.check_id"
                                 " LEFT JOIN chain ch ON ch.item_id = n.id WHERE %1"
                                 " ORDER BY n.noted_at, ch.seq, n.id")
                      .arg(checkCondition));
    Bind(notes, values);
    if (!notes.exec())
        return Failed(what, notes.lastError());
    while (notes.next()) {
        const auto row = rowOfId.constFind(notes.value(1).toString());
        if (row == rowOfId.cend())
            continue;
        CheckNote n;
        n.id = notes.value(0).toString();
        n.checkId = notes.value(1).toString();
        n.notedAt = BenchTime(notes.value(2), notes.value(3));
        n.computer = notes.value(4).toString();
        n.user = notes.value(5).toString();
        n.mark = CheckMarkFromNumber(notes.value(6).toInt());
        n.text = notes.value(7).toString();
        records[*row].notes << n;
    }
    return QString();
}

} // namespace LabRecordsSql
