// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"

#include <QString>
#include <QStringList>

// The parts of a program a check can refuse; the window focuses the one named (a segment's
// row for the segment fields).
enum class ProgramField
{
    None,
    SourceFunction,
    ReferenceTemperature,
    LeadResistance,
    MeasureRange,
    TripThreshold,
    Segments, // the list as a whole: none, too many, too many steps
    Value,    // a hold's value, a ramp's or staircase's start
    EndValue, // a ramp's end, a staircase's turn
    Step,
    Dwell,
    Group, // a repeat's first segment
    Times
};

struct ProgramProblem
{
    ProgramField field = ProgramField::None;
    int segment = -1; // the segment (from 0) the problem is in; -1 for the definition
    QString message;  // a Polish sentence that names the segment or the field

    bool IsNone() const { return field == ProgramField::None; }
};

// The first thing wrong with the program (the source, the measure half, the trip condition,
// then the segments in order), or none. A dwell must leave time for the set-point's
// transaction and, when the measure half is read, one poll's.
ProgramProblem CheckProgram(const ProgramDoc& doc);

// The shortest dwell a step of the program can have, in ms: the transaction of its longest
// set-point frame plus, when the measure half is read, that of one poll.
qint64 MinimumDwellMs(const ProgramDoc& doc, const ProgramSegment& segment);

// The segment's kind as the editor names it: "utrzymanie", "rampa", "schody", "powtórzenie".
QString SegmentKindName(SegmentKind kind);
// The field's name as the window labels it.
QString ProgramFieldName(ProgramField field);
