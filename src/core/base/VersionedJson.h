// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

// The program's own JSON documents (transducer definitions, source programs): one object whose
// "format" names the kind of document and whose "version" the layout it was written in. A
// document is saved whole (the target is replaced only by a complete file) and read only from
// a regular file of a sane size.
namespace VersionedJson {

// The root object of a document of `format` written in a version from 1 to `newest`. False,
// with the cause in *cause (one Polish sentence without its full stop): `notThisKind` for text
// that is not such a document, the version's own sentence for one from a newer program.
bool Open(const QByteArray& json, const QString& format, int newest, const QString& notThisKind,
          QJsonObject* root, QString* cause);

// "Plik jest uszkodzony (where)": the cause for a member missing or of the wrong type.
QString Damaged(const QString& where);

// A number where the document needs one: missing or of another type is refused.
bool Number(const QJsonObject& object, const char* key, double* value);

// Saves the text whole; on failure the message for the technician, naming the file.
bool Save(const QString& path, const QByteArray& json, QString* message);

// Reads the file (at most 4 MiB) and hands its bytes to `parse`, which fills the document or
// says why not; on failure the message for the technician, naming the file.
using Parse = std::function<bool(const QByteArray& json, QString* cause)>;
bool Load(const QString& path, const Parse& parse, QString* message);

} // namespace VersionedJson
