// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerFile.h"

#include "core/base/VersionedJson.h"
#include "core/link/CalFunctionTable.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace TransducerFile {

namespace {

const QString formatName = QStringLiteral("tevano-718-transducer");

const QStringList junctionNames{QStringLiteral("Tex"), QStringLiteral("Tin"), QStringLiteral("To")};
const QStringList verdictNames{QStringLiteral("pass"), QStringLiteral("fail"),
                               QStringLiteral("out-of-range")};
const QStringList endNames{QStringLiteral("completed"), QStringLiteral("stopped"),
                           QStringLiteral("link-lost")};

QJsonObject RunToJson(const TransducerRunResult& run)
{
    QJsonArray points;
    for (const TransducerPointResult& p : run.points)
        points.append(QJsonObject{{QStringLiteral("percent"), p.percent},
                                  {QStringLiteral("input"), p.inputText},
                                  {QStringLiteral("expected"), p.expected},
                                  {QStringLiteral("measured"), p.measured},
                                  {QStringLiteral("error"), p.errorPercent},
                                  {QStringLiteral("limit"), p.limitPercent},
                                  {QStringLiteral("verdict"), verdictNames[int(p.verdict)]}});
    return {{QStringLiteral("started"), run.started.toString(Qt::ISODate)},
            {QStringLiteral("end"), endNames[int(run.end)]},
            {QStringLiteral("points"), points}};
}

// Reads what a run holds; false when the object is not a run this version wrote.
bool RunFromJson(const QJsonValue& value, TransducerRunResult* run)
{
    *run = {};
    if (value.isUndefined() || value.isNull())
        return true;
    const QJsonObject o = value.toObject();
    const int end = endNames.indexOf(o.value(QStringLiteral("end")).toString());
    if (!value.isObject() || end < 0)
        return false;
    run->end = RunEnd(end);
    run->started =
        QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODate);
    for (const QJsonValue& v : o.value(QStringLiteral("points")).toArray()) {
        const QJsonObject p = v.toObject();
        const int verdict = verdictNames.indexOf(p.value(QStringLiteral("verdict")).toString());
        if (verdict < 0)
            return false;
        TransducerPointResult r;
        r.percent = p.value(QStringLiteral("percent")).toDouble();
        r.inputText = p.value(QStringLiteral("input")).toString();
        r.expected = p.value(QStringLiteral("expected")).toDouble();
        r.measured = p.value(QStringLiteral("measured")).toDouble();
        r.errorPercent = p.value(QStringLiteral("error")).toDouble();
        r.limitPercent = p.value(QStringLiteral("limit")).toDouble();
        r.verdict = PointVerdict(verdict);
        run->points << r;
    }
    return true;
}

QString Text(const QJsonObject& o, const char* key)
{
    return o.value(QLatin1String(key)).toString();
}

using VersionedJson::Number;

} // namespace

QString NameFilter()
{
    return QStringLiteral("Pliki przetworników (*.%1)").arg(extension);
}

