// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerText.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/transducer/TransducerMath.h"

#include <QJsonArray>

namespace TransducerText {

namespace {

QString Signed(double value, int decimals)
{
    const QString text = FormatFixed(value, decimals);
    return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char('+') + text;
}

// Percentages as a person would write them: 0.5, not 0.5000000000000004.
double Rounded(double percent)
{
    return ParseNumber(FormatFixed(percent, 6));
}

const char* const verdictKeys[] = {"pass", "fail", "out-of-range"};
const char* const runVerdictKeys[] = {"pass", "fail", "incomplete"};
const char* const endKeys[] = {"completed", "stopped", "link-lost"};

} // namespace

QString RunName(RunKind kind)
{
    return kind == RunKind::AsFound ? QStringLiteral("przed regulacją")
                                    : QStringLiteral("po regulacji");
}

QString PointVerdictName(PointVerdict verdict)
{
    switch (verdict) {
    case PointVerdict::Pass:
        return QStringLiteral("zgodny");
    case PointVerdict::Fail:
        return QStringLiteral("niezgodny");
    case PointVerdict::OutOfRange:
        return QStringLiteral("poza zakresem");
    }
    return {};
}

QString RunVerdictName(RunVerdict verdict)
{
    switch (verdict) {
    case RunVerdict::Pass:
        return QStringLiteral("ZGODNY");
    case RunVerdict::Fail:
        return QStringLiteral("NIEZGODNY");
    case RunVerdict::Incomplete:
        return QStringLiteral("NIEPEŁNY");
    }
    return {};
}

QString RunEndName(RunEnd end)
{
    switch (end) {
    case RunEnd::Completed:
        return QStringLiteral("zakończony");
    case RunEnd::Stopped:
        return QStringLiteral("przerwany przez operatora");
    case RunEnd::LinkLost:
        return QStringLiteral("przerwany: brak komunikacji z kalibratorem");
    }
    return {};
}

QString InputUnit(const TransducerDoc& doc)
{
    return CalFunctionTable[doc.input.calFunction].unitText;
}

QString OutputUnit(const TransducerDoc& doc)
{
    const MeasureRange* range = MeasureRangeTable::Find(doc.output.measureRange);
    return range ? range->unit : QString();
}

QStringList PointCells(const TransducerDoc& doc, const TransducerPointResult& point,
                       const QString& missing)
{
    const int decimals = TransducerMath::OutputDecimals(doc.output);
    const bool mark = point.verdict == PointVerdict::OutOfRange;
    return {FormatFixed(point.percent, 1),
            point.inputText,
            FormatFixed(point.expected, decimals),
            mark ? missing : FormatFixed(point.measured, decimals),
            mark ? missing : Signed(point.errorPercent, 3),
            FormatFixed(point.limitPercent, 3),
            PointVerdictName(point.verdict)};
}

QString RunTable(const TransducerDoc& doc, RunKind kind)
{
    const TransducerRunResult& run = doc.Run(kind);
    const QString inUnit = InputUnit(doc);
    const QString outUnit = OutputUnit(doc);
    QString text = QStringLiteral("Sprawdzenie %1: %2\n").arg(RunName(kind), RunEndName(run.end));
    text += QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
                .arg(QStringLiteral("%"), 6)
                .arg(QStringLiteral("Wejście [%1]").arg(inUnit), 16)
                .arg(QStringLiteral("Oczekiwane [%1]").arg(outUnit), 16)
                .arg(QStringLiteral("Zmierzone [%1]").arg(outUnit), 16)
                .arg(QStringLiteral("Błąd [%]"), 9)
                .arg(QStringLiteral("Dop. [%]"), 9)
                .arg(QStringLiteral("Wynik"));
    for (const TransducerPointResult& p : run.points) {
        const QStringList c = PointCells(doc, p, QStringLiteral("---"));
        text += QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
                    .arg(c[0], 6)
                    .arg(c[1], 16)
                    .arg(c[2], 16)
                    .arg(c[3], 16)
                    .arg(c[4], 9)
                    .arg(c[5], 9)
                    .arg(c[6]);
    }
    text += QStringLiteral("Wynik: %1\n").arg(RunVerdictName(TransducerMath::VerdictOf(doc, run)));
    return text;
}

QJsonObject RunJson(const TransducerDoc& doc, RunKind kind)
{
    const TransducerRunResult& run = doc.Run(kind);
    QJsonArray points;
    for (const TransducerPointResult& p : run.points) {
        QJsonObject o{{QStringLiteral("percent"), p.percent},
                      {QStringLiteral("input"), p.inputText},
                      {QStringLiteral("expected"), p.expected},
                      {QStringLiteral("limit"), Rounded(p.limitPercent)},
                      {QStringLiteral("verdict"), QLatin1String(verdictKeys[int(p.verdict)])}};
        if (p.verdict != PointVerdict::OutOfRange) {
            o.insert(QStringLiteral("measured"), p.measured);
            o.insert(QStringLiteral("error"), Rounded(p.errorPercent));
        }
        points.append(o);
    }
    return {{QStringLiteral("run"),
             kind == RunKind::AsFound ? QStringLiteral("as-found") : QStringLiteral("as-left")},
            {QStringLiteral("end"), QLatin1String(endKeys[int(run.end)])},
            {QStringLiteral("verdict"),
             QLatin1String(runVerdictKeys[int(TransducerMath::VerdictOf(doc, run))])},
            {QStringLiteral("inputUnit"), InputUnit(doc)},
            {QStringLiteral("outputUnit"), OutputUnit(doc)},
            {QStringLiteral("points"), points}};
}

} // namespace TransducerText
