// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

// Definitions the transducer tests start from.
namespace TransducerTestDocs {

// A K thermocouple transmitter, reference junction inside, 0-500 °C → 4-20 mA, linear,
// 0.25 % of span, five points.
inline TransducerDoc ThermocoupleK()
{
    TransducerDoc doc;
    doc.instrument.tag = QStringLiteral("TT-101");
    doc.input = {13, ColdJunction::Tin, 0, {}, 0, 500};
    doc.output = {QStringLiteral("22mA"), 4, 20};
    return doc;
}

// A flow transmitter's square-root extractor: 4-20 mA in, 4-20 mA out, cut-off at 5 %.
inline TransducerDoc SquareRoot()
{
    TransducerDoc doc;
    doc.input = {4, ColdJunction::Tex, 0, {}, 4, 20};
    doc.output = {QStringLiteral("22mA"), 4, 20};
    doc.transfer = TransferFunction::SquareRoot;
    doc.lowFlowCutoffPercent = 5;
    return doc;
}

// The K transmitter with a reversed output, 20-4 mA.
inline TransducerDoc Reversed()
{
    TransducerDoc doc = ThermocoupleK();
    doc.output = {QStringLiteral("22mA"), 20, 4};
    return doc;
}

} // namespace TransducerTestDocs
