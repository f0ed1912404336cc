// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramValidation.h"

#include <QList>
#include <QString>

// The program as the editor's fields hold it: numbers as the technician typed them. The
// window fills its fields from a document and hands them back through here, so that a
// mistyped number is refused with its segment and field named, like every other refusal.
struct ProgramForm
{
    // A segment's row: the texts of the fields its kind uses (the others are not read).
    struct Row
    {
        SegmentKind kind = SegmentKind::Hold;
        QString from, to, step, dwell; // Hold: from and dwell
        QString first, times;          // Repeat: the group's first segment (from 1)
    };

    QString name;
    QString notes;
    int calFunction = 4;
    ColdJunction coldJunction = ColdJunction::Tin;
    QString referenceTemperature;
    bool leadResistanceOn = false;
    QString leadResistance;
    QString measureRange; // empty: none
    bool tripEnabled = false;
    TripDirection direction = TripDirection::RisesAbove;
    QString threshold;
    QList<Row> rows;

    static ProgramForm FromDoc(const ProgramDoc& doc);
    static Row FromSegment(const ProgramSegment& segment);
    // Writes the program into *doc when every field reads and the whole passes CheckProgram;
    // otherwise *doc is left as it was and the problem returned.
    ProgramProblem ToDoc(ProgramDoc* doc) const;
};
