// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ExportWorkbook.h"
#include "core/program/ProgramDoc.h"
#include "core/program/ProgramLog.h"

#include <QByteArray>
#include <QString>

// A run's log for spreadsheets: the CSV file (as the history's, for Polish spreadsheets) and
// the workbook with the program, the log and the trip points.
namespace ProgramExport {

// One row per entry: time from the start [s], date, time of day, kind (nastawa, odczyt),
// segment, run of the group, the set-point in force, the reading, the trip event.
QByteArray LogCsv(const ProgramDoc& doc, const ProgramRunLog& log);

ExportSheet ProgramSheet(const ProgramDoc& doc, const ProgramRunLog& log);
ExportSheet LogSheet(const ProgramDoc& doc, const ProgramRunLog& log);
ExportSheet TripSheet(const ProgramDoc& doc, const ProgramRunLog& log);

// Write the CSV file and the workbook to path (replaced only by a complete file). False with
// the message for the technician, naming the file, in *message; also when the log is empty.
bool SaveCsv(const QString& path, const ProgramDoc& doc, const ProgramRunLog& log,
             QString* message);
bool SaveWorkbook(const QString& path, const ProgramDoc& doc, const ProgramRunLog& log,
                  QString* message);

} // namespace ProgramExport
