// SPDX-License-Identifier: MIT
#include "core/history/WaitingRecords.h"

#include "core/base/FileAccess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A kept run is small; anything larger is not one of ours.
constexpr qint64 largestRun = 16 * 1024 * 1024;

} // namespace

WaitingRecords::WaitingRecords(const QString& databasePath)
    : folder(databasePath + QStringLiteral("-waiting"))
{}

bool WaitingRecords::Keep(const QList<CheckRecord>& records, QString* cause)
{
    if (records.isEmpty())
        return true;
    // The records hold user names and document paths: the folder is the user's alone.
    if (!QDir(folder).exists() &&
        !QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        *cause =
            QStringLiteral("Nie można utworzyć folderu %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QJsonArray list;
    for (const CheckRecord& c : records)
        list.append(RecordToJson(c));
    // Named by the time, so that the runs are taken in the order they ended.
    const QString name =
        QStringLiteral("%1-%2.json")
            .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzz")),
                 records.first().id);
    return WriteWholeFile(QDir(folder).filePath(name),
                          QJsonDocument(list).toJson(QJsonDocument::Compact), cause);
}

QList<WaitingRecords::Run> WaitingRecords::Runs() const
{
    QList<Run> runs;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        Run run;
        run.file = QDir(folder).filePath(name);
        QByteArray data;
        QString cause;
        if (!ReadRegularFile(run.file, largestRun, &data, &cause))
            continue;
        for (const QJsonValue& v : QJsonDocument::fromJson(data).array()) {
            CheckRecord c;
            if (RecordFromJson(v.toObject(), c))
                run.records << c;
        }
        if (!run.records.isEmpty())
            runs << run;
    }
    return runs;
}

void WaitingRecords::Taken(const Run& run)
{
    QFile::remove(run.file);
}

int WaitingRecords::Count() const
{
    int n = 0;
    for (const Run& run : Runs())
        n += int(run.records.size());
    return n;
}
