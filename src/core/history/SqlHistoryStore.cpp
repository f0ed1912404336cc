// SPDX-License-Identifier: MIT
#include "core/history/SqlHistoryStore.h"

#include "core/history/HistoryChain.h"
#include "core/history/HistorySchema.h"
#include "core/history/LabRecordsSql.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <tuple>

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

// The point's columns in pointColumns' order from `first` (its check_id) on.
CheckPointRecord ReadPoint(const QSqlQuery& q, int first = 0)
{
    CheckPointRecord p;
    p.position = q.value(first + 1).toInt();
    p.reading = Text(q, first + 2);
    p.setting = Text(q, first + 3);
    p.actualError = Text(q, first + 4);
    p.permissibleError = Text(q, first + 5);
    p.calibratorError = Text(q, first + 6);
    p.unit = Text(q, first + 7);
    p.marked = q.value(first + 8).toInt() != 0;
    p.measured = q.value(first + 9).toInt() != 0;
    p.exceeded = q.value(first + 10).toInt() != 0;
    return p;
}

// Newest first, the ranges of one run in their order in the document; runs of the same second
// by meter (as the meters are listed), and by id last so that the order is always the same.
const char* const newestFirst = "checked_at DESC, range_slot, meter_name, meter_number, id";

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
    return MeterMatches(meter.name, meter.number, filter);
}

bool MeterMatches(const QString& name, const QString& number, const QString& filter)
{
    const QString f = filter.trimmed();
    return f.isEmpty() || name.contains(f, Qt::CaseInsensitive) ||
           number.contains(f, Qt::CaseInsensitive);
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
    // Each check counts in its meter's summary row, which the row's lock guards on a server
    // until the commit: taken in one order by every bench, two benches sending at once never
    // wait for each other in a circle.
    QList<const CheckRecord*> inOrder;
    for (const CheckRecord& c : records)
        inOrder << &c;
    std::stable_sort(inOrder.begin(), inOrder.end(), [](const CheckRecord* a, const CheckRecord* b) {
        return std::tie(a->meterName, a->meterNumber) < std::tie(b->meterName, b->meterNumber);
    });
    for (int i = 0; error.isEmpty() && i < inOrder.size(); ++i) {
        const CheckRecord& c = *inOrder[i];
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
    // The summary the database keeps as checks are added (see HistorySchema).
    if (!q.exec(QStringLiteral("SELECT meter_name, meter_number, last_checked_at, last_utc_offset,"
                               " last_passed, checks FROM meter_summary"
                               " ORDER BY meter_name, meter_number"))) {
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

QString SqlHistoryStore::EachCheck(const TakeCheck& take)
{
    QSqlQuery q(db);
    // Forward only: the rows are not kept (on PostgreSQL they come one by one).
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM checks ORDER BY %2")
                    .arg(QLatin1String(checkColumns), QLatin1String(newestFirst))))
        return ReadFailed(q);
    while (q.next())
        if (!take(ReadCheck(q)))
            break;
    return q.lastError().isValid() ? ReadFailed(q) : QString();
}

QString SqlHistoryStore::EachCheckWithPoints(const TakeCheck& take)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // One query: each check's row, then a row for each of its points holding the point and only
    // the check's columns the order needs (a check's every column repeated on every point's row
    // would cost more to read than the rest). Both halves come in the order of the index
    // checks_newest_first, each check's points by the points' key, so that the database merges
    // them instead of sorting the whole history. A point's row has its check_id column set.
    const QStringList checks = QString::fromLatin1(checkColumns).split(QLatin1Char(','));
    const QStringList points = QString::fromLatin1(pointColumns).split(QLatin1Char(','));
    const QStringList keys = QString::fromLatin1(newestFirst).split(QLatin1Char(','));
    QStringList checkRow, pointRow;
    for (const QString& column : checks) {
        const QString name = column.trimmed();
        checkRow << QStringLiteral("c.%1 AS %1").arg(name);
        const bool key = std::any_of(keys.begin(), keys.end(), [&](const QString& k) {
            return k.trimmed().section(QLatin1Char(' '), 0, 0) == name;
        });
        pointRow << (key ? QStringLiteral("c.") + name : QStringLiteral("NULL"));
    }
    for (const QString& column : points) {
        const QString name = column.trimmed();
        // Named after the first half of the union, where the check's row has no point.
        checkRow << (name == QLatin1String("check_id")   ? QStringLiteral("NULL AS check_id")
                     : name == QLatin1String("position") ? QStringLiteral("-1 AS position")
                                                         : QStringLiteral("NULL AS ") + name);
        pointRow << (name == QLatin1String("check_id") ? QStringLiteral("0")
                                                       : QStringLiteral("p.") + name);
    }
    const QString sql = QStringLiteral("SELECT %1 FROM checks c"
                                       " UNION ALL SELECT %2 FROM checks c"
                                       " JOIN points p ON p.check_id = c.id"
                                       " ORDER BY %3, position")
                            .arg(checkRow.join(QStringLiteral(", ")),
                                 pointRow.join(QStringLiteral(", ")),
                                 QLatin1String(newestFirst));
    if (!q.exec(sql))
        return ReadFailed(q);
    CheckRecord check;
    while (q.next()) {
        if (!q.isNull(checkColumnCount)) {
            check.points << ReadPoint(q, checkColumnCount);
            continue;
        }
        if (!check.id.isEmpty() && !take(check)) {
            check.id.clear();
            break;
        }
        check = ReadCheck(q);
    }
    if (q.lastError().isValid())
        return ReadFailed(q);
    if (!check.id.isEmpty())
        take(check);
    return QString();
}
