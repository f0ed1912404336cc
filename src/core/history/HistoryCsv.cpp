// SPDX-License-Identifier: MIT
#include "core/history/HistoryCsv.h"

#include "core/base/FileAccess.h"
#include "core/history/CheckRecord.h"
#include "core/history/HistoryFiles.h"
#include "core/history/PointConformity.h"
#include "core/metercheck/report/ReportClock.h"
#include "core/metercheck/report/ReportTexts.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

namespace {

// A text field. One that a spreadsheet would take for a formula (=, +, -, @, a tab or a
// carriage return first) gets an apostrophe before it and stays a text; one with a separator,
// a quote, a line break or spaces at its ends is quoted.
QString Field(const QString& text)
{
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\\t\\r]"));
    static const QRegularExpression special(QStringLiteral("[;\"\\r\\n]|^\\s|\\s$"));
    QString field = text.contains(formula) ? QLatin1Char('\'') + text : text;
    if (!field.contains(special))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// A number text of the program ("-0.120", "12.") with a decimal comma, never taken for a
// formula; anything else is a text field.
QString Number(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d*)?$"));
    if (!number.match(text).hasMatch())
        return Field(text);
    QString n = text;
    if (n.endsWith(QLatin1Char('.')))
        n.chop(1);
    return n.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString Flag(bool on)
{
    return on ? QStringLiteral("tak") : QStringLiteral("nie");
}

} // namespace

QByteArray HistoryCsv(const QList<CheckRecord>& checks)
{
    QStringList lines;
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
                          "Użytkownik",
                          "Reguła decyzyjna",
                          "Niepewność U",
                          "TUR",
                          "Stwierdzenie",
                          "TUR poniżej progu"})
                 .join(QLatin1Char(';'));
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
            // The point under the record's own rule, at the end of the row.
            const PointConformity judged = JudgePoint(c, p);
            row << Field(DecisionRuleText(c.decisionRule)) << Number(judged.UncertaintyText())
                << Number(judged.TurText()) << Field(judged.StatementText())
                << Flag(judged.turLow);
            lines << row.join(QLatin1Char(';'));
        }
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QString CsvTextField(const QString& text)
{
    return Field(text);
}

QString CsvNumberField(const QString& text)
{
    return Number(text);
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
