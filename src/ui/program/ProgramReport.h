// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramLog.h"
#include "core/program/ProgramPlan.h"

#include <QDateTime>
#include <QString>

class MessageService;
class QPainter;

// The short report of a program's run: one A4 page with the program, how the run went, the
// chart of the course with the readings, and the trip points with their spread.
//
// The page is painted in 0.01 mm with the origin at the paper's top-left corner, y downwards.
void PaintProgramReport(QPainter& painter, const ProgramDoc& doc, const ProgramPlan& plan,
                        const ProgramRunLog& log, const QDateTime& printed);

// The report as a PDF file at path, written whole; the program's own file is never
// overwritten. False after the message box when it could not be written.
bool SaveProgramReport(const QString& path, const ProgramDoc& doc, const ProgramPlan& plan,
                       const ProgramRunLog& log, const QString& documentName,
                       MessageService& messages);
