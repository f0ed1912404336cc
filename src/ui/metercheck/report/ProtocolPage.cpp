// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/ProtocolPage.h"

#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/report/ReportTexts.h"
#include "core/metercheck/run/PointErrors.h"

#include <QFont>
#include <QPainter>
#include <QPen>

using namespace ProtocolPage;

namespace {

// Drawing y grows downwards; the layout's y grows upwards from the top edge.
constexpr qreal Y(int layoutY)
{
    return -layoutY;
}

// Wide enough for any line of the page, so that the text is never clipped or wrapped.
constexpr qreal textBoxWidth = 21000;
constexpr qreal textBoxHeight = 1000;

void TextTopLeft(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QRectF(x, Y(y), textBoxWidth, textBoxHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void TextTopCentre(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QRectF(x - textBoxWidth / 2, Y(y), textBoxWidth, textBoxHeight),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
}

void Line(QPainter& painter, int x1, int y1, int x2, int y2)
{
    painter.drawLine(QPointF(x1, Y(y1)), QPointF(x2, Y(y2)));
}

QFont ReportFont(const QString& family, QFont::StyleHint hint, int height, QFont::Weight weight)
{
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(height); // logical units: 0.01 mm
    font.setWeight(weight);
    return font;
}

struct Column
{
    int centre;
    const char* lines[3];
};

// Column centres and their three heading lines (nullptr: the line is empty).
const Column columns[7] = {
    {3400, {"Wskazanie", "miernika", "badanego"}},
    {6200, {"Nastawa", "amplitudy", "kalibratora"}},
    {9000, {nullptr, "Błąd miernika", "rzeczywisty"}},
    {11800, {nullptr, "Błąd miernika", "dopuszczalny"}},
    {14600, {nullptr, "Błąd", "kalibratora"}},
    {16500, {nullptr, "j.m.", nullptr}},
    {17500, {nullptr, "ON", nullptr}},
};
const int headingLineY[3] = {-4600, -5000, -5400};
const int verticalX[8] = {2000, 4800, 7600, 10400, 13200, 16000, 17000, 18000};

const QColor black(0, 0, 0);
const QColor red(255, 0, 0);

void PaintHeader(QPainter& painter, const MeterCheckDoc& doc, const MeterRange& r,
                 const QString& dateText, const QString& timeText)
{
    Line(painter, left, -2500, right, -2500);
    Line(painter, left, -4200, right, -4200);

    const QString gap(10, QLatin1Char(' '));
    TextTopLeft(painter, 5500, -2000,
                QStringLiteral("Protokół sprawdzania miernika") + gap + dateText + gap + timeText);

    TextTopLeft(painter, 2000, -2700, QStringLiteral("Nazwa: ") + doc.meterName);
    TextTopLeft(painter, 2000, -3200, QStringLiteral("Numer: ") + doc.meterNumber);
    TextTopLeft(painter, 2000, -3700, MethodText(doc.method));

    TextTopLeft(painter, 8500, -2700,
                QStringLiteral("Zakres: ") + r.rangeValue + QLatin1Char(' ') + r.rangeUnit);
    TextTopLeft(painter, 8500, -3200, ClassText(r));
    const QString sensor = SensorText(r);
    if (!sensor.isEmpty())
        TextTopLeft(painter, 8500, -3700, sensor);
}

void PaintHeadingBox(QPainter& painter)
{
    painter.drawRect(QRectF(QPointF(left, Y(boxTop)), QPointF(right, Y(boxBottom))));
    for (int x : {4800, 7600, 10400, 13200, 16000, 17000})
        Line(painter, x, boxTop, x, boxBottom);
    for (const Column& c : columns) {
        for (int i = 0; i < 3; ++i) {
            if (c.lines[i])
                TextTopCentre(painter, c.centre, headingLineY[i], QString::fromUtf8(c.lines[i]));
        }
    }
}

void PaintRow(QPainter& painter, const MeterPoint& p, int j)
{
    const int y = firstRowTop - rowPitch * j;
    TextTopCentre(painter, columns[0].centre, y, p.reading);
    TextTopCentre(painter, columns[1].centre, y, p.setting);
    if (ErrorExceedsPermissible(p)) {
        painter.setPen(QPen(red, painter.pen().widthF()));
        TextTopCentre(painter, columns[2].centre, y, p.actualError + QLatin1Char('*'));
        painter.setPen(QPen(black, painter.pen().widthF()));
    } else {
        TextTopCentre(painter, columns[2].centre, y, p.actualError);
    }
    TextTopCentre(painter, columns[3].centre, y, p.permissibleError);
    TextTopCentre(painter, columns[4].centre, y, p.calibratorError);
    TextTopCentre(painter, columns[5].centre, y, p.unit);
    if (p.marked == 1)
        TextTopCentre(painter, columns[6].centre, y, QStringLiteral("+"));
    const int lineY = firstRowLine - rowPitch * j;
    Line(painter, left, lineY, right, lineY);
}

} // namespace

void PaintProtocolPage(QPainter& painter, const MeterCheckDoc& doc, int range,
                       const QString& dateText, const QString& timeText)
{
    const MeterRange& r = doc.ranges[range];
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    // 0.15 mm lines: thin like a printer's default pen, yet visible on screen previews.
    painter.setPen(QPen(black, 15));

    painter.setFont(
        ReportFont(QStringLiteral("Arial"), QFont::SansSerif, headingFontHeight, QFont::Bold));
    PaintHeader(painter, doc, r, dateText, timeText);
    PaintHeadingBox(painter);

    painter.setFont(
        ReportFont(QStringLiteral("Courier"), QFont::TypeWriter, tableFontHeight, QFont::Normal));
    // As many rows as defined points, counted like CountPoints.
    int n = 0;
    for (const MeterPoint& point : r.points)
        n += point.pointDefined == 1 ? 1 : 0;
    for (int j = 0; j < n; ++j)
        PaintRow(painter, r.points[j], j);

    const int bottom = TableBottom(n);
    painter.setPen(QPen(red, painter.pen().widthF()));
    TextTopCentre(painter, 14000, bottom,
                  QStringLiteral("* - błąd rzeczywisty przekracza błąd dopuszczalny"));
    painter.setPen(QPen(black, painter.pen().widthF()));

    for (int x : verticalX)
        Line(painter, x, bottom, x, boxBottom);
    painter.restore();
}
