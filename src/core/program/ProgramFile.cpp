// SPDX-License-Identifier: MIT
#include "core/program/ProgramFile.h"

#include "core/base/VersionedJson.h"
#include "core/link/CalFunctionTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ProgramFile {

namespace {

const QString formatName = QStringLiteral("tevano-718-program");

const QStringList junctionNames{QStringLiteral("Tex"), QStringLiteral("Tin"), QStringLiteral("To")};
const QStringList kindNames{QStringLiteral("hold"), QStringLiteral("ramp"),
                            QStringLiteral("staircase"), QStringLiteral("repeat")};
const QStringList directionNames{QStringLiteral("rises-above"), QStringLiteral("falls-below")};

using VersionedJson::Number;

bool Whole(const QJsonObject& o, const char* key, int* value)
{
    double v = 0;
    if (!Number(o, key, &v) || v != double(qint64(v)) || v < -1e6 || v > 1e6)
        return false;
    *value = int(v);
    return true;
}

QJsonObject SegmentToJson(const ProgramSegment& s)
{
    QJsonObject o{{QStringLiteral("kind"), kindNames[int(s.kind)]}};
    switch (s.kind) {
    case SegmentKind::Hold:
        o.insert(QStringLiteral("value"), s.from);
        o.insert(QStringLiteral("seconds"), s.dwellSeconds);
        break;
    case SegmentKind::Ramp:
    case SegmentKind::Staircase:
        o.insert(QStringLiteral("from"), s.from);
        o.insert(QStringLiteral("to"), s.to);
        o.insert(QStringLiteral("step"), s.step);
        o.insert(QStringLiteral("dwell"), s.dwellSeconds);
        break;
    case SegmentKind::Repeat:
        o.insert(QStringLiteral("first"), s.firstSegment + 1);
        o.insert(QStringLiteral("times"), s.times);
        break;
    }
    return o;
}

bool SegmentFromJson(const QJsonValue& value, ProgramSegment* s)
{
    const QJsonObject o = value.toObject();
    const int kind = kindNames.indexOf(o.value(QStringLiteral("kind")).toString());
    if (!value.isObject() || kind < 0)
        return false;
    s->kind = SegmentKind(kind);
    switch (s->kind) {
    case SegmentKind::Hold:
        return Number(o, "value", &s->from) && Number(o, "seconds", &s->dwellSeconds);
    case SegmentKind::Ramp:
    case SegmentKind::Staircase:
        return Number(o, "from", &s->from) && Number(o, "to", &s->to) &&
               Number(o, "step", &s->step) && Number(o, "dwell", &s->dwellSeconds);
    case SegmentKind::Repeat:
        if (!Whole(o, "first", &s->firstSegment) || !Whole(o, "times", &s->times))
            return false;
        --s->firstSegment;
        return true;
    }
    return false;
}

} // namespace

QString NameFilter()
{
    return QStringLiteral("Programy źródła (*.%1)").arg(extension);
}

