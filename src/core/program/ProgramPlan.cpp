// SPDX-License-Identifier: MIT
#include "core/program/ProgramPlan.h"

#include "core/link/NumberText.h"

#include <cmath>

namespace ProgramCourse {

namespace {

double Rounded(double value, int decimals)
{
    return ParseNumber(FormatFixed(value, decimals));
}

// The values from `a` towards `b` by `step`, b included.
QList<double> Run(double a, double b, double step, int decimals)
{
    QList<double> values;
    const double span = std::fabs(b - a);
    const double direction = b >= a ? 1.0 : -1.0;
    // Whole steps that fit, with room for the rounding of decimal steps (0.1 is no binary
    // fraction).
    const qint64 whole = qint64(std::floor(span / step + 1e-9));
    for (qint64 k = 0; k <= whole; ++k)
        values << Rounded(a + direction * double(k) * step, decimals);
    if (FormatFixed(values.last(), decimals) != FormatFixed(b, decimals))
        values << Rounded(b, decimals);
    return values;
}

qint64 ValueCount(const ProgramSegment& s)
{
    if (s.kind == SegmentKind::Hold)
        return 1;
    if (s.kind == SegmentKind::Repeat || !(s.step > 0))
        return 0;
    const double ratio = std::fabs(s.to - s.from) / s.step;
    const qint64 whole = qint64(std::min(std::floor(ratio + 1e-9), 1e12));
    const qint64 oneWay = whole + 1 + (std::fabs(ratio - double(whole)) > 1e-9 ? 1 : 0);
    return s.kind == SegmentKind::Ramp ? oneWay : 2 * oneWay - 1;
}

} // namespace

QString SetpointText(const ProgramSource& source, double value)
{
    return FormatFixed(value, DecimalsForFunction(source.calFunction));
}

QList<double> SegmentValues(const ProgramSegment& segment, int decimals)
{
    switch (segment.kind) {
    case SegmentKind::Hold:
        return {Rounded(segment.from, decimals)};
    case SegmentKind::Repeat:
        return {};
    case SegmentKind::Ramp:
    case SegmentKind::Staircase:
        break;
    }
    if (!(segment.step > 0))
        return {};
    QList<double> values = Run(segment.from, segment.to, segment.step, decimals);
    if (segment.kind == SegmentKind::Staircase) {
        const QList<double> back = Run(segment.to, segment.from, segment.step, decimals);
        values += back.mid(1);
    }
    return values;
}

qint64 StepCount(const ProgramDoc& doc, qint64 limit)
{
    // The steps made up to the end of each segment, repeats included.
    QList<qint64> endOf;
    qint64 total = 0;
    for (const ProgramSegment& s : doc.segments) {
        if (s.kind == SegmentKind::Repeat) {
            const qint64 before = s.firstSegment > 0 ? endOf.value(s.firstSegment - 1) : 0;
            total += (total - before) * qint64(std::max(s.times - 1, 0));
        } else {
            total += ValueCount(s);
        }
        if (total > limit)
            return limit + 1;
        endOf << total;
    }
    return total;
}

ProgramPlan Plan(const ProgramDoc& doc)
{
    const int decimals = DecimalsForFunction(doc.source.calFunction);
    ProgramPlan plan;
    QList<int> firstStepOf; // the first step of each segment
    for (int i = 0; i < doc.segments.size(); ++i) {
        const ProgramSegment& s = doc.segments[i];
        firstStepOf << int(plan.steps.size());
        if (s.kind == SegmentKind::Repeat) {
            const QList<PlannedStep> group = plan.steps.mid(firstStepOf.value(s.firstSegment));
            for (qsizetype k = plan.steps.size() - group.size(); k < plan.steps.size(); ++k)
                plan.steps[k].pass = 0;
            for (int pass = 1; pass < s.times; ++pass) {
                for (PlannedStep step : group) {
                    step.pass = pass;
                    plan.steps << step;
                }
            }
            continue;
        }
        const qint64 dwell = qint64(std::llround(s.dwellSeconds * 1000));
        for (double value : SegmentValues(s, decimals))
            plan.steps << PlannedStep{0, dwell, value, SetpointText(doc.source, value), i, 0};
    }
    qint64 at = 0;
    for (PlannedStep& step : plan.steps) {
        step.startMs = at;
        at += step.dwellMs;
    }
    plan.totalMs = at;
    return plan;
}

} // namespace ProgramCourse
