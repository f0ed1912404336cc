// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/FileAccess.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct CheckRecord;

// Checks as a table for Polish spreadsheets: UTF-8 (with the byte-order mark spreadsheets look
// for), a header row, ';' between fields, one row per point, numbers with a decimal comma so
// that they are read as numbers; a text that begins as a formula would (=, +, -, @) gets an
// apostrophe before it. After the check's id come the computer and the user, then the point
// under the record's decision rule: the rule, U, TUR, the statement and whether TUR is under
// the record's threshold.
QByteArray HistoryCsv(const QList<CheckRecord>& checks);
// The same table in pieces: the byte-order mark with the header row, and a check's rows (one
// per point, none for a check without points).
QByteArray HistoryCsvHeader();
QByteArray HistoryCsvRows(const CheckRecord& check);

// The table written to a file check by check as they are read, so that a history of any size
// takes little memory; the file replaces its target only at Commit (whole or not at all), and
// never a file of the local history database. Each call gives an empty text or the reason in
// Polish; after a failure the target stays as it was.
class HistoryCsvFile
{
public:
    QString Open(const QString& path);
    QString Add(const CheckRecord& check);
    QString Commit();

private:
    QString Failed(const QString& cause) const;

    QString path;
    WholeFileWriter file;
};

// Writes HistoryCsv to a file (whole or not at all), never onto a file of the local history
// database (also through a link); an empty text, or the reason in Polish.
QString WriteHistoryCsv(const QString& path, const QList<CheckRecord>& checks);
