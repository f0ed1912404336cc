// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ExcelExport.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

// What the output tests share: a recording workbook opener, readers of PDF and .xlsx files.

// Records the workbooks it is asked to open; answers `result`.
class RecordingOpener : public WorkbookOpener
{
public:
    bool Open(const QString& path) override
    {
        opened << path;
        return result;
    }
    QStringList opened;
    bool result = true;
};

// The text of a PDF file as pdftotext gives it (UTF-8); pages from..to (1-based, 0 = all).
QString PdfText(const QString& path, int firstPage = 0, int lastPage = 0);
// Number of pages of a PDF file.
int PdfPages(const QString& path);

// A word of a PDF page with its box in millimetres from the top-left corner of the page.
struct PdfWord
{
    QString text;
    double xMin, yMin, xMax, yMax;
};
QList<PdfWord> PdfWords(const QString& path, int page = 1);

// The cells of one sheet of an .xlsx file: address ("A1") to text, and which cells were not
// stored as text.
struct XlsxSheet
{
    QString name;
    QMap<QString, QString> cells;
    QStringList nonTextCells;
};
struct XlsxBook
{
    QList<XlsxSheet> sheets;
    int activeSheet = 0;
    QString title;
    bool ok = false;
};
XlsxBook ReadXlsx(const QString& path);
