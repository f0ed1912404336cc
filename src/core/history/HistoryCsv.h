// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct CheckRecord;

// Checks as a table for Polish spreadsheets: UTF-8 (with the byte-order mark spreadsheets look
// for), a header row, ';' between fields, one row per point, numbers with a decimal comma so
// that they are read as numbers.
QByteArray HistoryCsv(const QList<CheckRecord>& checks);

// Writes HistoryCsv to a file (whole or not at all); an empty text, or the reason in Polish.
QString WriteHistoryCsv(const QString& path, const QList<CheckRecord>& checks);
