// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramLog.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A source program and its run in words, shared by the window, the outputs and r718-run.
namespace ProgramText {

QString SourceUnit(const ProgramDoc& doc);
QString MeasureUnit(const ProgramDoc& doc);                // empty when nothing is measured
QString SourceValue(const ProgramDoc& doc, double value);  // in the function's decimals
QString MeasureValue(const ProgramDoc& doc, double value); // in the range's decimals
// "1:06", "1:02:03": minutes and seconds, hours when there are any.
QString Duration(qint64 ms);

// "odczyt powyżej 5.000 V"; empty without a condition.
QString TripConditionText(const ProgramDoc& doc);
// "schody 4.000 → 20.000 → 4.000 mA, krok 1.000 mA, 2 s na krok" and the like.
QString SegmentText(const ProgramDoc& doc, const ProgramSegment& segment);
// The program described line by line: label and value.
QList<QPair<QString, QString>> DefinitionLines(const ProgramDoc& doc);

// The trip points' table: its heading and a row per trip (number, run of the group, trip
// value, its time in s, reset value, its time, deadband).
QStringList TripHeading(const ProgramDoc& doc);
QList<QStringList> TripRows(const ProgramDoc& doc, const QList<TripPoint>& points);
// "Rozrzut zadziałań: 0.000 mA (12.000 ... 12.000), powrotów: ..."; empty below two trips.
QString SpreadText(const ProgramDoc& doc, const TripSpread& spread);

// What r718-run prints: the run's end and its trip points, as a table or as JSON.
QString RunTable(const ProgramDoc& doc, const ProgramRunLog& log);
QJsonObject RunJson(const ProgramDoc& doc, const ProgramRunLog& log, qint64 plannedMs);

} // namespace ProgramText
