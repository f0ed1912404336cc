// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ExportWorkbook.h"
#include "core/transducer/TransducerDoc.h"

#include <QString>

// The transducer check in a workbook: a sheet per run measured ("Przed regulacją", "Po
// regulacji"), each with the definition above the table of its points.
namespace TransducerExport {

ExportSheet RunSheet(const TransducerDoc& doc, RunKind kind);

// Writes the workbook of the runs measured to path (replaced only by a complete file). False
// with the message for the technician, naming the file, in *message; also when no run has a
// point.
bool SaveWorkbook(const QString& path, const TransducerDoc& doc, QString* message);

// The lines that describe the definition, shared by the sheets and the certificate:
// label and value.
QList<QPair<QString, QString>> DefinitionLines(const TransducerDoc& doc);

} // namespace TransducerExport
