// SPDX-License-Identifier: MIT
#include "core/program/ProgramText.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/program/ProgramPlan.h"
#include "core/program/ProgramValidation.h"

#include <QJsonArray>

#include <cmath>

namespace ProgramText {

namespace {

QString Seconds(double seconds)
{
    return QString::number(seconds, 'g', 12);
}

QString Time(qint64 ms)
{
    return FormatFixed(double(ms) / 1000.0, 1);
}

const char* const endKeys[] = {"completed", "stopped", "link-lost"};

} // namespace

QString SourceUnit(const ProgramDoc& doc)
{
    return CalFunctionTable[doc.source.calFunction].unitText;
}

QString MeasureUnit(const ProgramDoc& doc)
{
    const MeasureRange* range = MeasureRangeTable::Find(doc.measureRange);
    return range ? range->unit : QString();
}

QString SourceValue(const ProgramDoc& doc, double value)
{
    return FormatFixed(value, DecimalsForFunction(doc.source.calFunction));
}

QString MeasureValue(const ProgramDoc& doc, double value)
{
    const MeasureRange* range = MeasureRangeTable::Find(doc.measureRange);
    return FormatFixed(value, range ? range->decimals : 3);
}

QString Duration(qint64 ms)
{
    const qint64 seconds = (qMax<qint64>(ms, 0) + 999) / 1000;
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    const QString ms2 = QStringLiteral("%1:%2")
                            .arg(m, h > 0 ? 2 : 1, 10, QLatin1Char('0'))
                            .arg(s, 2, 10, QLatin1Char('0'));
    return h > 0 ? QStringLiteral("%1:%2").arg(h).arg(ms2) : ms2;
}

QString TripConditionText(const ProgramDoc& doc)
{
    if (!doc.trip.enabled)
        return {};
    return QStringLiteral("odczyt %1 %2 %3")
        .arg(doc.trip.direction == TripDirection::RisesAbove ? QStringLiteral("powyżej")
                                                             : QStringLiteral("poniżej"),
             MeasureValue(doc, doc.trip.threshold), MeasureUnit(doc));
}

QString SegmentText(const ProgramDoc& doc, const ProgramSegment& s)
{
    const QString unit = SourceUnit(doc);
    const QString arrow = QStringLiteral(" → ");
    switch (s.kind) {
    case SegmentKind::Hold:
        return QStringLiteral("utrzymanie %1 %2 przez %3 s")
            .arg(SourceValue(doc, s.from), unit, Seconds(s.dwellSeconds));
    case SegmentKind::Ramp:
        return QStringLiteral("rampa %1%2%3 %4, krok %5 %4, %6 s na krok")
            .arg(SourceValue(doc, s.from), arrow, SourceValue(doc, s.to), unit,
                 SourceValue(doc, s.step), Seconds(s.dwellSeconds));
    case SegmentKind::Staircase:
        return QStringLiteral("schody %1%2%3%2%1 %4, krok %5 %4, %6 s na krok")
            .arg(SourceValue(doc, s.from), arrow, SourceValue(doc, s.to), unit,
                 SourceValue(doc, s.step), Seconds(s.dwellSeconds));
    case SegmentKind::Repeat:
        return QStringLiteral("powtórzenie segmentów od %1, razem %2 razy")
            .arg(s.firstSegment + 1)
            .arg(s.times);
    }
    return {};
}

QList<QPair<QString, QString>> DefinitionLines(const ProgramDoc& doc)
{
    const ProgramSource& s = doc.source;
    QString source = CalFunctionTable[s.calFunction].sensorName;
    if (CalFunctions::IsThermocouple(s.calFunction)) {
        const QString junctions[] = {
            QStringLiteral("Tex"), QStringLiteral("Tin"),
            QStringLiteral("To = %1 °C").arg(FormatFixed(s.referenceTemperature, 2))};
        source += QStringLiteral(", spoina odniesienia ") + junctions[int(s.coldJunction)];
    }
    if (CalFunctions::IsResistanceThermometer(s.calFunction) && s.leadResistanceOn)
        source += QStringLiteral(", RL = %1 Ohm").arg(FormatFixed(s.leadResistance, 2));
    QList<QPair<QString, QString>> lines{
        {QStringLiteral("Program"), doc.name},
        {QStringLiteral("Źródło"), source},
        {QStringLiteral("Pomiar"), doc.Measures() ? doc.measureRange : QStringLiteral("brak")},
        {QStringLiteral("Warunek zadziałania"),
         doc.trip.enabled ? TripConditionText(doc) : QStringLiteral("brak")},
    };
    for (int i = 0; i < doc.segments.size(); ++i)
        lines << qMakePair(QStringLiteral("Segment %1").arg(i + 1),
                           SegmentText(doc, doc.segments[i]));
    lines << qMakePair(QStringLiteral("Uwagi"), doc.notes);
    return lines;
}

QStringList TripHeading(const ProgramDoc& doc)
{
    const QString unit = SourceUnit(doc);
    return {QStringLiteral("Nr"),
            QStringLiteral("Przebieg"),
            QStringLiteral("Zadziałanie [%1]").arg(unit),
            QStringLiteral("Czas [s]"),
            QStringLiteral("Powrót [%1]").arg(unit),
            QStringLiteral("Czas [s]"),
            QStringLiteral("Strefa nieczułości [%1]").arg(unit)};
}

QList<QStringList> TripRows(const ProgramDoc& doc, const QList<TripPoint>& points)
{
    QList<QStringList> rows;
    for (int i = 0; i < points.size(); ++i) {
        const TripPoint& p = points[i];
        const std::optional<double> band = p.Deadband();
        rows << QStringList{QString::number(i + 1),
                            QString::number(p.pass + 1),
                            SourceValue(doc, p.trip),
                            Time(p.tripMs),
                            p.reset ? SourceValue(doc, *p.reset) : QString(),
                            p.reset ? Time(p.resetMs) : QString(),
                            band ? SourceValue(doc, *band) : QString()};
    }
    return rows;
}

QString SpreadText(const ProgramDoc& doc, const TripSpread& spread)
{
    if (spread.trips < 2)
        return {};
    const QString unit = SourceUnit(doc);
    QString text = QStringLiteral("Rozrzut zadziałań: %1 %2 (%3 ... %4)")
                       .arg(SourceValue(doc, spread.TripSpan()), unit,
                            SourceValue(doc, spread.tripLow), SourceValue(doc, spread.tripHigh));
    if (spread.resets >= 2)
        text += QStringLiteral(", powrotów: %1 %2 (%3 ... %4)")
                    .arg(SourceValue(doc, spread.ResetSpan()), unit,
                         SourceValue(doc, spread.resetLow), SourceValue(doc, spread.resetHigh));
    return text;
}

QString RunTable(const ProgramDoc& doc, const ProgramRunLog& log)
{
    QString text = QStringLiteral("Program %1: %2\n")
                       .arg(doc.name.isEmpty() ? QStringLiteral("bez nazwy") : doc.name,
                            log.end ? ProgramEndName(*log.end) : QStringLiteral("w toku"));
    if (!doc.trip.enabled)
        return text + QStringLiteral("Bez warunku zadziałania.\n");
    const QList<TripPoint> points = TripPoints::FromLog(log.entries);
    text += QStringLiteral("Punkty zadziałania (%1):\n").arg(TripConditionText(doc));
    if (points.isEmpty())
        return text + QStringLiteral("Nie wykryto zadziałania.\n");
    const QStringList heading = TripHeading(doc);
    const int widths[] = {4, 9, 18, 9, 14, 9, 26};
    const auto line = [&widths](const QStringList& cells) {
        QString l;
        for (int c = 0; c < cells.size(); ++c)
            l += QStringLiteral("%1").arg(cells[c], widths[c]);
        return l + QLatin1Char('\n');
    };
    text += line(heading);
    for (const QStringList& row : TripRows(doc, points))
        text += line(row);
    const QString spread = SpreadText(doc, TripPoints::Spread(points));
    if (!spread.isEmpty())
        text += spread + QStringLiteral(".\n");
    return text;
}

QJsonObject RunJson(const ProgramDoc& doc, const ProgramRunLog& log, qint64 plannedMs)
{
    const QList<TripPoint> points = TripPoints::FromLog(log.entries);
    QJsonArray trips;
    for (const TripPoint& p : points) {
        QJsonObject o{{QStringLiteral("pass"), p.pass + 1},
                      {QStringLiteral("trip"), ParseNumber(SourceValue(doc, p.trip))},
                      {QStringLiteral("tripSeconds"), double(p.tripMs) / 1000.0}};
        if (p.reset) {
            o.insert(QStringLiteral("reset"), ParseNumber(SourceValue(doc, *p.reset)));
            o.insert(QStringLiteral("resetSeconds"), double(p.resetMs) / 1000.0);
            o.insert(QStringLiteral("deadband"), ParseNumber(SourceValue(doc, *p.Deadband())));
        }
        trips.append(o);
    }
    int readings = 0;
    for (const ProgramLogEntry& e : log.entries)
        readings += e.kind == ProgramLogEntry::Kind::Reading ? 1 : 0;
    QJsonObject json{{QStringLiteral("end"),
                      log.end ? QLatin1String(endKeys[int(*log.end)]) : QLatin1String("running")},
                     {QStringLiteral("sourceUnit"), SourceUnit(doc)},
                     {QStringLiteral("measureUnit"), MeasureUnit(doc)},
                     {QStringLiteral("plannedSeconds"), double(plannedMs) / 1000.0},
                     {QStringLiteral("readings"), readings},
                     {QStringLiteral("trips"), trips}};
    if (doc.trip.enabled)
        json.insert(QStringLiteral("condition"),
                    QJsonObject{{QStringLiteral("direction"),
                                 doc.trip.direction == TripDirection::RisesAbove
                                     ? QStringLiteral("rises-above")
                                     : QStringLiteral("falls-below")},
                                {QStringLiteral("threshold"), doc.trip.threshold}});
    const TripSpread spread = TripPoints::Spread(points);
    if (spread.trips >= 2)
        json.insert(QStringLiteral("tripSpread"), ParseNumber(SourceValue(doc, spread.TripSpan())));
    if (spread.resets >= 2)
        json.insert(QStringLiteral("resetSpread"),
                    ParseNumber(SourceValue(doc, spread.ResetSpan())));
    return json;
}

} // namespace ProgramText
