// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QPainter;
struct MeterCheckDoc;

// The table page of the verification report for one range of the document.
//
// The layout is fixed in 0.01 mm: the painter must map one logical unit to 0.01 mm with the
// origin at the top-left corner of the page and y growing downwards. The layout itself is
// written as on the drawing, with y growing upwards from the top edge (every y negative).
namespace ProtocolPage {

// Left and right edge of the table and the header lines.
constexpr int left = 2000;
constexpr int right = 18000;
// Top and bottom of the heading box of the table.
constexpr int boxTop = -4500;
constexpr int boxBottom = -5900;
// Row j has its text top at firstRowTop - rowPitch * j and its line under it at
// firstRowLine - rowPitch * j.
constexpr int firstRowTop = -5970;
constexpr int firstRowLine = -6310;
constexpr int rowPitch = 410;
// Font heights.
constexpr int headingFontHeight = 400;
constexpr int tableFontHeight = 300;

// Bottom of a table of n rows; the footnote starts there.
constexpr int TableBottom(int rows)
{
    return -(5900 + rowPitch * rows);
}

} // namespace ProtocolPage

// Draws the whole page for range `range` of a document (the meter check's, or one made of a
// check kept in the history); dateText and timeText are printed in the title line.
void PaintProtocolPage(QPainter& painter, const MeterCheckDoc& doc, int range,
                       const QString& dateText, const QString& timeText);
