// SPDX-License-Identifier: MIT
#include "core/history/HistoryCsv.h"

#include "core/base/CsvText.h"
#include "core/base/FileAccess.h"
#include "core/history/CheckRecord.h"
#include "core/history/HistoryFiles.h"
#include "core/history/PointConformity.h"
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
    const QString rule = Field(DecisionRuleText(c.decisionRule));
    // Each point's row appended field by field to the one text of the check's rows.
    QString rows;
    rows.reserve(c.points.size() * (check.size() + who.size() + rule.size() + 160));
    const auto add = [&rows](const QString& field) {
        rows += field;
        rows += QLatin1Char(';');
    };
    for (const CheckPointRecord& p : c.points) {
        add(check);
        add(QString::number(p.position + 1));
        add(Number(p.reading));
        add(Number(p.setting));
        add(Number(p.actualError));
        add(Number(p.permissibleError));
        add(Number(p.calibratorError));
        add(Field(p.unit));
        add(p.marked ? QStringLiteral("+") : QString());
        add(Flag(p.measured));
        add(Flag(p.exceeded));
        add(who);
        // The point under the record's own rule, at the end of the row.
        const PointConformity judged = JudgePoint(c, p);
        add(rule);
        add(Number(judged.UncertaintyText()));
        add(Number(judged.TurText()));
        add(Field(judged.StatementText()));
        rows += Flag(judged.turLow);
        rows += QLatin1String("\r\n");
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


QString WriteHistoryCsv(const QString& path, const QList<CheckRecord>& checks)
{
    HistoryCsvFile csv;
    QString error = csv.Open(path);
    for (qsizetype i = 0; error.isEmpty() && i < checks.size(); ++i)
        error = csv.Add(checks[i]);
    return error.isEmpty() ? csv.Commit() : error;
}
