// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct MeterCheckDoc;

// One sheet of the export: its name and its cells, row by row from row 1, column A first.
// Every cell holds text; an empty text is an empty cell.
struct ExportSheet
{
    QString name;
    QList<QStringList> rows;

    // Puts text into the cell at row (from 1) and column (0 = A), growing the sheet.
    void SetCell(int row, int column, const QString& text);
    // The text of a cell; empty outside the filled area.
    QString Cell(int row, int column) const;
};

// Why the spreadsheet library could not make a workbook: its code and its text.
struct ExportError
{
    quint32 code = 0;
    QString meaning;
};

// The exported workbook as kept in memory. An .xlsx file cannot be extended in place, so the
// whole workbook is written again whenever sheets are added.
class ExportWorkbook
{
public:
    const QList<ExportSheet>& Sheets() const { return sheets; }

    // A name not yet used by a sheet (compared without regard to case, as spreadsheets do):
    // `wanted` itself, or with " 2", " 3", ... appended. Characters a sheet name may not
    // hold are replaced and the name is kept within the 31 characters a sheet name may have.
    QString UniqueSheetName(const QString& wanted) const;

    // Appends the sheet under a unique name made from its name; returns that name.
    QString AddSheet(ExportSheet sheet);

    // The bytes of the .xlsx file of the whole workbook; the last sheet is the active one.
    // False with the spreadsheet library's reason on failure.
    bool Content(QByteArray* content, ExportError* error) const;

private:
    QList<ExportSheet> sheets;
};

// Adds the sheet of range `range` of the document: the header cells and one row per point.
void ExportRangeToExcel(ExportWorkbook& workbook, const MeterCheckDoc& doc, int range);

// The name a range's sheet is given before it is made unique: "Zakres (400 mV)".
QString RangeSheetName(const MeterCheckDoc& doc, int range);
