// SPDX-License-Identifier: MIT
#include "core/history/SqlHistoryStore.h"

#include "core/history/HistoryChain.h"
#include "core/history/HistorySchema.h"
#include "core/history/LabRecordsSql.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char* const checkColumns =
    "id, checked_at, utc_offset, computer, user_name, meter_name, meter_number, method,"
    " document_path, range_slot, range_value, range_unit, quantity, sensor_name, cold_junction,"
    " to_value, rl_value, class_reading, class_range, const_term, const_unit, cal_function,"
    " class_text, sensor_text, passed, decision_rule, tur_threshold, calibrator_serial,"
    " calibrator_certificate, calibrator_calibrated_on, calibrator_due_on, calibrator_overdue";
constexpr int checkColumnCount = 32;

const char* const pointColumns =
    "check_id, position, reading, setting, actual_error, permissible_error, calibrator_error,"
    " unit, marked, measured, exceeded";

QString Failed(const QString& what, const QSqlQuery& query)
{
    return QStringLiteral("%1: %2").arg(what, HistorySchema::Reason(query.lastError()));
}

QString ReadFailed(const QSqlQuery& query)
{
    return Failed(QStringLiteral("Nie można odczytać historii sprawdzeń"), query);
}

// Stored as UTC text that sorts by time, and the bench's offset beside it.
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

QString Text(const QSqlQuery& q, int column)
{
    // NOT NULL columns; a NULL from a hand-edited database reads as an empty text.
    return q.value(column).toString();
}

CheckRecord ReadCheck(const QSqlQuery& q)
{
    CheckRecord c;
    c.id = Text(q, 0);
    c.checkedAt = BenchTime(q.value(1), q.value(2));
    c.computer = Text(q, 3);
    c.user = Text(q, 4);
    c.meterName = Text(q, 5);
    c.meterNumber = Text(q, 6);
    c.method = q.value(7).toInt();
    c.documentPath = Text(q, 8);
    c.rangeSlot = q.value(9).toInt();
    c.rangeValue = Text(q, 10);
    c.rangeUnit = Text(q, 11);
    c.quantity = q.value(12).toInt();
    c.sensorName = Text(q, 13);
    c.coldJunction = q.value(14).toInt();
    c.toValue = Text(q, 15);
    c.rlValue = Text(q, 16);
    c.classReading = Text(q, 17);
    c.classRange = Text(q, 18);
    c.constTerm = Text(q, 19);
    c.constUnit = Text(q, 20);
    c.calFunction = q.value(21).toInt();
    c.classText = Text(q, 22);
    c.sensorText = Text(q, 23);
    c.passed = q.value(24).toInt() != 0;
    c.decisionRule = DecisionRuleFromNumber(q.value(25).toInt());
    bool thresholdRead = false;
    const double threshold = q.value(26).toString().toDouble(&thresholdRead);
    c.turThreshold = thresholdRead && threshold > 0.0 ? threshold : 4.0;
    c.calibrator.serialNumber = Text(q, 27);
    c.calibrator.certificateNumber = Text(q, 28);
    c.calibrator.calibratedOn = QDate::fromString(Text(q, 29), Qt::ISODate);
    c.calibrator.dueOn = QDate::fromString(Text(q, 30), Qt::ISODate);
    c.calibratorOverdue = q.value(31).toInt() != 0;
    return c;
}

CheckPointRecord ReadPoint(const QSqlQuery& q)
{
    CheckPointRecord p;
    p.position = q.value(1).toInt();
    p.reading = Text(q, 2);
    p.setting = Text(q, 3);
    p.actualError = Text(q, 4);
    p.permissibleError = Text(q, 5);
    p.calibratorError = Text(q, 6);
    p.unit = Text(q, 7);
    p.marked = q.value(8).toInt() != 0;
    p.measured = q.value(9).toInt() != 0;
    p.exceeded = q.value(10).toInt() != 0;
    return p;
}

void BindCheck(QSqlQuery& q, const CheckRecord& c)
{
    const QVariantList values = {
        c.id,          StoredTime(c.checkedAt), c.checkedAt.offsetFromUtc(),
        c.computer,    c.user,                  c.meterName,
        c.meterNumber, c.method,                c.documentPath,
        c.rangeSlot,   c.rangeValue,            c.rangeUnit,
        c.quantity,    c.sensorName,            c.coldJunction,
        c.toValue,     c.rlValue,               c.classReading,
        c.classRange,  c.constTerm,             c.constUnit,
        c.calFunction, c.classText,             c.sensorText,
        c.passed ? 1 : 0,
        int(c.decisionRule),
        // The shortest text that reads back as the same number ("4", "3.5").
        QString::number(c.turThreshold, 'g', QLocale::FloatingPointShortest),
        c.calibrator.serialNumber,
        c.calibrator.certificateNumber,
        c.calibrator.calibratedOn.toString(Qt::ISODate),
        c.calibrator.dueOn.toString(Qt::ISODate),
        c.calibratorOverdue ? 1 : 0,
    };
    for (int i = 0; i < values.size(); ++i) {
        // Texts go in as empty rather than NULL, whatever the driver makes of a null QString.
        const QVariant& v = values[i];
        q.bindValue(i, v.typeId() == QMetaType::QString && v.toString().isNull()
                           ? QVariant(QStringLiteral(""))
                           : v);
    }
}

