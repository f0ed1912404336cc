// SPDX-License-Identifier: MIT
#include "core/program/ProgramExport.h"

#include "core/base/CsvText.h"
#include "core/base/FileAccess.h"
#include "core/link/NumberText.h"
#include "core/program/ProgramText.h"

namespace ProgramExport {

namespace {

QString KindName(ProgramLogEntry::Kind kind)
{
    return kind == ProgramLogEntry::Kind::Set ? QStringLiteral("nastawa")
                                              : QStringLiteral("odczyt");
}

QString EventName(TripEvent event)
{
    switch (event) {
    case TripEvent::None:
        return {};
    case TripEvent::Trip:
        return QStringLiteral("zadziałanie");
    case TripEvent::Reset:
        return QStringLiteral("powrót");
    }
    return {};
}

QStringList Heading(const ProgramDoc& doc)
{
    return {QStringLiteral("Czas od startu [s]"),
            QStringLiteral("Data"),
            QStringLiteral("Godzina"),
            QStringLiteral("Rodzaj"),
            QStringLiteral("Segment"),
            QStringLiteral("Przebieg"),
            QStringLiteral("Nastawa [%1]").arg(ProgramText::SourceUnit(doc)),
            QStringLiteral("Odczyt [%1]").arg(ProgramText::MeasureUnit(doc)),
            QStringLiteral("Zadziałanie")};
}

// The cells of an entry as texts of the program ("12.000").
QStringList Cells(const ProgramLogEntry& e)
{
    const bool reading = e.kind == ProgramLogEntry::Kind::Reading;
    return {FormatFixed(double(e.ms) / 1000.0, 3),
            e.wall.toString(QStringLiteral("yyyy-MM-dd")),
            e.wall.toString(QStringLiteral("HH:mm:ss.zzz")),
            KindName(e.kind),
            e.segment >= 0 ? QString::number(e.segment + 1) : QString(),
            e.segment >= 0 ? QString::number(e.pass + 1) : QString(),
            e.sourceText,
            reading ? e.readingText : QString(),
            EventName(e.event)};
}

bool Refused(const ProgramRunLog& log, QString* message)
{
    if (!log.IsEmpty())
        return false;
    *message = QStringLiteral("Program nie był jeszcze uruchomiony.");
    return true;
}

bool Written(const QString& path, const QByteArray& content, const QString& what, QString* message)
{
    QString cause;
    if (WriteWholeFile(path, content, &cause))
        return true;
    *message = QStringLiteral("Nie zapisano %1 w pliku:\n%2\n%3.").arg(what, path, cause);
    return false;
}

void FillRows(ExportSheet& sheet, int row, const QStringList& heading,
              const QList<QStringList>& rows)
{
    for (int c = 0; c < heading.size(); ++c)
        sheet.SetCell(row, c, heading[c]);
    for (const QStringList& cells : rows) {
        ++row;
        for (int c = 0; c < cells.size(); ++c)
            sheet.SetCell(row, c, cells[c]);
    }
}

} // namespace

QByteArray LogCsv(const ProgramDoc& doc, const ProgramRunLog& log)
{
    QList<QStringList> rows;
    QStringList heading;
    for (const QString& h : Heading(doc))
        heading << CsvText::Field(h);
    rows << heading;
    for (const ProgramLogEntry& e : log.entries) {
        QStringList row;
        const QStringList cells = Cells(e);
        for (int c = 0; c < cells.size(); ++c)
            row << (c == 0 || c >= 4 ? CsvText::Number(cells[c]) : CsvText::Field(cells[c]));
        rows << row;
    }
    return CsvText::Document(rows);
}

ExportSheet ProgramSheet(const ProgramDoc& doc, const ProgramRunLog& log)
{
    ExportSheet sheet;
    sheet.name = QStringLiteral("Program");
    int row = 1;
    sheet.SetCell(row++, 0, QStringLiteral("Program źródła"));
    for (const auto& [label, value] : ProgramText::DefinitionLines(doc)) {
        sheet.SetCell(row, 0, label);
        sheet.SetCell(row++, 1, value);
    }
    sheet.SetCell(row, 0, QStringLiteral("Uruchomiony"));
    sheet.SetCell(row++, 1, log.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    sheet.SetCell(row, 0, QStringLiteral("Przebieg"));
    sheet.SetCell(row++, 1, log.end ? ProgramEndName(*log.end) : QStringLiteral("w toku"));
    return sheet;
}

ExportSheet LogSheet(const ProgramDoc& doc, const ProgramRunLog& log)
{
    ExportSheet sheet;
    sheet.name = QStringLiteral("Dziennik");
    QList<QStringList> rows;
    for (const ProgramLogEntry& e : log.entries)
        rows << Cells(e);
    FillRows(sheet, 1, Heading(doc), rows);
    return sheet;
}

ExportSheet TripSheet(const ProgramDoc& doc, const ProgramRunLog& log)
{
    ExportSheet sheet;
    sheet.name = QStringLiteral("Punkty zadziałania");
    if (!doc.trip.enabled) {
        sheet.SetCell(1, 0, QStringLiteral("Bez warunku zadziałania."));
        return sheet;
    }
    sheet.SetCell(1, 0, QStringLiteral("Warunek zadziałania"));
    sheet.SetCell(1, 1, ProgramText::TripConditionText(doc));
    const QList<TripPoint> points = TripPoints::FromLog(log.entries);
    FillRows(sheet, 3, ProgramText::TripHeading(doc), ProgramText::TripRows(doc, points));
    const QString spread = ProgramText::SpreadText(doc, TripPoints::Spread(points));
    if (!spread.isEmpty())
        sheet.SetCell(int(points.size()) + 5, 0, spread);
    return sheet;
}

bool SaveCsv(const QString& path, const ProgramDoc& doc, const ProgramRunLog& log, QString* message)
{
    return !Refused(log, message) &&
           Written(path, LogCsv(doc, log), QStringLiteral("dziennika"), message);
}

bool SaveWorkbook(const QString& path, const ProgramDoc& doc, const ProgramRunLog& log,
                  QString* message)
{
    if (Refused(log, message))
        return false;
    ExportWorkbook workbook;
    workbook.AddSheet(ProgramSheet(doc, log));
    workbook.AddSheet(TripSheet(doc, log));
    workbook.AddSheet(LogSheet(doc, log));
    QByteArray content;
    ExportError error;
    if (!workbook.Content(&content, &error)) {
        *message =
            QStringLiteral("Nie zapisano skoroszytu w pliku:\n%1\n%2.").arg(path, error.meaning);
        return false;
    }
    return Written(path, content, QStringLiteral("skoroszytu"), message);
}

} // namespace ProgramExport
