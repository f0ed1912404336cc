// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerExport.h"

#include "core/base/FileAccess.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/transducer/TransducerMath.h"
#include "core/transducer/TransducerText.h"

namespace TransducerExport {

namespace {

QString Number(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

QList<QPair<QString, QString>> DefinitionLines(const TransducerDoc& doc)
{
    const TransducerInstrument& i = doc.instrument;
    const TransducerInput& in = doc.input;
    QString input = CalFunctionTable[in.calFunction].sensorName;
    if (CalFunctions::IsThermocouple(in.calFunction)) {
        const QString junctions[] = {
            QStringLiteral("Tex"), QStringLiteral("Tin"),
            QStringLiteral("To = %1 °C").arg(FormatFixed(in.referenceTemperature, 1))};
        input += QStringLiteral(", spoina odniesienia ") + junctions[int(in.coldJunction)];
    }
    if (CalFunctions::IsResistanceThermometer(in.calFunction) && !in.leadResistance.isEmpty())
        input += QStringLiteral(", RL = %1 Ohm").arg(in.leadResistance);
    QString transfer = doc.transfer == TransferFunction::Linear
                           ? QStringLiteral("liniowa")
                           : QStringLiteral("pierwiastkowa, odcięcie poniżej %1 % wejścia")
                                 .arg(Number(doc.lowFlowCutoffPercent));
    QString tolerance = QStringLiteral("± %1 % zakresu").arg(Number(doc.tolerance.percentOfSpan));
    if (doc.tolerance.percentOfReading > 0)
        tolerance += QStringLiteral(" + %1 % wartości").arg(Number(doc.tolerance.percentOfReading));
    QStringList points;
    for (double p : doc.points)
        points << Number(p);
    return {
        {QStringLiteral("Oznaczenie"), i.tag},
        {QStringLiteral("Nazwa"), i.name},
        {QStringLiteral("Nr fabryczny"), i.serialNumber},
        {QStringLiteral("Producent / typ"),
         QStringList{i.maker, i.model}.join(QLatin1Char(' ')).trimmed()},
        {QStringLiteral("Wejście"), input},
        {QStringLiteral("Zakres wejścia"),
         QStringLiteral("%1 ... %2 %3")
             .arg(Number(in.lower), Number(in.upper), TransducerText::InputUnit(doc))},
        {QStringLiteral("Zakres wyjścia"),
         QStringLiteral("%1 ... %2 %3")
             .arg(Number(doc.output.lower), Number(doc.output.upper),
                  TransducerText::OutputUnit(doc))},
        {QStringLiteral("Funkcja przetwarzania"), transfer},
        {QStringLiteral("Błąd dopuszczalny"), tolerance},
        {QStringLiteral("Punkty [% wejścia]"), points.join(QStringLiteral(", "))},
        {QStringLiteral("Czas ustalania / odczyty"),
         QStringLiteral("%1 s / %2").arg(Number(doc.settlingSeconds)).arg(doc.readingsAveraged)},
        {QStringLiteral("Uwagi"), i.notes},
    };
}

ExportSheet RunSheet(const TransducerDoc& doc, RunKind kind)
{
    const TransducerRunResult& run = doc.Run(kind);
    ExportSheet sheet;
    const QString name = TransducerText::RunName(kind);
    sheet.name = name.left(1).toUpper() + name.mid(1);
    int row = 1;
    sheet.SetCell(row++, 0, QStringLiteral("Sprawdzenie przetwornika %1").arg(name));
    for (const auto& [label, value] : DefinitionLines(doc)) {
        sheet.SetCell(row, 0, label);
        sheet.SetCell(row++, 1, value);
    }
    sheet.SetCell(row, 0, QStringLiteral("Data"));
    sheet.SetCell(row++, 1, run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    sheet.SetCell(row, 0, QStringLiteral("Przebieg"));
    sheet.SetCell(row++, 1, TransducerText::RunEndName(run.end));
    ++row;
    const QString in = TransducerText::InputUnit(doc);
    const QString out = TransducerText::OutputUnit(doc);
    const QStringList heading{QStringLiteral("Punkt [%]"),
                              QStringLiteral("Wejście [%1]").arg(in),
                              QStringLiteral("Oczekiwane [%1]").arg(out),
                              QStringLiteral("Zmierzone [%1]").arg(out),
                              QStringLiteral("Błąd [% zakresu]"),
                              QStringLiteral("Dopuszczalny [%]"),
                              QStringLiteral("Wynik")};
    for (int c = 0; c < heading.size(); ++c)
        sheet.SetCell(row, c, heading[c]);
    ++row;
    for (const TransducerPointResult& p : run.points) {
        const QStringList cells = TransducerText::PointCells(doc, p, QString());
        for (int c = 0; c < cells.size(); ++c)
            sheet.SetCell(row, c, cells[c]);
        ++row;
    }
    ++row;
    sheet.SetCell(row, 0, QStringLiteral("Wynik"));
    sheet.SetCell(row, 1, TransducerText::RunVerdictName(TransducerMath::VerdictOf(doc, run)));
    return sheet;
}

bool SaveWorkbook(const QString& path, const TransducerDoc& doc, QString* message)
{
    ExportWorkbook workbook;
    for (RunKind kind : {RunKind::AsFound, RunKind::AsLeft}) {
        if (!doc.Run(kind).IsEmpty())
            workbook.AddSheet(RunSheet(doc, kind));
    }
    if (workbook.Sheets().isEmpty()) {
        *message = QStringLiteral("Nie przeprowadzono jeszcze pomiarów.");
        return false;
    }
    QByteArray content;
    ExportError error;
    QString cause;
    if (!workbook.Content(&content, &error))
        cause = error.meaning;
    else if (WriteWholeFile(path, content, &cause))
        return true;
    *message = QStringLiteral("Nie zapisano skoroszytu w pliku:\n%1\n%2.").arg(path, cause);
    return false;
}

} // namespace TransducerExport
