// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/ReadoutContent.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

// The fonts of a readout, sized in pixels: the display's numbers do not follow the dialog's
// scaling. Where "Courier" and "Arial" are missing, their metric twins stand in.
struct ReadoutFonts
{
    ReadoutFonts();
    QFont value;
    QFont label;
};

// The value font for a text: the readout's own when the text fits between the sign's place
// and the value's right end (six characters do), else as much smaller as the text needs to
// stand between the sign and the right end. A readout never cuts digits off a number it
// cannot hold at its own size.
QFont FittedValueFont(const QFont& value, const QString& text);

// Paints the green face with the value, its sign, the status word, the range name and the
// unit. Resistance ranges ("400", "4000") show Ω after the range name and as the unit.
void PaintReadout(QPainter& painter, const ReadoutContent& content, const ReadoutFonts& fonts);

inline const QColor readoutFaceColor(110, 194, 110);
