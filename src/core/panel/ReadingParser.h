// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct PanelMeterState;

// Turns the calibrator's reply to "P" into the measure readout: of the first nine characters
// a "-" anywhere makes the reading negative, the first character is never part of the number,
// "~" marks over-range and "_" under-range (over-range wins when both come). The number is
// kept as its magnitude with the range's decimals; an empty reply reads as zero.
void ParseReading(const QString& reply, int meterDecimals, PanelMeterState& state);

// The signed value of the readout as the statistics take it; the range marks count as 0.
double SignedReading(const PanelMeterState& state);