void BindPoint(QSqlQuery& q, const QString& checkId, const CheckPointRecord& p)
{
    const QVariantList values = {checkId,
                                 p.position,
                                 p.reading,
                                 p.setting,
                                 p.actualError,
                                 p.permissibleError,
                                 p.calibratorError,
                                 p.unit,
                                 p.marked ? 1 : 0,
                                 p.measured ? 1 : 0,
                                 p.exceeded ? 1 : 0};
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        q.bindValue(i, v.typeId() == QMetaType::QString && v.toString().isNull()
                           ? QVariant(QStringLiteral(""))
                           : v);
    }
}

QString Placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

} // namespace

bool MeterMatches(const MeterSummary& meter, const QString& filter)
{
    const QString f = filter.trimmed();
    return f.isEmpty() || meter.name.contains(f, Qt::CaseInsensitive) ||
           meter.number.contains(f, Qt::CaseInsensitive);
}

QString SqlHistoryStore::Save(const QList<CheckRecord>& records)
{
    if (records.isEmpty())
        return QString();
    const QString what = QStringLiteral("Nie można zapisać sprawdzenia w bazie danych");
    QString begun;
    // The writers take turns: each record's link follows the one committed before it.
    if (!HistoryChain::BeginWriting(db, &begun))
        return QStringLiteral("%1: %2").arg(what, begun);

    QSqlQuery check(db);
    QSqlQuery point(db);
    const bool prepared =
        check.prepare(QStringLiteral("INSERT INTO checks (%1) VALUES (%2) ON CONFLICT (id) DO "
                                     "NOTHING")
                          .arg(QLatin1String(checkColumns), Placeholders(checkColumnCount))) &&
        point.prepare(QStringLiteral("INSERT INTO points (%1) VALUES (%2)")
                          .arg(QLatin1String(pointColumns), Placeholders(11)));
    QString error;
    if (!prepared)
        error = Failed(what, check.lastError().isValid() ? check : point);
    for (int i = 0; error.isEmpty() && i < records.size(); ++i) {
        const CheckRecord& c = records[i];
        BindCheck(check, c);
        if (!check.exec()) {
            error = Failed(what, check);
            break;
        }
        // A record that is there already (sent twice from a queue) keeps its points.
        if (check.numRowsAffected() != 1)
            continue;
        for (const CheckPointRecord& p : c.points) {
            BindPoint(point, c.id, p);
            if (!point.exec()) {
                error = Failed(what, point);
                break;
            }
        }
        if (error.isEmpty())
            error = HistoryChain::Append(db, HistoryChain::Kind::Check, c.id);
    }
    check.finish();
    point.finish();
    if (error.isEmpty() && !db.commit())
        error = QStringLiteral("%1: %2").arg(what, HistorySchema::Reason(db.lastError()));
    if (!error.isEmpty())
        db.rollback();
    return error;
}

Fetched<QList<MeterSummary>> SqlHistoryStore::Meters()
{
    Fetched<QList<MeterSummary>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // A meter's last verdict is that of its last run: negative when any range of it failed.
    const QString sql = QStringLiteral(
        "SELECT meter_name, meter_number, checked_at, MIN(utc_offset), MIN(passed), MAX(n)"
        " FROM (SELECT meter_name, meter_number, checked_at, utc_offset, passed,"
        "  MAX(checked_at) OVER w AS last_at, COUNT(*) OVER w AS n"
        "  FROM checks WINDOW w AS (PARTITION BY meter_name, meter_number)) AS t"
        " WHERE checked_at = last_at"
        " GROUP BY meter_name, meter_number, checked_at ORDER BY meter_name, meter_number");
    if (!q.exec(sql)) {
        result.error = ReadFailed(q);
        return result;
    }
    while (q.next()) {
        MeterSummary m;
        m.name = Text(q, 0);
        m.number = Text(q, 1);
        m.lastCheckedAt = BenchTime(q.value(2), q.value(3));
        m.lastPassed = q.value(4).toInt() != 0;
        m.checks = q.value(5).toInt();
        result.value << m;
    }
    return result;
}