QByteArray ToJson(const ProgramDoc& doc)
{
    const ProgramSource& s = doc.source;
    QJsonObject source{{QStringLiteral("function"), CalFunctionTable[s.calFunction].sensorName}};
    if (CalFunctions::IsThermocouple(s.calFunction)) {
        source.insert(QStringLiteral("referenceJunction"), junctionNames[int(s.coldJunction)]);
        if (s.coldJunction == ColdJunction::To)
            source.insert(QStringLiteral("referenceTemperature"), s.referenceTemperature);
    }
    if (CalFunctions::IsResistanceThermometer(s.calFunction) && s.leadResistanceOn)
        source.insert(QStringLiteral("leadResistance"), s.leadResistance);
    QJsonArray segments;
    for (const ProgramSegment& segment : doc.segments)
        segments.append(SegmentToJson(segment));
    QJsonObject root{
        {QStringLiteral("format"), formatName}, {QStringLiteral("version"), formatVersion},
        {QStringLiteral("name"), doc.name},     {QStringLiteral("notes"), doc.notes},
        {QStringLiteral("source"), source},     {QStringLiteral("segments"), segments}};
    if (doc.Measures())
        root.insert(QStringLiteral("measure"),
                    QJsonObject{{QStringLiteral("range"), doc.measureRange}});
    if (doc.trip.enabled)
        root.insert(
            QStringLiteral("trip"),
            QJsonObject{{QStringLiteral("direction"), directionNames[int(doc.trip.direction)]},
                        {QStringLiteral("threshold"), doc.trip.threshold}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool FromJson(const QByteArray& json, ProgramDoc* doc, QString* cause)
{
    QJsonObject root;
    if (!VersionedJson::Open(json, formatName, formatVersion,
                             QStringLiteral("To nie jest plik programu źródła"), &root, cause))
        return false;
    const auto damaged = [cause](const QString& where) {
        *cause = VersionedJson::Damaged(where);
        return false;
    };

    ProgramDoc d;
    d.name = root.value(QStringLiteral("name")).toString();
    d.notes = root.value(QStringLiteral("notes")).toString();

    const QJsonObject source = root.value(QStringLiteral("source")).toObject();
    d.source.calFunction = CalFunctions::FindBySensor(
        source.value(QStringLiteral("function")).toString(), 0, calFunctionCount - 1);
    if (d.source.calFunction < 0)
        return damaged(QStringLiteral("funkcja źródła"));
    if (CalFunctions::IsThermocouple(d.source.calFunction)) {
        const int junction =
            junctionNames.indexOf(source.value(QStringLiteral("referenceJunction")).toString());
        if (junction < 0)
            return damaged(QStringLiteral("spoina odniesienia"));
        d.source.coldJunction = ColdJunction(junction);
        if (d.source.coldJunction == ColdJunction::To &&
            !Number(source, "referenceTemperature", &d.source.referenceTemperature))
            return damaged(QStringLiteral("temperatura To"));
    }
    if (source.contains(QStringLiteral("leadResistance"))) {
        if (!Number(source, "leadResistance", &d.source.leadResistance))
            return damaged(QStringLiteral("RL"));
        d.source.leadResistanceOn = true;
    }

    const QJsonValue measure = root.value(QStringLiteral("measure"));
    if (!measure.isUndefined() && !measure.isNull()) {
        d.measureRange = measure.toObject().value(QStringLiteral("range")).toString();
        if (!measure.isObject() || d.measureRange.isEmpty())
            return damaged(QStringLiteral("zakres pomiaru"));
    }
    const QJsonValue trip = root.value(QStringLiteral("trip"));
    if (!trip.isUndefined() && !trip.isNull()) {
        const QJsonObject t = trip.toObject();
        const int direction =
            directionNames.indexOf(t.value(QStringLiteral("direction")).toString());
        if (direction < 0 || !Number(t, "threshold", &d.trip.threshold))
            return damaged(QStringLiteral("warunek zadziałania"));
        d.trip.enabled = true;
        d.trip.direction = TripDirection(direction);
    }

    const QJsonValue segments = root.value(QStringLiteral("segments"));
    if (!segments.isArray())
        return damaged(QStringLiteral("segmenty"));
    for (const QJsonValue& v : segments.toArray()) {
        ProgramSegment s;
        if (!SegmentFromJson(v, &s))
            return damaged(QStringLiteral("segment %1").arg(d.segments.size() + 1));
        d.segments << s;
    }
    *doc = d;
    return true;
}

bool Save(const QString& path, const ProgramDoc& doc, QString* message)
{
    return VersionedJson::Save(path, ToJson(doc), message);
}

bool Load(const QString& path, ProgramDoc* doc, QString* message)
{
    return VersionedJson::Load(
        path, [doc](const QByteArray& json, QString* cause) { return FromJson(json, doc, cause); },
        message);
}

} // namespace ProgramFile
