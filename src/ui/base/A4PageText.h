// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

// Text on the program's own A4 pages (the transducer certificate, the source program's
// report), in logical units of 0.01 mm: the margins, the text and row heights, the font.
namespace A4PageText {

constexpr int left = 2000;
constexpr int right = 19000;
constexpr int textHeight = 300;
constexpr int rowPitch = 400;

inline QFont Font(int height, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(height); // logical units: 0.01 mm
    font.setBold(bold);
    return font;
}

// One row's text from x, vertically centred in the row.
inline void Text(QPainter& p, int x, int y, const QString& text,
                 Qt::Alignment align = Qt::AlignLeft, int width = right - left)
{
    p.drawText(QRectF(x, y, width, rowPitch), align | Qt::AlignVCenter | Qt::TextDontClip, text);
}

} // namespace A4PageText
