// SPDX-License-Identifier: MIT
#include "core/history/CheckRecord.h"

#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/report/ReportTexts.h"
#include "core/metercheck/run/PointErrors.h"

#include <QJsonArray>
#include <QSysInfo>
#include <QUuid>

QString CheckRecord::RangeText() const
{
    return rangeValue + QLatin1Char(' ') + rangeUnit;
}

QString CheckRecord::VerdictText() const
{
    return ::VerdictText(passed);
}

QString VerdictText(bool passed)
{
    return passed ? QStringLiteral("pozytywny") : QStringLiteral("negatywny");
}

RunContext RunContext::Current(const QString& documentPath)
{
    RunContext context;
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    // Kept with the bench's offset, so that a reprint shows the time the technician saw.
    context.endedAt = now.toOffsetFromUtc(now.offsetFromUtc());
    context.computer = QSysInfo::machineHostName();
    context.user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    context.documentPath = documentPath;
    context.policy = LabPolicy::FromSettings();
    return context;
}

QList<CheckRecord> BuildCheckRecords(const MeterCheckDoc& doc, const QList<int>& ranges,
                                     const RunContext& context)
{
    QList<CheckRecord> records;
    for (int slot : ranges) {
        if (slot < 0 || slot >= maxRanges)
            continue;
        const MeterRange& r = doc.ranges[slot];
        CheckRecord c;
        c.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        c.checkedAt = context.endedAt;
        c.computer = context.computer;
        c.user = context.user;
        c.meterName = doc.meterName;
        c.meterNumber = doc.meterNumber;
        c.method = int(doc.method);
        c.documentPath = context.documentPath;
        c.rangeSlot = slot;
        c.rangeValue = r.rangeValue;
        c.rangeUnit = r.rangeUnit;
        c.quantity = int(r.function); // the history keeps the numbers of the file
        c.sensorName = r.sensorName;
        c.coldJunction = int(r.coldJunction);
        c.toValue = r.toValue;
        c.rlValue = r.rlValue;
        c.classReading = r.classReading;
        c.classRange = r.classRange;
        c.constTerm = r.constTerm;
        c.constUnit = r.constUnit;
        c.calFunction = r.calFunction;
        c.classText = ClassText(r);
        c.sensorText = SensorText(r);
        c.decisionRule = context.policy.rule;
        c.turThreshold = context.policy.turThreshold;
        c.calibrator = context.policy.calibrator;
        c.calibratorOverdue = context.calibratorOverdue;

        // The points as the grid shows them: every defined slot, in order.
        bool anyMeasured = false;
        for (int j = 0; j < maxPoints; ++j) {
            const MeterPoint& p = r.points[j];
            if (p.pointDefined != 1)
                continue;
            CheckPointRecord point;
            point.position = j;
            point.reading = p.reading;
            point.setting = p.setting;
            point.actualError = p.actualError;
            point.permissibleError = p.permissibleError;
            point.calibratorError = p.calibratorError;
            point.unit = p.unit;
            point.marked = p.marked == 1;
            point.measured = p.pointMeasured == 1;
            point.exceeded = point.measured && ErrorExceedsPermissible(p);
            anyMeasured = anyMeasured || point.measured;
            c.passed = c.passed && !point.exceeded;
            c.points << point;
        }
        if (anyMeasured)
            records << c;
    }
    return records;
}

std::unique_ptr<MeterCheckDoc> DocumentOfRecord(const CheckRecord& c)
{
    auto doc = std::make_unique<MeterCheckDoc>();
    doc->formatVersion = 1.0;
    doc->meterName = c.meterName;
    doc->meterNumber = c.meterNumber;
    doc->method = CheckMethod(c.method);
    MeterRange& r = doc->ranges[0];
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.rangeValue = c.rangeValue;
    r.rangeUnit = c.rangeUnit;
    r.function = RangeFunction(c.quantity);
    r.calFunction = qint16(c.calFunction);
    r.sensorName = c.sensorName;
    r.coldJunction = ColdJunction(c.coldJunction);
    r.toValue = c.toValue;
    r.rlValue = c.rlValue;
    r.classReading = c.classReading;
    r.classRange = c.classRange;
    r.constTerm = c.constTerm;
    r.constUnit = c.constUnit;
    for (const CheckPointRecord& s : c.points) {
        if (s.position < 0 || s.position >= maxPoints)
            continue;
        MeterPoint& p = r.points[s.position];
        p.pointDefined = 1;
        p.reading = s.reading;
        p.setting = s.setting;
        p.actualError = s.actualError;
        p.permissibleError = s.permissibleError;
        p.calibratorError = s.calibratorError;
        p.unit = s.unit;
        p.marked = s.marked ? 1 : 0;
        p.pointMeasured = s.measured ? 1 : 0;
    }
    return doc;
}

