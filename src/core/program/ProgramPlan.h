// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"

#include <QList>
#include <QString>

// One set-point of the planned course: when it goes out (from the start of the course), how
// long it is held, the value and the text "N" carries.
struct PlannedStep
{
    qint64 startMs = 0;
    qint64 dwellMs = 0;
    double value = 0;
    QString text; // in the function's decimals, "-" for negatives
    int segment = 0;
    int pass = 0; // which run of the innermost repeat group holding it (0: the first)
};

struct ProgramPlan
{
    QList<PlannedStep> steps;
    qint64 totalMs = 0;
};

namespace ProgramCourse {

// The set-point text of a value in the source function's decimals.
QString SetpointText(const ProgramSource& source, double value);

// The values of a hold, ramp or staircase segment in order, rounded to `decimals`: a ramp
// goes from A towards B by the step and ends at B exactly (a last, shorter step when the span
// is no multiple of it); a staircase does so and comes back to A the same way. Empty for a
// repeat, or a step that is not positive.
QList<double> SegmentValues(const ProgramSegment& segment, int decimals);

// How many set-points the program makes, repeats included; stops counting beyond `limit`
// (returns limit + 1 then). Segments must have passed their own checks.
qint64 StepCount(const ProgramDoc& doc, qint64 limit);

// The whole course, repeats expanded. The program must have passed CheckProgram.
ProgramPlan Plan(const ProgramDoc& doc);

} // namespace ProgramCourse
