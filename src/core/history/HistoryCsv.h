// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct CheckRecord;

// Checks as a table for Polish spreadsheets: UTF-8 (with the byte-order mark spreadsheets look
// for), a header row, ';' between fields, one row per point, numbers with a decimal comma so
// that they are read as numbers; a text that begins as a formula would (=, +, -, @) gets an
// apostrophe before it. The computer and the user come last, after the check's id.
QByteArray HistoryCsv(const QList<CheckRecord>& checks);

// Writes HistoryCsv to a file (whole or not at all), never onto a file of the local history
// database (also through a link); an empty text, or the reason in Polish.
QString WriteHistoryCsv(const QString& path, const QList<CheckRecord>& checks);
