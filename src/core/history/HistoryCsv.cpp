// SPDX-License-Identifier: MIT
#include "core/history/HistoryCsv.h"

#include "core/base/CsvText.h"
#include "core/base/FileAccess.h"
#include "core/history/CheckRecord.h"
#include "core/history/HistoryFiles.h"
#include "core/metercheck/report/ReportClock.h"
#include "core/metercheck/report/ReportTexts.h"

#include <QDir>
#include <QStringList>

namespace {

using CsvText::Field;
using CsvText::Number;

QString Flag(bool on)
{
    return on ? QStringLiteral("tak") : QStringLiteral("nie");
}

} // namespace

QByteArray HistoryCsv(const QList<CheckRecord>& checks)
{
    QList<QStringList> lines;
    lines << QStringList({"Data",
                          "Godzina",
                          "Nazwa miernika",
                          "Numer miernika",
                          "Metoda",
                          "Zakres",
                          "Jednostka zakresu",
                          "Czujnik",
                          "Klasa",
                          "Wynik",
                          "Punkt",
                          "Wskazanie miernika",
                          "Nastawa kalibratora",
                          "Błąd rzeczywisty",
                          "Błąd dopuszczalny",
                          "Błąd kalibratora",
                          "j.m.",
                          "ON",
                          "Zmierzony",
                          "Przekroczony",
                          "Identyfikator sprawdzenia",
                          "Komputer",
                          "Użytkownik"});
    for (const CheckRecord& c : checks) {
        const QStringList check = {
            ReportDateText(c.checkedAt.date()),
            ReportTimeText(c.checkedAt.time()),
            Field(c.meterName),
            Field(c.meterNumber),
            Field(MethodText(CheckMethod(c.method))),
            Number(c.rangeValue),
            Field(c.rangeUnit),
            Field(c.sensorText),
            Field(c.classText),
            c.VerdictText(),
        };
        for (const CheckPointRecord& p : c.points) {
            QStringList row = check;
            row << QString::number(p.position + 1) << Number(p.reading) << Number(p.setting)
                << Number(p.actualError) << Number(p.permissibleError) << Number(p.calibratorError)
                << Field(p.unit) << (p.marked ? QStringLiteral("+") : QString()) << Flag(p.measured)
                << Flag(p.exceeded) << c.id << Field(c.computer) << Field(c.user);
            lines << row;
        }
    }
    return CsvText::Document(lines);
}

QString WriteHistoryCsv(const QString& path, const QList<CheckRecord>& checks)
{
    QString cause;
    if (IsLocalHistoryFile(path))
        cause = QStringLiteral("To jest plik bazy danych historii sprawdzeń");
    else
        WriteWholeFile(path, HistoryCsv(checks), &cause);
    if (!cause.isEmpty())
        return QStringLiteral("Nie zapisano historii sprawdzeń w pliku:\n%1\n%2.")
            .arg(QDir::toNativeSeparators(path), cause);
    return QString();
}
