// SPDX-License-Identifier: MIT
#include "core/history/PointConformity.h"

#include "core/link/NumberText.h"
#include "core/metercheck/report/ReportClock.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

QString PointConformity::UncertaintyText() const
{
    if (!measured)
        return QString();
    if (uncertainty <= 0.0)
        return QStringLiteral("0");
    // Two significant digits, never in exponent form.
    const int decimals = std::max(0, 1 - int(std::floor(std::log10(uncertainty))));
    return FormatFixed(uncertainty, std::min(decimals, 17));
}

QString PointConformity::TurText() const
{
    return measured ? ::TurText(tur) : QString();
}

QString PointConformity::StatementText() const
{
    return measured ? ::StatementText(statement) : QString();
}

PointConformity JudgePoint(const CheckRecord& record, const CheckPointRecord& point)
{
    PointConformity judged;
    judged.measured = point.measured;
    if (!point.measured)
        return judged;
    judged.uncertainty = ExpandedUncertainty(point.calibratorError, point.reading);
    const double permissible = ParseNumber(point.permissibleError);
    judged.tur = TestUncertaintyRatio(permissible, judged.uncertainty);
    judged.turLow = TurBelow(judged.tur, record.turThreshold);
    judged.statement = Statement(record.decisionRule, ParseNumber(point.actualError), permissible,
                                 judged.uncertainty);
    return judged;
}

QString PolicyLine(const CheckRecord& record)
{
    return QStringLiteral("Reguła decyzyjna: %1; próg TUR: %2")
        .arg(DecisionRuleText(record.decisionRule),
             QString::number(record.turThreshold, 'g', QLocale::FloatingPointShortest));
}

QString CalibratorLine(const CheckRecord& record)
{
    const CalibratorTraceability& c = record.calibrator;
    QStringList parts;
    if (!c.serialNumber.isEmpty())
        parts << QStringLiteral("Kalibrator nr %1").arg(c.serialNumber);
    if (!c.certificateNumber.isEmpty())
        parts << QStringLiteral("świadectwo %1").arg(c.certificateNumber);
    if (c.calibratedOn.isValid())
        parts << QStringLiteral("wzorcowany %1").arg(ReportDateText(c.calibratedOn));
    if (c.dueOn.isValid())
        parts << QStringLiteral("ważny do %1").arg(ReportDateText(c.dueOn));
    QString line = parts.join(QStringLiteral(", "));
    if (record.calibratorOverdue)
        line = line.isEmpty() ? QStringLiteral("Kalibrator użyty po terminie wzorcowania")
                              : line + QStringLiteral("; użyty po terminie wzorcowania");
    return line;
}