QJsonObject RecordToJson(const CheckRecord& c)
{
    QJsonArray points;
    for (const CheckPointRecord& p : c.points) {
        points.append(QJsonObject{
            {"position", p.position},
            {"reading", p.reading},
            {"setting", p.setting},
            {"actualError", p.actualError},
            {"permissibleError", p.permissibleError},
            {"calibratorError", p.calibratorError},
            {"unit", p.unit},
            {"marked", p.marked},
            {"measured", p.measured},
            {"exceeded", p.exceeded},
        });
    }
    return QJsonObject{
        {"id", c.id},
        {"checkedAt", c.checkedAt.toString(Qt::ISODate)},
        {"computer", c.computer},
        {"user", c.user},
        {"meterName", c.meterName},
        {"meterNumber", c.meterNumber},
        {"method", c.method},
        {"documentPath", c.documentPath},
        {"rangeSlot", c.rangeSlot},
        {"rangeValue", c.rangeValue},
        {"rangeUnit", c.rangeUnit},
        {"quantity", c.quantity},
        {"sensorName", c.sensorName},
        {"coldJunction", c.coldJunction},
        {"toValue", c.toValue},
        {"rlValue", c.rlValue},
        {"classReading", c.classReading},
        {"classRange", c.classRange},
        {"constTerm", c.constTerm},
        {"constUnit", c.constUnit},
        {"calFunction", c.calFunction},
        {"classText", c.classText},
        {"sensorText", c.sensorText},
        {"passed", c.passed},
        {"verdict", c.VerdictText()},
        {"points", points},
        {"decisionRule", int(c.decisionRule)},
        {"turThreshold", c.turThreshold},
        {"calibrator",
         QJsonObject{
             {"serialNumber", c.calibrator.serialNumber},
             {"certificateNumber", c.calibrator.certificateNumber},
             {"calibratedOn", c.calibrator.calibratedOn.toString(Qt::ISODate)},
             {"dueOn", c.calibrator.dueOn.toString(Qt::ISODate)},
         }},
        {"calibratorOverdue", c.calibratorOverdue},
    };
}

bool RecordFromJson(const QJsonObject& o, CheckRecord& c)
{
    c = CheckRecord{};
    c.id = o.value("id").toString();
    if (c.id.isEmpty())
        return false;
    c.checkedAt = QDateTime::fromString(o.value("checkedAt").toString(), Qt::ISODate);
    c.computer = o.value("computer").toString();
    c.user = o.value("user").toString();
    c.meterName = o.value("meterName").toString();
    c.meterNumber = o.value("meterNumber").toString();
    c.method = o.value("method").toInt();
    c.documentPath = o.value("documentPath").toString();
    c.rangeSlot = o.value("rangeSlot").toInt();
    c.rangeValue = o.value("rangeValue").toString();
    c.rangeUnit = o.value("rangeUnit").toString();
    c.quantity = o.value("quantity").toInt();
    c.sensorName = o.value("sensorName").toString();
    c.coldJunction = o.value("coldJunction").toInt();
    c.toValue = o.value("toValue").toString();
    c.rlValue = o.value("rlValue").toString();
    c.classReading = o.value("classReading").toString();
    c.classRange = o.value("classRange").toString();
    c.constTerm = o.value("constTerm").toString();
    c.constUnit = o.value("constUnit").toString();
    c.calFunction = o.value("calFunction").toInt();
    c.classText = o.value("classText").toString();
    c.sensorText = o.value("sensorText").toString();
    c.passed = o.value("passed").toBool(true);
    // A record queued by an older program has no policy: it was made under the defaults.
    c.decisionRule = DecisionRuleFromNumber(o.value("decisionRule").toInt());
    const double threshold = o.value("turThreshold").toDouble(4.0);
    c.turThreshold = threshold > 0.0 ? threshold : 4.0;
    const QJsonObject calibrator = o.value("calibrator").toObject();
    c.calibrator.serialNumber = calibrator.value("serialNumber").toString();
    c.calibrator.certificateNumber = calibrator.value("certificateNumber").toString();
    c.calibrator.calibratedOn =
        QDate::fromString(calibrator.value("calibratedOn").toString(), Qt::ISODate);
    c.calibrator.dueOn = QDate::fromString(calibrator.value("dueOn").toString(), Qt::ISODate);
    c.calibratorOverdue = o.value("calibratorOverdue").toBool();
    for (const QJsonValue& v : o.value("points").toArray()) {
        const QJsonObject p = v.toObject();
        CheckPointRecord point;
        point.position = p.value("position").toInt();
        point.reading = p.value("reading").toString();
        point.setting = p.value("setting").toString();
        point.actualError = p.value("actualError").toString();
        point.permissibleError = p.value("permissibleError").toString();
        point.calibratorError = p.value("calibratorError").toString();
        point.unit = p.value("unit").toString();
        point.marked = p.value("marked").toBool();
        point.measured = p.value("measured").toBool();
        point.exceeded = p.value("exceeded").toBool();
        c.points << point;
    }
    return true;
}