bool IsTransducerPath(const QString& path)
{
    return QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

QByteArray ToJson(const TransducerDoc& doc)
{
    const TransducerInstrument& i = doc.instrument;
    QJsonObject input{
        {QStringLiteral("function"), CalFunctionTable[doc.input.calFunction].sensorName},
        {QStringLiteral("lower"), doc.input.lower},
        {QStringLiteral("upper"), doc.input.upper}};
    if (CalFunctions::IsThermocouple(doc.input.calFunction)) {
        input.insert(QStringLiteral("referenceJunction"),
                     junctionNames[int(doc.input.coldJunction)]);
        if (doc.input.coldJunction == ColdJunction::To)
            input.insert(QStringLiteral("referenceTemperature"), doc.input.referenceTemperature);
    }
    if (CalFunctions::IsResistanceThermometer(doc.input.calFunction) &&
        !doc.input.leadResistance.isEmpty())
        input.insert(QStringLiteral("leadResistance"), doc.input.leadResistance);
    QJsonArray points;
    for (double p : doc.points)
        points.append(p);
    QJsonObject root{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), formatVersion},
        {QStringLiteral("instrument"), QJsonObject{{QStringLiteral("tag"), i.tag},
                                                   {QStringLiteral("name"), i.name},
                                                   {QStringLiteral("serialNumber"), i.serialNumber},
                                                   {QStringLiteral("maker"), i.maker},
                                                   {QStringLiteral("model"), i.model},
                                                   {QStringLiteral("notes"), i.notes}}},
        {QStringLiteral("input"), input},
        {QStringLiteral("output"), QJsonObject{{QStringLiteral("range"), doc.output.measureRange},
                                               {QStringLiteral("lower"), doc.output.lower},
                                               {QStringLiteral("upper"), doc.output.upper}}},
        {QStringLiteral("transfer"),
         QJsonObject{{QStringLiteral("function"), doc.transfer == TransferFunction::SquareRoot
                                                      ? QStringLiteral("square-root")
                                                      : QStringLiteral("linear")},
                     {QStringLiteral("lowFlowCutoff"), doc.lowFlowCutoffPercent}}},
        {QStringLiteral("tolerance"),
         QJsonObject{{QStringLiteral("percentOfSpan"), doc.tolerance.percentOfSpan},
                     {QStringLiteral("percentOfReading"), doc.tolerance.percentOfReading}}},
        {QStringLiteral("points"), points},
        {QStringLiteral("settlingSeconds"), doc.settlingSeconds},
        {QStringLiteral("readingsAveraged"), doc.readingsAveraged},
    };
    if (!doc.asFound.IsEmpty() || doc.asFound.end != RunEnd::Completed)
        root.insert(QStringLiteral("asFound"), RunToJson(doc.asFound));
    if (!doc.asLeft.IsEmpty() || doc.asLeft.end != RunEnd::Completed)
        root.insert(QStringLiteral("asLeft"), RunToJson(doc.asLeft));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool FromJson(const QByteArray& json, TransducerDoc* doc, QString* cause)
{
    QJsonObject root;
    if (!VersionedJson::Open(json, formatName, formatVersion,
                             QStringLiteral("To nie jest plik przetwornika"), &root, cause))
        return false;
    const auto damaged = [cause](const QString& where) {
        *cause = VersionedJson::Damaged(where);
        return false;
    };

    TransducerDoc d;
    const QJsonObject instrument = root.value(QStringLiteral("instrument")).toObject();
    d.instrument = {Text(instrument, "tag"),          Text(instrument, "name"),
                    Text(instrument, "serialNumber"), Text(instrument, "maker"),
                    Text(instrument, "model"),        Text(instrument, "notes")};

    const QJsonObject input = root.value(QStringLiteral("input")).toObject();
    d.input.calFunction =
        CalFunctions::FindBySensor(Text(input, "function"), 0, calFunctionCount - 1);
    if (d.input.calFunction < 0 || !Number(input, "lower", &d.input.lower) ||
        !Number(input, "upper", &d.input.upper))
        return damaged(QStringLiteral("wejście"));
    if (CalFunctions::IsThermocouple(d.input.calFunction)) {
        const int junction = junctionNames.indexOf(Text(input, "referenceJunction"));
        if (junction < 0)
            return damaged(QStringLiteral("spoina odniesienia"));
        d.input.coldJunction = ColdJunction(junction);
        if (d.input.coldJunction == ColdJunction::To &&
            !Number(input, "referenceTemperature", &d.input.referenceTemperature))
            return damaged(QStringLiteral("temperatura To"));
    }
    d.input.leadResistance = Text(input, "leadResistance");

    const QJsonObject output = root.value(QStringLiteral("output")).toObject();
    d.output.measureRange = Text(output, "range");
    if (!Number(output, "lower", &d.output.lower) || !Number(output, "upper", &d.output.upper))
        return damaged(QStringLiteral("wyjście"));

    const QJsonObject transfer = root.value(QStringLiteral("transfer")).toObject();
    const QString function = Text(transfer, "function");
    if (function != QLatin1String("linear") && function != QLatin1String("square-root"))
        return damaged(QStringLiteral("funkcja przetwarzania"));
    d.transfer = function == QLatin1String("linear") ? TransferFunction::Linear
                                                     : TransferFunction::SquareRoot;
    d.lowFlowCutoffPercent = transfer.value(QStringLiteral("lowFlowCutoff")).toDouble();

    const QJsonObject tolerance = root.value(QStringLiteral("tolerance")).toObject();
    if (!Number(tolerance, "percentOfSpan", &d.tolerance.percentOfSpan))
        return damaged(QStringLiteral("tolerancja"));
    d.tolerance.percentOfReading = tolerance.value(QStringLiteral("percentOfReading")).toDouble();

    d.points.clear();
    for (const QJsonValue& v : root.value(QStringLiteral("points")).toArray()) {
        if (!v.isDouble())
            return damaged(QStringLiteral("punkty"));
        d.points << v.toDouble();
    }
    if (!Number(root, "settlingSeconds", &d.settlingSeconds))
        return damaged(QStringLiteral("czas ustalania"));
    double readings = 0;
    if (!Number(root, "readingsAveraged", &readings))
        return damaged(QStringLiteral("liczba odczytów"));
    d.readingsAveraged = int(qBound(0.0, readings, 1e6));

    if (!RunFromJson(root.value(QStringLiteral("asFound")), &d.asFound) ||
        !RunFromJson(root.value(QStringLiteral("asLeft")), &d.asLeft))
        return damaged(QStringLiteral("wyniki"));
    *doc = d;
    return true;
}

bool Save(const QString& path, const TransducerDoc& doc, QString* message)
{
    return VersionedJson::Save(path, ToJson(doc), message);
}

bool Load(const QString& path, TransducerDoc* doc, QString* message)
{
    return VersionedJson::Load(
        path, [doc](const QByteArray& json, QString* cause) { return FromJson(json, doc, cause); },
        message);
}

} // namespace TransducerFile
