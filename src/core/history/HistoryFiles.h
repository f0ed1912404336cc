// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryConfig.h"

#include <QStringList>

// The files of the local history database. They hold user and computer names and document
// paths, so they are the user's alone; an output of the program must never land on one.

// The files SQLite keeps the database at `databasePath` in: the file itself, its write-ahead
// log, its shared memory and its rollback journal (whether they exist now or not).
QStringList LocalHistoryFiles(const QString& databasePath = LocalHistoryPath());

// True when `path` is one of LocalHistoryFiles(databasePath): the same name, or (for the
// files that exist) a symbolic or hard link of one.
bool IsLocalHistoryFile(const QString& path, const QString& databasePath = LocalHistoryPath());

// Makes the missing folders of `databasePath` (mode 0700) and the empty database file (0600)
// before SQLite opens it, and takes the access of group and others from files an earlier
// version left readable. Failures are left for SQLite's open to report.
void PrepareLocalHistoryFile(const QString& databasePath);
