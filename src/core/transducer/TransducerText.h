// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A run of a transducer check in words: the Polish names of runs and verdicts, the table
// r718-run prints and its JSON form.
namespace TransducerText {

QString RunName(RunKind kind); // "przed regulacją", "po regulacji"
QString PointVerdictName(PointVerdict verdict);
QString RunVerdictName(RunVerdict verdict);
QString RunEndName(RunEnd end);
// The input's unit (the source function's) and the output's (the measure range's).
QString InputUnit(const TransducerDoc& doc);
QString OutputUnit(const TransducerDoc& doc);

// A point's row, as the table, the certificate and the workbook show it: percent of span, the
// input set, expected and measured output, error in % of span (signed), the limit, the verdict;
// `missing` stands for the measured value and error of a reading out of range.
QStringList PointCells(const TransducerDoc& doc, const TransducerPointResult& point,
                       const QString& missing);

// The table of a run: a heading, one line per point, the verdict.
QString RunTable(const TransducerDoc& doc, RunKind kind);
// The run as JSON: per point the input set, expected and measured output, error, limit and
// verdict; with the run's end and verdict.
QJsonObject RunJson(const TransducerDoc& doc, RunKind kind);

} // namespace TransducerText
