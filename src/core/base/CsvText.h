// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Tables for Polish spreadsheets: UTF-8 with the byte-order mark spreadsheets look for, ';'
// between fields, numbers with a decimal comma so that they are read as numbers.
namespace CsvText {

// A text field. One that a spreadsheet would take for a formula (=, +, -, @, a tab or a
// carriage return first) gets an apostrophe before it and stays a text; one with a separator,
// a quote, a line break or spaces at its ends is quoted.
QString Field(const QString& text);

// A number text of the program ("-0.120", "12.") with a decimal comma, never taken for a
// formula; anything else is a text field.
QString Number(const QString& text);

// The rows (their fields already made by Field or Number) as the file's bytes: the mark, the
// rows joined by ';', each ended by CR LF.
QByteArray Document(const QList<QStringList>& rows);

} // namespace CsvText
