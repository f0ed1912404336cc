// SPDX-License-Identifier: MIT
#include "core/program/ProgramFile.h"

#include "core/base/FileAccess.h"
#include "core/link/CalFunctionTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ProgramFile {

namespace {

const QString formatName = QStringLiteral("tevano-718-program");
// A program of the largest size is some tens of kilobytes; anything far larger is not one.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;

const QStringList junctionNames{QStringLiteral("Tex"), QStringLiteral("Tin"), QStringLiteral("To")};
const QStringList kindNames{QStringLiteral("hold"), QStringLiteral("ramp"),
                            QStringLiteral("staircase"), QStringLiteral("repeat")};
const QStringList directionNames{QStringLiteral("rises-above"), QStringLiteral("falls-below")};

// A number where the document needs one: missing or of another type is refused.
bool Number(const QJsonObject& o, const char* key, double* value)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return false;
    *value = v.toDouble();
    return true;
}

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
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = parsed.object();
    if (parseError.error != QJsonParseError::NoError || !parsed.isObject() ||
        root.value(QStringLiteral("format")).toString() != formatName) {
        *cause = QStringLiteral("To nie jest plik programu źródła");
        return false;
    }
    const QJsonValue versionValue = root.value(QStringLiteral("version"));
    const int version = versionValue.toInt(-1);
    if (version < 1 || version > formatVersion) {
        *cause = QStringLiteral("Plik zapisano w wersji %1 formatu, której ten program nie zna")
                     .arg(versionValue.toVariant().toString());
        return false;
    }
    const auto damaged = [cause](const QString& where) {
        *cause = QStringLiteral("Plik jest uszkodzony (%1)").arg(where);
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
    QString cause;
    if (WriteWholeFile(path, ToJson(doc), &cause))
        return true;
    *message = QStringLiteral("Nie udało się zapisać pliku:\n%1\n%2.").arg(path, cause);
    return false;
}

bool Load(const QString& path, ProgramDoc* doc, QString* message)
{
    QByteArray data;
    QString cause;
    if (!ReadRegularFile(path, maxFileBytes, &data, &cause) || !FromJson(data, doc, &cause)) {
        *message = QStringLiteral("Nie udało się odczytać pliku:\n%1\n%2.").arg(path, cause);
        return false;
    }
    return true;
}

} // namespace ProgramFile
