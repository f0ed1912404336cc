// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
struct PanelSourceState;
struct PanelMeterState;

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

// The fonts of a readout, sized in pixels: the display's numbers do not follow the dialog's
// scaling. Where "Courier" and "Arial" are missing, their metric twins stand in.
struct ReadoutFonts
{
    ReadoutFonts();
    QFont value;
    QFont label;
};

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

// The value font for a text: the readout's own when the text fits between the sign's place
// and the value's right end (six characters do), else as much smaller as the text needs to
// stand between the sign and the right end. A readout never cuts digits off a number it
// cannot hold at its own size.
QFont FittedValueFont(const QFont& value, const QString& text);

// Paints the green face with the value, its sign, the status word, the range name and the
// unit. Resistance ranges ("400", "4000") show Ω after the range name and as the unit.
void PaintReadout(QPainter& painter, const ReadoutContent& content, const ReadoutFonts& fonts);

inline const QColor readoutFaceColor(110, 194, 110);
