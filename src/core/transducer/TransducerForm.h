// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"
#include "core/transducer/TransducerValidation.h"

#include <QString>

// The definition as the window's fields hold it: numbers as the technician typed them. The
// window fills its fields from a document and hands the fields back through here, so that a
// mistyped number is refused with the field named, like every other refusal.
struct TransducerForm
{
    TransducerInstrument instrument;
    int calFunction = 13;
    ColdJunction coldJunction = ColdJunction::Tin;
    QString referenceTemperature;
    QString leadResistance;
    QString inputLower, inputUpper;
    QString measureRange;
    QString outputLower, outputUpper;
    TransferFunction transfer = TransferFunction::Linear;
    QString cutoff;
    QString percentOfSpan, percentOfReading;
    QString points; // percentages separated by blanks, commas or semicolons
    QString settlingSeconds;
    QString readings;

    static TransducerForm FromDoc(const TransducerDoc& doc);
    // Writes the definition into *doc (its runs stay) when every field reads and the whole
    // passes CheckTransducer; otherwise *doc is left as it was and the problem returned.
    TransducerProblem ToDoc(TransducerDoc* doc) const;
};
