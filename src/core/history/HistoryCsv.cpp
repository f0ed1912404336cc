// SPDX-License-Identifier: MIT
#include "core/history/HistoryCsv.h"

#include "core/base/FileAccess.h"
#include "core/history/CheckRecord.h"
#include "core/history/HistoryFiles.h"
#include "core/history/PointConformity.h"
#include "core/metercheck/report/ReportClock.h"
#include "core/metercheck/report/ReportTexts.h"

#include <QDir>
#include <QStringList>

namespace {

// The spaces of the C locale: a field beginning or ending with one is quoted.
bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// A text field. One that a spreadsheet would take for a formula (=, +, -, @, a tab or a
// carriage return first) gets an apostrophe before it and stays a text; one with a separator,
// a quote, a line break or spaces at its ends is quoted. Checked character by character: an
// export runs this for every field of every point.
QString Field(const QString& text)
{
    const bool formula = !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
    QString field = formula ? QLatin1Char('\'') + text : text;
    const bool special = !field.isEmpty() && (IsSpace(field.front()) || IsSpace(field.back()) ||
                                              field.contains(QLatin1Char(';')) ||
                                              field.contains(QLatin1Char('"')) ||
                                              field.contains(QLatin1Char('\r')) ||
                                              field.contains(QLatin1Char('\n')));
    if (!special)
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// "-12", "12.", "12.50": an optional minus, digits, and a point with digits or none after it.
bool IsNumberText(QStringView text)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < text.size() && text[i] == u'.')
        ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return i == text.size();
}

// A number text of the program ("-0.120", "12.") with a decimal comma, never taken for a
// formula; anything else is a text field.
QString Number(const QString& text)
{
    if (!IsNumberText(text))
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

QByteArray HistoryCsvHeader()
{
    const QStringList header = {"Data",
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
                                "TUR poniżej progu"};
    return QByteArray("\xEF\xBB\xBF") + header.join(QLatin1Char(';')).toUtf8() + "\r\n";
}

QByteArray HistoryCsvRows(const CheckRecord& c)
{
    if (c.points.isEmpty())
        return QByteArray();
    const QString check = QStringList{
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
    }.join(QLatin1Char(';'));
    const QString who = QStringList{c.id, Field(c.computer), Field(c.user)}.join(QLatin1Char(';'));
    QString rows;
    for (const CheckPointRecord& p : c.points) {
        const QStringList point = {QString::number(p.position + 1),
                                   Number(p.reading),
                                   Number(p.setting),
                                   Number(p.actualError),
                                   Number(p.permissibleError),
                                   Number(p.calibratorError),
                                   Field(p.unit),
                                   p.marked ? QStringLiteral("+") : QString(),
                                   Flag(p.measured),
                                   Flag(p.exceeded)};
        // The point under the record's own rule, at the end of the row.
        const PointConformity judged = JudgePoint(c, p);
        const QStringList conformity = {Field(DecisionRuleText(c.decisionRule)),
                                        Number(judged.UncertaintyText()),
                                        Number(judged.TurText()),
                                        Field(judged.StatementText()),
                                        Flag(judged.turLow)};
        rows += check + QLatin1Char(';') + point.join(QLatin1Char(';')) + QLatin1Char(';') + who +
                QLatin1Char(';') + conformity.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return rows.toUtf8();
}

QByteArray HistoryCsv(const QList<CheckRecord>& checks)
{
    QByteArray csv = HistoryCsvHeader();
    for (const CheckRecord& c : checks)
        csv += HistoryCsvRows(c);
    return csv;
}

QString HistoryCsvFile::Failed(const QString& cause) const
{
    return QStringLiteral("Nie zapisano historii sprawdzeń w pliku:\n%1\n%2.")
        .arg(QDir::toNativeSeparators(path), cause);
}

QString HistoryCsvFile::Open(const QString& target)
{
    path = target;
    if (IsLocalHistoryFile(path))
        return Failed(QStringLiteral("To jest plik bazy danych historii sprawdzeń"));
    QString cause;
    if (!file.Open(path, &cause) || !file.Write(HistoryCsvHeader(), &cause))
        return Failed(cause);
    return QString();
}

QString HistoryCsvFile::Add(const CheckRecord& check)
{
    QString cause;
    return file.Write(HistoryCsvRows(check), &cause) ? QString() : Failed(cause);
}

QString HistoryCsvFile::Commit()
{
    QString cause;
    return file.Commit(&cause) ? QString() : Failed(cause);
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
    HistoryCsvFile csv;
    QString error = csv.Open(path);
    for (qsizetype i = 0; error.isEmpty() && i < checks.size(); ++i)
        error = csv.Add(checks[i]);
    return error.isEmpty() ? csv.Commit() : error;
}
