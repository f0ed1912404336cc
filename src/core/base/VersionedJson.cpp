// SPDX-License-Identifier: MIT
#include "core/base/VersionedJson.h"

#include "core/base/FileAccess.h"

#include <QJsonDocument>

namespace VersionedJson {

namespace {

// Far above any definition a technician writes; a larger file is not one of these documents.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;

} // namespace

bool Open(const QByteArray& json, const QString& format, int newest, const QString& notThisKind,
          QJsonObject* root, QString* cause)
{
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject object = parsed.object();
    if (parseError.error != QJsonParseError::NoError || !parsed.isObject() ||
        object.value(QStringLiteral("format")).toString() != format) {
        *cause = notThisKind;
        return false;
    }
    const QJsonValue versionValue = object.value(QStringLiteral("version"));
    const int version = versionValue.toInt(-1);
    if (version < 1 || version > newest) {
        *cause = QStringLiteral("Plik zapisano w wersji %1 formatu, której ten program nie zna")
                     .arg(versionValue.toVariant().toString());
        return false;
    }
    *root = object;
    return true;
}

QString Damaged(const QString& where)
{
    return QStringLiteral("Plik jest uszkodzony (%1)").arg(where);
}

bool Number(const QJsonObject& object, const char* key, double* value)
{
    const QJsonValue v = object.value(QLatin1String(key));
    if (!v.isDouble())
        return false;
    *value = v.toDouble();
    return true;
}

bool Save(const QString& path, const QByteArray& json, QString* message)
{
    QString cause;
    if (WriteWholeFile(path, json, &cause))
        return true;
    *message = QStringLiteral("Nie udało się zapisać pliku:\n%1\n%2.").arg(path, cause);
    return false;
}

bool Load(const QString& path, const Parse& parse, QString* message)
{
    QByteArray data;
    QString cause;
    if (!ReadRegularFile(path, maxFileBytes, &data, &cause) || !parse(data, &cause)) {
        *message = QStringLiteral("Nie udało się odczytać pliku:\n%1\n%2.").arg(path, cause);
        return false;
    }
    return true;
}

} // namespace VersionedJson
