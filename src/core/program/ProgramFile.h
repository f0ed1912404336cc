// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"

#include <QByteArray>
#include <QString>

// The source program's file: a versioned JSON document. The source function is kept by its
// name in the calibrator's catalogue ("22mA", "K (NiCr-NiAl)"), the measure range by the
// range's name, so that a file reads the same to a person and to the program.
namespace ProgramFile {

constexpr int formatVersion = 1;
inline const QString extension = QStringLiteral("r718p");
// The file dialogs' filter.
QString NameFilter();

QByteArray ToJson(const ProgramDoc& doc);
// Fills *doc from the text; on failure returns false, leaves *doc as it was and says why in
// *cause (one Polish sentence without its full stop). The program is not judged here
// (CheckProgram does), only whether the text is a program this version reads.
bool FromJson(const QByteArray& json, ProgramDoc* doc, QString* cause);

// Whole-file save (the target is replaced only by a complete file) and load; on failure the
// message for the technician, naming the file, in *message.
bool Save(const QString& path, const ProgramDoc& doc, QString* message);
bool Load(const QString& path, ProgramDoc* doc, QString* message);

} // namespace ProgramFile
