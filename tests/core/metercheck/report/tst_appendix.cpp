// SPDX-License-Identifier: MIT
// The texts of the report's appendix: the policy's lines, one row per measured point with its
// U, TUR and statement, and the records' short hashes.
#include "core/history/CheckRecord.h"
#include "core/metercheck/report/ConformityAppendix.h"

#include <QTest>

namespace {

CheckPointRecord Point(int position, const QString& reading, const QString& actual,
                       const QString& permissible, const QString& calibrator, bool measured = true)
{
    CheckPointRecord p;
    p.position = position;
    p.reading = reading;
    p.setting = QString::number(100 * (position + 1)) + ".000";
    p.actualError = actual;
    p.permissibleError = permissible;
    p.calibratorError = calibrator;
    p.unit = "mV";
    p.measured = measured;
    return p;
}

CheckRecord Record(DecisionRule rule)
{
    CheckRecord r;
    r.meterName = "V-640";
    r.meterNumber = "A12345";
    r.rangeValue = "400";
    r.rangeUnit = "mV";
    r.decisionRule = rule;
    r.calibrator.serialNumber = "R718-0042";
    r.points = {
        Point(0, "100.05", "0.050", "0.100", "0.012"), // U 0.0150, TUR 6.7
        Point(1, "200.10", "0.100", "0.100", "0.050"), // at the limit; U 0.0580, TUR 1.7
        Point(2, "", "", "", "", false),               // not measured: no row
        Point(3, "", "0.020", "0.150", "0"),           // nothing to divide by
    };
    return r;
}

} // namespace

class TestAppendix : public QObject
{
    Q_OBJECT

private slots:
    void policyLines()
    {
        CheckRecord record = Record(DecisionRule::GuardBand);
        const ConformityAppendix plain = BuildConformityAppendix({record});
        QCOMPARE(plain.title, "Załącznik: stwierdzenie zgodności");
        QCOMPARE(plain.lines,
                 QStringList({"Nazwa: V-640    Numer: A12345", "Zasada decyzyjna: Pasmo ochronne",
                              "Niepewność rozszerzona (k = 2): U = 2·√((e/√3)² + ((d/2)/√3)²), "
                              "e - błąd kalibratora, d - działka ostatniej cyfry wskazania",
                              "TUR = błąd dopuszczalny / U (∞ gdy U = 0); próg TUR: 4",
                              "Kalibrator: numer fabryczny R718-0042, świadectwo wzorcowania nr "
                              "nie podano",
                              "Data wzorcowania: nie podano, termin następnego wzorcowania: nie "
                              "podano"}));
        QCOMPARE(plain.turNote, "! - TUR < 4");

        record.turThreshold = 2.5;
        record.calibrator.calibratedOn = QDate(2025, 1, 15);
        record.calibrator.dueOn = QDate(2026, 1, 15);
        const QDate printedOn(2026, 1, 16);
        QCOMPARE(BuildConformityAppendix({record}, {}, printedOn).lines.last(),
                 "Uwaga: w dniu wydruku (16.01.2026) kalibrator jest po terminie wzorcowania.");
        QCOMPARE(BuildConformityAppendix({record}, {}, printedOn.addDays(-1)).lines.size(), 6);
        CheckRecord second = record;
        second.calibratorOverdue = true; // one range of the run is enough to say so
        const ConformityAppendix overdue = BuildConformityAppendix({record, second}, {}, printedOn);
        QCOMPARE(overdue.lines.mid(3),
                 QStringList({"TUR = błąd dopuszczalny / U (∞ gdy U = 0); próg TUR: 2.5",
                              "Kalibrator: numer fabryczny R718-0042, świadectwo wzorcowania nr "
                              "nie podano",
                              "Data wzorcowania: 15.01.2025, termin następnego wzorcowania: "
                              "15.01.2026",
                              "Uwaga: pomiary wykonano kalibratorem po terminie wzorcowania."}));
    }

    void rowsOfMeasuredPoints()
    {
        CheckRecord first = Record(DecisionRule::NonBinary);
        CheckRecord second = first;
        second.decisionRule = DecisionRule::GuardBand; // each record under its own rule
        const ConformityAppendix a = BuildConformityAppendix({first, second}, {"", "ab12cd34"});
        QCOMPARE(a.ranges.size(), 2);
        QCOMPARE(a.ranges[0].heading, "Zakres: 400 mV");
        QCOMPARE(a.ranges[0].shortHash, "—");
        QCOMPARE(a.ranges[1].shortHash, "ab12cd34");

        auto cells = [](const AppendixRow& r) {
            return QStringList{r.nominal, r.actualError, r.permissibleError, r.uncertainty,
                               r.unit,    r.tur,         r.statement};
        };
        const QList<AppendixRow>& rows = a.ranges[0].rows;
        QCOMPARE(rows.size(), 3);
        QCOMPARE(cells(rows[0]),
                 QStringList({"100.000", "0.050", "0.100", "0.0150", "mV", "6.7", "zgodny"}));
        QCOMPARE(cells(rows[1]), QStringList({"200.000", "0.100", "0.100", "0.0580", "mV", "1.7 !",
                                              "warunkowo zgodny"}));
        QCOMPARE(cells(rows[2]),
                 QStringList({"400.000", "0.020", "0.150", "0.0000", "mV", "∞", "zgodny"}));
        QVERIFY(!rows[0].turLow && rows[1].turLow && !rows[2].turLow);
        QCOMPARE(a.ranges[1].rows[1].statement, "niezgodny");
    }
};

QTEST_GUILESS_MAIN(TestAppendix)
#include "tst_appendix.moc"
