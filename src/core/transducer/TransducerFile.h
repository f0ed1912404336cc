// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QByteArray>
#include <QString>

// The transducer document's file: a versioned JSON document. The input function is kept by
// its name in the calibrator's catalogue ("K (NiCr-NiAl)", "22mA"), the output by the measure
// range's name, so that a file reads the same to a person and to the program.
namespace TransducerFile {

constexpr int formatVersion = 1;
inline const QString extension = QStringLiteral("r718t");
// The file dialogs' filter.
QString NameFilter();
// Whether the path names a transducer document (by its extension, case aside).
bool IsTransducerPath(const QString& path);

QByteArray ToJson(const TransducerDoc& doc);
// Fills *doc from the text; on failure returns false, leaves *doc as it was and says why in
// *cause (one Polish sentence without its full stop). The definition is not judged here
// (CheckTransducer does), only whether the text is a transducer document this version reads.
bool FromJson(const QByteArray& json, TransducerDoc* doc, QString* cause);

// Whole-file save (the target is replaced only by a complete file) and load; on failure the
// message for the technician, naming the file, in *message.
bool Save(const QString& path, const TransducerDoc& doc, QString* message);
bool Load(const QString& path, TransducerDoc* doc, QString* message);

} // namespace TransducerFile
