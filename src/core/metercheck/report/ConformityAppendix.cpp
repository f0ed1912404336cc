// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ConformityAppendix.h"

#include "core/history/CheckRecord.h"
#include "core/lab/DecisionRule.h"
#include "core/link/NumberText.h"
#include "core/metercheck/report/ReportClock.h"

namespace {

const QString notGiven = QStringLiteral("nie podano");

QString OrNotGiven(const QString& text)
{
    return text.isEmpty() ? notGiven : text;
}

QString DateOrNotGiven(const QDate& date)
{
    return date.isValid() ? ReportDateText(date) : notGiven;
}

int Decimals(const QString& numberText)
{
    const qsizetype point = numberText.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(numberText.size() - point - 1);
}

// "4", "4.5": the threshold as the lab typed it.
QString ThresholdText(double threshold)
{
    return QString::number(threshold);
}

AppendixRow RowOf(const CheckRecord& record, const CheckPointRecord& p)
{
    const double actual = ParseNumber(p.actualError);
    const double permissible = ParseNumber(p.permissibleError);
    const double u = ExpandedUncertainty(p.calibratorError, p.reading);
    const std::optional<double> tur = TestUncertaintyRatio(permissible, u);

    AppendixRow row;
    row.nominal = p.NominalText(record.method);
    row.actualError = p.actualError;
    row.permissibleError = p.permissibleError;
    // One digit more than the error itself is read with.
    row.uncertainty = FormatFixed(u, Decimals(p.actualError.trimmed()) + 1);
    row.unit = p.unit;
    row.turLow = TurBelow(tur, record.turThreshold);
    row.tur = TurText(tur) + (row.turLow ? QString::fromUtf8(lowTurMark) : QString());
    row.statement = StatementText(Statement(record.decisionRule, actual, permissible, u));
    return row;
}

} // namespace

ConformityAppendix BuildConformityAppendix(const QList<CheckRecord>& records,
                                           const QStringList& shortHashes, const QDate& printedOn)
{
    ConformityAppendix appendix;
    appendix.title = QString::fromUtf8(appendixTitle);
    if (records.isEmpty())
        return appendix;
    const CheckRecord& first = records.first();
    const CalibratorTraceability& c = first.calibrator;
    appendix.lines
        << QStringLiteral("Nazwa: %1    Numer: %2").arg(first.meterName, first.meterNumber)
        << QStringLiteral("Zasada decyzyjna: %1").arg(DecisionRuleText(first.decisionRule))
        << QStringLiteral("Niepewność rozszerzona (k = 2): U = 2·√((e/√3)² + "
                          "((d/2)/√3)²), e - błąd kalibratora, d - działka ostatniej "
                          "cyfry wskazania")
        << QStringLiteral("TUR = błąd dopuszczalny / U (∞ gdy U = 0); próg TUR: %1")
               .arg(ThresholdText(first.turThreshold))
        << QStringLiteral("Kalibrator: numer fabryczny %1, świadectwo wzorcowania nr %2")
               .arg(OrNotGiven(c.serialNumber), OrNotGiven(c.certificateNumber))
        << QStringLiteral("Data wzorcowania: %1, termin następnego wzorcowania: %2")
               .arg(DateOrNotGiven(c.calibratedOn), DateOrNotGiven(c.dueOn));
    bool overdue = false;
    for (const CheckRecord& r : records)
        overdue = overdue || r.calibratorOverdue;
    if (overdue)
        appendix.lines << QStringLiteral("Uwaga: pomiary wykonano kalibratorem po terminie "
                                         "wzorcowania.");
    else if (c.OverdueOn(printedOn))
        appendix.lines << QStringLiteral("Uwaga: w dniu wydruku (%1) kalibrator jest po terminie "
                                         "wzorcowania.")
                              .arg(ReportDateText(printedOn));
    appendix.turNote =
        QStringLiteral("%1 - TUR < %2")
            .arg(QString::fromUtf8(lowTurMark).trimmed(), ThresholdText(first.turThreshold));

    for (int i = 0; i < records.size(); ++i) {
        const CheckRecord& record = records[i];
        AppendixRange range;
        range.heading = QStringLiteral("Zakres: ") + record.RangeText();
        const QString hash = shortHashes.value(i);
        range.shortHash = hash.isEmpty() ? QStringLiteral("—") : hash;
        for (const CheckPointRecord& p : record.points) {
            if (p.measured)
                range.rows << RowOf(record, p);
        }
        appendix.ranges << range;
    }
    return appendix;
}