Fetched<QList<CheckSummary>> SqlHistoryStore::Checks(const QString& name, const QString& number)
{
    Fetched<QList<CheckSummary>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, checked_at, utc_offset, range_value, range_unit, "
                             "quantity, sensor_name, passed FROM checks"
                             " WHERE meter_name = ? AND meter_number = ?"
                             " ORDER BY checked_at DESC, range_slot"));
    q.addBindValue(name);
    q.addBindValue(number);
    if (!q.exec()) {
        result.error = ReadFailed(q);
        return result;
    }
    while (q.next()) {
        CheckSummary c;
        c.id = Text(q, 0);
        c.checkedAt = BenchTime(q.value(1), q.value(2));
        c.rangeValue = Text(q, 3);
        c.rangeUnit = Text(q, 4);
        c.quantity = q.value(5).toInt();
        c.sensorName = Text(q, 6);
        c.passed = q.value(7).toInt() != 0;
        result.value << c;
    }
    return result;
}

Fetched<QList<CheckRecord>> SqlHistoryStore::ChecksWithPoints(const QString& name,
                                                              const QString& number)
{
    Fetched<QList<CheckRecord>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM checks WHERE meter_name = ? AND meter_number = ?"
                             " ORDER BY checked_at, range_slot")
                  .arg(QLatin1String(checkColumns)));
    q.addBindValue(name);
    q.addBindValue(number);
    if (!q.exec()) {
        result.error = ReadFailed(q);
        return result;
    }
    QHash<QString, int> rowOfId;
    while (q.next()) {
        rowOfId.insert(Text(q, 0), int(result.value.size()));
        result.value << ReadCheck(q);
    }
    QSqlQuery p(db);
    p.setForwardOnly(true);
    p.prepare(QStringLiteral("SELECT p.check_id, p.position, p.reading, p.setting, "
                             "p.actual_error, p.permissible_error, p.calibrator_error, p.unit, "
                             "p.marked, p.measured, p.exceeded"
                             " FROM points p JOIN checks c ON c.id = p.check_id"
                             " WHERE c.meter_name = ? AND c.meter_number = ?"
                             " ORDER BY p.check_id, p.position"));
    p.addBindValue(name);
    p.addBindValue(number);
    if (!p.exec()) {
        result.error = ReadFailed(p);
        return result;
    }
    while (p.next()) {
        const auto row = rowOfId.constFind(Text(p, 0));
        if (row != rowOfId.cend())
            result.value[*row].points << ReadPoint(p);
    }
    p.finish();
    result.error = LabRecordsSql::AttachChainAndNotes(
        db, result.value, QStringLiteral("c.meter_name = ? AND c.meter_number = ?"),
        {name, number});
    return result;
}

Fetched<CheckRecord> SqlHistoryStore::Check(const QString& id)
{
    Fetched<CheckRecord> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM checks WHERE id = ?").arg(QLatin1String(checkColumns)));
    q.addBindValue(id);
    if (!q.exec()) {
        result.error = ReadFailed(q);
        return result;
    }
    if (!q.next())
        return result;
    result.value = ReadCheck(q);
    QSqlQuery p(db);
    p.setForwardOnly(true);
    p.prepare(QStringLiteral("SELECT %1 FROM points WHERE check_id = ? ORDER BY position")
                  .arg(QLatin1String(pointColumns)));
    p.addBindValue(id);
    if (!p.exec()) {
        result.error = ReadFailed(p);
        return result;
    }
    while (p.next())
        result.value.points << ReadPoint(p);
    p.finish();
    QList<CheckRecord> one{result.value};
    result.error = LabRecordsSql::AttachChainAndNotes(db, one, QStringLiteral("c.id = ?"), {id});
    result.value = one.first();
    return result;
}

Fetched<QStringList> SqlHistoryStore::IdsStartingWith(const QString& prefix, int limit)
{
    Fetched<QStringList> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Compared as text, not with LIKE, whose wildcards an id's prefix must not bring in.
    q.prepare(
        QStringLiteral("SELECT id FROM checks WHERE substr(id, 1, %1) = ? ORDER BY id LIMIT %2")
            .arg(prefix.size())
            .arg(limit));
    q.addBindValue(prefix);
    if (!q.exec()) {
        result.error = ReadFailed(q);
        return result;
    }
    while (q.next())
        result.value << Text(q, 0);
    return result;
}

QString SqlHistoryStore::AddNote(const CheckNote& note)
{
    return LabRecordsSql::AddNote(db, note);
}

QString SqlHistoryStore::AddInterval(const MeterInterval& interval)
{
    return LabRecordsSql::AddInterval(db, interval);
}

Fetched<QList<MeterInterval>> SqlHistoryStore::Intervals()
{
    return LabRecordsSql::Intervals(db);
}

HistoryChain::Report SqlHistoryStore::VerifyChain()
{
    return HistoryChain::Verify(db);
}
