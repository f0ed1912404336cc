// SPDX-License-Identifier: MIT
#include "ui/panel/ReadoutPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace {

// The readout's font heights are cell heights (ascent + descent), as the instrument's
// display fonts are specified; Qt's pixel size is the em height, which is smaller.
void SetCellHeight(QFont& font, int cellHeight)
{
    QFont probe = font;
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    const qreal cell = metrics.ascent() + metrics.descent();
    font.setPixelSize(cell > 0 ? qMax(1, qRound(cellHeight * 100.0 / cell)) : cellHeight);
}

} // namespace

ReadoutFonts::ReadoutFonts()
{
    value.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                       QStringLiteral("Courier")});
    value.setStyleHint(QFont::TypeWriter);
    value.setWeight(QFont::Bold);
    SetCellHeight(value, 60);

    label.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    label.setStyleHint(QFont::SansSerif);
    label.setWeight(QFont::Normal);
    SetCellHeight(label, 24);
}

namespace {

// Texts are placed by their left (or right) end and their top, as on the instrument.
void TextAt(QPainter& p, int x, int y, const QString& text)
{
    p.drawText(QRect(x, y, 4000, 400), Qt::AlignLeft | Qt::AlignTop, text);
}

void TextRightAt(QPainter& p, int right, int y, const QString& text)
{
    p.drawText(QRect(right - 4000, y, 4000, 400), Qt::AlignRight | Qt::AlignTop, text);
}

} // namespace

QFont FittedValueFont(const QFont& value, const QString& text)
{
    using namespace ReadoutGeometry;
    const QFontMetricsF metrics(value);
    const qreal width = metrics.horizontalAdvance(text);
    if (width <= valueRight - signLeft || value.pixelSize() <= 1)
        return value;
    // A smaller text keeps clear of the sign's place as well.
    const qreal room = valueRight - signLeft - metrics.horizontalAdvance(QLatin1Char('-'));
    QFont fitted = value;
    int size = qMax(1, int(value.pixelSize() * room / width));
    fitted.setPixelSize(size);
    // Glyph widths do not scale exactly with the size: step down until the text fits.
    while (size > 1 && QFontMetricsF(fitted).horizontalAdvance(text) > room)
        fitted.setPixelSize(--size);
    return fitted;
}

void PaintReadout(QPainter& p, const ReadoutContent& content, const ReadoutFonts& fonts)
{
    using namespace ReadoutGeometry;
    const QString ohm(QChar(0x03A9));

    p.save();
    p.setPen(Qt::black);
    p.setBrush(readoutFaceColor);
    // The outline runs along the face's edge, the far edges one pixel inside (right and
    // bottom are exclusive).
    p.drawRect(QRect(QPoint(faceLeft, faceTop), QPoint(faceRight - 2, faceBottom - 2)));

    p.setBackgroundMode(Qt::TransparentMode);
    // A smaller value font keeps the number on the same baseline.
    const QFont valueFont = FittedValueFont(fonts.value, content.valueText);
    const int valueShift =
        qRound(QFontMetricsF(fonts.value).ascent() - QFontMetricsF(valueFont).ascent());
    p.setFont(valueFont);
    TextRightAt(p, valueRight, valueTop + valueShift, content.valueText);
    p.setFont(fonts.value);
    TextAt(p, signLeft, valueTop, content.positive ? QStringLiteral(" ") : QStringLiteral("-"));

    p.setFont(fonts.label);
    // A status word wider than its place ("BRAK" on the source side) moves left to stay on
    // the face.
    const int statusRoom = faceRight - 6 - content.statusX;
    const int statusWidth = qCeil(QFontMetricsF(fonts.label).horizontalAdvance(content.statusWord));
    TextAt(p, content.statusX - qMax(0, statusWidth - statusRoom), statusTop, content.statusWord);
    TextAt(p, rangeLeft, rangeTop, content.rangeName);
    if (content.rangeName == QLatin1String("400") || content.rangeName == QLatin1String("4000")) {
        TextAt(p, content.rangeName.size() == 3 ? ohmAfter400 : ohmAfter4000, ohmTop, ohm);
        TextAt(p, unitLeft, unitTop, ohm);
    } else {
        TextAt(p, unitLeft, unitTop, content.unit);
    }
    p.restore();
}
