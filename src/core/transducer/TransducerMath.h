// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QString>

// The arithmetic of a transducer check, one function per question.
namespace TransducerMath {

// The input at `percent` of the input span, in the source function's unit.
double InputAt(const TransducerInput& input, double percent);
// What "N" carries for that input: the value in the function's decimals ("-" for negatives).
QString SetpointText(const TransducerInput& input, double percent);

// The output a perfect transducer gives at `percent` of its input: linear, or the square root
// of the input fraction, which is held at 0 % of the output below the low-flow cut-off. A
// reversed output range (lower above upper) falls as the input rises.
double ExpectedOutput(const TransducerDoc& doc, double percent);

// The output span as a positive number (reversed ranges included).
double OutputSpan(const TransducerOutput& output);
// (measured − expected) in % of the output span; positive when the output is above.
double ErrorPercentOfSpan(const TransducerOutput& output, double expected, double measured);
// The permissible error at an expected output, in % of the output span.
double LimitPercentOfSpan(const TransducerDoc& doc, double expected);

// The point at `percent` measured as `measured`: expected, error, limit and verdict filled.
TransducerPointResult EvaluatePoint(const TransducerDoc& doc, double percent, double measured);
// A point whose reading was an over- or under-range mark.
TransducerPointResult OutOfRangePoint(const TransducerDoc& doc, double percent);

// Any failed point fails the run; a run without failures passes only when it measured every
// point of the document.
RunVerdict VerdictOf(const TransducerDoc& doc, const TransducerRunResult& run);

// Decimals of the output values: those of the measure range (3 when it is unknown).
int OutputDecimals(const TransducerOutput& output);

} // namespace TransducerMath
