// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerMath.h"

#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"

#include <cmath>

namespace TransducerMath {

namespace {
// Errors are computed from decimal readings: a point exactly on its limit must not fail on
// the last bit of a double.
constexpr double limitSlack = 1e-9;
} // namespace

double InputAt(const TransducerInput& input, double percent)
{
    return input.lower + percent / 100.0 * (input.upper - input.lower);
}

QString SetpointText(const TransducerInput& input, double percent)
{
    return FormatFixed(InputAt(input, percent), DecimalsForFunction(input.calFunction));
}

double ExpectedOutput(const TransducerDoc& doc, double percent)
{
    double fraction = percent / 100.0;
    if (doc.transfer == TransferFunction::SquareRoot)
        fraction = percent < doc.lowFlowCutoffPercent ? 0.0 : std::sqrt(qMax(fraction, 0.0));
    return doc.output.lower + fraction * (doc.output.upper - doc.output.lower);
}

double OutputSpan(const TransducerOutput& output)
{
    return std::fabs(output.upper - output.lower);
}

double ErrorPercentOfSpan(const TransducerOutput& output, double expected, double measured)
{
    return (measured - expected) / OutputSpan(output) * 100.0;
}

double LimitPercentOfSpan(const TransducerDoc& doc, double expected)
{
    return doc.tolerance.percentOfSpan +
           doc.tolerance.percentOfReading * std::fabs(expected) / OutputSpan(doc.output);
}

TransducerPointResult EvaluatePoint(const TransducerDoc& doc, double percent, double measured)
{
    TransducerPointResult p;
    p.percent = percent;
    p.inputText = SetpointText(doc.input, percent);
    p.expected = ExpectedOutput(doc, percent);
    p.measured = measured;
    p.errorPercent = ErrorPercentOfSpan(doc.output, p.expected, measured);
    p.limitPercent = LimitPercentOfSpan(doc, p.expected);
    p.verdict = std::fabs(p.errorPercent) <= p.limitPercent + limitSlack ? PointVerdict::Pass
                                                                         : PointVerdict::Fail;
    return p;
}

TransducerPointResult OutOfRangePoint(const TransducerDoc& doc, double percent)
{
    TransducerPointResult p = EvaluatePoint(doc, percent, 0);
    p.measured = 0;
    p.errorPercent = 0;
    p.verdict = PointVerdict::OutOfRange;
    return p;
}

RunVerdict VerdictOf(const TransducerDoc& doc, const TransducerRunResult& run)
{
    for (const TransducerPointResult& p : run.points) {
        if (p.verdict != PointVerdict::Pass)
            return RunVerdict::Fail;
    }
    return run.points.size() == doc.points.size() && !run.points.isEmpty() ? RunVerdict::Pass
                                                                           : RunVerdict::Incomplete;
}

int OutputDecimals(const TransducerOutput& output)
{
    const MeasureRange* range = MeasureRangeTable::Find(output.measureRange);
    return range ? range->decimals : 3;
}

} // namespace TransducerMath
