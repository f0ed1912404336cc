// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ExportWorkbook.h"

#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/report/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

namespace {

constexpr int maxSheetName = 31; // the spreadsheet's limit

// Characters no sheet name may hold.
QString CleanSheetName(QString name)
{
    for (QChar& c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    if (name.startsWith(QLatin1Char('\'')))
        name[0] = QLatin1Char('_');
    if (name.endsWith(QLatin1Char('\'')))
        name[name.size() - 1] = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("Zakres");
    return name;
}

bool NameTaken(const QList<ExportSheet>& sheets, const QString& name)
{
    for (const ExportSheet& s : sheets) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

ExportError LibraryError(lxw_error code)
{
    return {quint32(code), QString::fromUtf8(lxw_strerror(code))};
}

// Writes the workbook with the spreadsheet library to a file of its own.
bool WriteXlsx(const QList<ExportSheet>& sheets, const QString& path, ExportError* error)
{
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(fileName.constData());
    if (!book) {
        *error = LibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return false;
    }
    lxw_doc_properties properties = {};
    char title[] = "R718";
    properties.title = title;
    workbook_set_properties(book, &properties);

    lxw_worksheet* last = nullptr;
    for (const ExportSheet& sheet : sheets) {
        const QByteArray name = sheet.name.toUtf8();
        lxw_error nameError = workbook_validate_sheet_name(book, name.constData());
        lxw_worksheet* ws =
            nameError == LXW_NO_ERROR ? workbook_add_worksheet(book, name.constData()) : nullptr;
        if (!ws) {
            *error = LibraryError(nameError != LXW_NO_ERROR ? nameError
                                                            : LXW_ERROR_MEMORY_MALLOC_FAILED);
            lxw_workbook_free(book);
            return false;
        }
        worksheet_set_column(ws, 0, 4, 26, nullptr);
        worksheet_set_column(ws, 5, 6, 8, nullptr);
        for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
            const QStringList& row = sheet.rows[r];
            for (qsizetype c = 0; c < row.size(); ++c) {
                if (row[c].isEmpty())
                    continue;
                const QByteArray text = row[c].toUtf8();
                lxw_error cellError = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c),
                                                             text.constData(), nullptr);
                if (cellError != LXW_NO_ERROR) {
                    *error = LibraryError(cellError);
                    lxw_workbook_free(book);
                    return false;
                }
            }
        }
        last = ws;
    }
    if (last)
        worksheet_activate(last);
    const lxw_error closeError = workbook_close(book);
    if (closeError != LXW_NO_ERROR) {
        *error = LibraryError(closeError);
        return false;
    }
    return true;
}

} // namespace

void ExportSheet::SetCell(int row, int column, const QString& text)
{
    while (rows.size() < row)
        rows.append(QStringList());
    QStringList& cells = rows[row - 1];
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
}

QString ExportSheet::Cell(int row, int column) const
{
    if (row < 1 || row > rows.size() || column < 0 || column >= rows[row - 1].size())
        return QString();
    return rows[row - 1][column];
}

QString ExportWorkbook::UniqueSheetName(const QString& wanted) const
{
    const QString base = CleanSheetName(wanted);
    QString name = base.left(maxSheetName);
    for (int n = 2; NameTaken(sheets, name); ++n) {
        const QString suffix = QStringLiteral(" %1").arg(n);
        name = base.left(maxSheetName - suffix.size()) + suffix;
    }
    return name;
}

QString ExportWorkbook::AddSheet(ExportSheet sheet)
{
    sheet.name = UniqueSheetName(sheet.name);
    sheets.append(sheet);
    return sheets.last().name;
}

bool ExportWorkbook::Content(QByteArray* content, ExportError* error) const
{
    ExportError ignored;
    if (!error)
        error = &ignored;

    // The library writes files only: it writes a scratch file that is read back.
    QTemporaryFile scratch(QDir::tempPath() + QStringLiteral("/r718-export-XXXXXX.xlsx"));
    if (!scratch.open()) {
        *error = {quint32(scratch.error()), scratch.errorString()};
        return false;
    }
    scratch.close();
    if (!WriteXlsx(sheets, scratch.fileName(), error))
        return false;
    if (!scratch.open()) {
        *error = {quint32(scratch.error()), scratch.errorString()};
        return false;
    }
    *content = scratch.readAll();
    if (scratch.error() != QFileDevice::NoError) {
        *error = {quint32(scratch.error()), scratch.errorString()};
        return false;
    }
    return true;
}

QString RangeSheetName(const MeterCheckDoc& doc, int range)
{
    const MeterRange& r = doc.ranges[range];
    return QStringLiteral("Zakres (") + r.rangeValue + QLatin1Char(' ') + r.rangeUnit +
           QLatin1Char(')');
}

void ExportRangeToExcel(ExportWorkbook& workbook, const MeterCheckDoc& doc, int range)
{
    // The columns by their letters.
    constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6;
    const MeterRange& r = doc.ranges[range];

    ExportSheet sheet;
    sheet.name = RangeSheetName(doc, range);
    sheet.SetCell(1, A, QStringLiteral("Protokół sprawdzania miernika"));
    sheet.SetCell(2, A, QStringLiteral("Nazwa:"));
    sheet.SetCell(2, B, doc.meterName);
    sheet.SetCell(3, A, QStringLiteral("Numer:"));
    sheet.SetCell(3, B, doc.meterNumber);
    sheet.SetCell(4, A, MethodText(doc.method));
    sheet.SetCell(
        2, E, QStringLiteral("Zakres miernika: ") + r.rangeValue + QLatin1Char(' ') + r.rangeUnit);
    sheet.SetCell(3, E, ClassText(r));
    sheet.SetCell(4, E, SensorText(r));

    sheet.SetCell(6, A, QStringLiteral("Wskazanie miernika"));
    sheet.SetCell(6, B, QStringLiteral("Nastawa kalibratora"));
    sheet.SetCell(6, C, QStringLiteral("Bład miernika rzeczywisty"));
    sheet.SetCell(6, D, QStringLiteral("Błąd miernika dopuszczalny"));
    sheet.SetCell(6, E, QStringLiteral("Błąd kalibratora"));
    sheet.SetCell(6, F, QStringLiteral("j.m."));
    sheet.SetCell(6, G, QStringLiteral("ON"));

    const int n = CountPoints(doc, range);
    for (int j = 0; j < n; ++j) {
        const MeterPoint& p = r.points[j];
        const int row = 7 + j;
        sheet.SetCell(row, A, p.reading);
        sheet.SetCell(row, B, p.setting);
        sheet.SetCell(row, C, p.actualError);
        sheet.SetCell(row, D, p.permissibleError);
        sheet.SetCell(row, E, p.calibratorError);
        sheet.SetCell(row, F, p.unit);
        if (p.marked == 1)
            sheet.SetCell(row, G, QStringLiteral("+"));
    }
    workbook.AddSheet(sheet);
}
