// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckRecord.h"

#include <QList>
#include <QString>

// Records that the local database could not take when their run ended (its file locked by
// another program, a full disk, a damaged file), each run in a file of its own in a folder
// beside the database (history.sqlite-waiting), until the database takes them: a run's record
// is never lost because the database was busy when the program ended.
class WaitingRecords
{
public:
    explicit WaitingRecords(const QString& databasePath);

    QString Folder() const { return folder; }

    // Keeps the records of one run; false with the cause (one sentence, no full stop).
    bool Keep(const QList<CheckRecord>& records, QString* cause);

    struct Run
    {
        QString file;
        QList<CheckRecord> records;
    };
    // The runs kept, oldest first. A file that holds no records (damaged) is left where it is.
    QList<Run> Runs() const;
    // The run is in the database now: its file goes.
    static void Taken(const Run& run);
    // Records kept.
    int Count() const;

private:
    QString folder;
};
