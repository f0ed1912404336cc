// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

struct CheckRecord;

// The texts of the report's appendix page: the statements of conformity of the checks, under
// the decision rule and with the calibrator the records keep.

// One measured point.
struct AppendixRow
{
    QString nominal;
    QString actualError;
    QString permissibleError;
    QString uncertainty; // U, k = 2
    QString unit;
    QString tur;         // "4.2", "∞" without U; with the mark when under the threshold
    bool turLow = false; // under the lab's threshold
    QString statement;   // "zgodny", ...
};

// One range (one record).
struct AppendixRange
{
    QString heading;   // "Zakres: 400 mV"
    QString shortHash; // the record's short hash, "—" when not known
    QList<AppendixRow> rows;
};

struct ConformityAppendix
{
    QString title;
    QStringList lines; // the meter, the rule, how U is formed, the threshold, the calibrator
    QString turNote;   // what the mark on a low TUR means
    QList<AppendixRange> ranges;
};

inline constexpr char appendixTitle[] = "Załącznik: stwierdzenie zgodności";
// Put after the TUR of a point under the threshold.
inline constexpr char lowTurMark[] = " !";

// The appendix of `records` (one per range, one check: the rule, threshold and calibrator are
// those of the first). `shortHashes[i]`, when given and not empty, is the short hash of
// records[i]. Only measured points get a row. A record that went on with the calibrator past
// its due date says so; when the appendix is printed from a document (`printedOn` given) and
// no record says it, the calibrator past its due date on that day is said instead.
ConformityAppendix BuildConformityAppendix(const QList<CheckRecord>& records,
                                           const QStringList& shortHashes = {},
                                           const QDate& printedOn = {});
