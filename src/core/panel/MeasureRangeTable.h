// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

// What the calibrator can be told to measure: the readout's format, unit and decimals for
// each selection, and the "M" command that selects it.
struct MeasureRange
{
    QString name;    // table name, also the readout's range name
    QString format;  // text shown in the readout right after the selection
    QString unit;    // unit shown in the readout
    int decimals;    // decimals of the readings
    QString command; // sent to the calibrator
};

namespace MeasureRangeTable {

const QList<MeasureRange>& Rows();
// The row of that name; nullptr when there is none.
const MeasureRange* Find(const QString& name);

// The ten range radios in their order: caption on the radio, table name behind it.
struct RangeRadio
{
    QString caption;
    QString name;
};
const QList<RangeRadio>& RangeRadios();

} // namespace MeasureRangeTable
