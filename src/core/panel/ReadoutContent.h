// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct PanelSourceState;
struct PanelMeterState;

// Fixed geometry of the painted face, in pixels from the readout's top left.
namespace ReadoutGeometry {
constexpr int faceLeft = 1, faceTop = 1, faceRight = 312, faceBottom = 98;
constexpr int valueRight = 250, valueTop = 33;
constexpr int signLeft = 17;
constexpr int rangeLeft = 7, rangeTop = 5;
constexpr int unitLeft = 260, unitTop = 59;
constexpr int sourceStatusLeft = 260, meterStatusLeft = 245, statusTop = 5;
constexpr int ohmTop = 4, ohmAfter400 = 45, ohmAfter4000 = 57;
} // namespace ReadoutGeometry

// What one readout of the control panel shows at a moment: the same painting serves the
// source and the measure readout.
struct ReadoutContent
{
    QString valueText; // set-point or reading, or an over/under-range mark
    bool positive = true;
    QString statusWord; // "OPR"/"STD" on the source side, "HOLD" or nothing on the measure side
    int statusX = 0;    // left end of the status word
    QString rangeName;
    QString unit;

    bool operator==(const ReadoutContent&) const = default;
};

ReadoutContent SourceReadoutContent(const PanelSourceState& state);
ReadoutContent MeterReadoutContent(const PanelMeterState& state);
