// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QString>
#include <QStringList>

// The fields of a transducer definition that a check can refuse; the window focuses the one
// named.
enum class TransducerField
{
    None,
    InputFunction,
    ReferenceTemperature,
    LeadResistance,
    InputLower,
    InputUpper,
    OutputRange,
    OutputLower,
    OutputUpper,
    Cutoff,
    TolerancePercentOfSpan,
    TolerancePercentOfReading,
    Points,
    SettlingTime,
    Readings
};

struct TransducerProblem
{
    TransducerField field = TransducerField::None;
    QString message; // a Polish sentence that names the field

    bool IsNone() const { return field == TransducerField::None; }
};

// The first thing wrong with the definition (in the order of the fields), or none.
TransducerProblem CheckTransducer(const TransducerDoc& doc);

// The field's name as the window labels it.
QString TransducerFieldName(TransducerField field);

// The measure ranges a transducer's output can be read on: the voltage and current ranges.
QStringList TransducerOutputRanges();
