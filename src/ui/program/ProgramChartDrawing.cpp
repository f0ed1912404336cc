// SPDX-License-Identifier: MIT
#include "ui/program/ProgramChartDrawing.h"

#include "ui/controls/ChartRules.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor plannedColor(140, 140, 140);
const QColor setColor(20, 90, 200);
const QColor readingColor(200, 30, 30);
const QColor tripColor(230, 140, 0);
const QColor resetColor(20, 150, 60);

struct Axis
{
    ValueAxisScale scale;
    double Position(double value, double from, double to) const
    {
        const double span = scale.high - scale.low;
        return from + (value - scale.low) / (span > 0 ? span : 1) * (to - from);
    }
};

Axis ScaleOf(const QList<QPointF>& points, std::optional<double> extra = std::nullopt)
{
    double low = 0, high = 0;
    bool any = false;
    const auto take = [&](double v) {
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    };
    for (const QPointF& p : points)
        take(p.y());
    if (extra)
        take(*extra);
    if (!any || high == low) {
        const double pad = any ? std::max(std::fabs(high) * 0.1, 1.0) : 1.0;
        low -= pad;
        high += pad;
    }
    return {ScaleValueAxis(low, high, 0)};
}

} // namespace

void PaintProgramChart(QPainter& p, const QRectF& area, const ProgramChartData& chart,
                       const QFont& font)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);
    const QFontMetricsF metrics(font, p.device());
    const double line = metrics.height();
    const double pen = std::max(line / 12, 0.5);

    const Axis left = ScaleOf(chart.planned + chart.set);
    const bool measured = !chart.measureUnit.isEmpty();
    const Axis right = ScaleOf(chart.readings, chart.threshold);
    const Axis time{ScaleValueAxis(0, std::max(chart.endSeconds, 1.0), 0)};

    const auto widest = [&metrics](const QStringList& labels) {
        double w = 0;
        for (const QString& l : labels)
            w = std::max(w, metrics.horizontalAdvance(l));
        return w;
    };
    const double leftMargin = widest(left.scale.labels) + line * 0.8;
    const double rightMargin = measured ? widest(right.scale.labels) + line * 0.8 : line;
    const QRectF plot(area.left() + leftMargin, area.top() + line * 1.6,
                      area.width() - leftMargin - rightMargin, area.height() - line * 5.2);
    if (plot.width() <= 0 || plot.height() <= 0) {
        p.restore();
        return;
    }
    const auto xAt = [&](double s) { return time.Position(s, plot.left(), plot.right()); };
    const auto leftY = [&](double v) { return left.Position(v, plot.bottom(), plot.top()); };
    const auto rightY = [&](double v) { return right.Position(v, plot.bottom(), plot.top()); };

    // Unit titles above the axes.
    p.setPen(setColor);
    p.drawText(QRectF(area.left(), area.top(), plot.width(), line), Qt::AlignLeft,
               QStringLiteral("Nastawa [%1]").arg(chart.sourceUnit));
    if (measured) {
        p.setPen(readingColor);
        p.drawText(QRectF(plot.left(), area.top(), area.right() - plot.left(), line),
                   Qt::AlignRight, QStringLiteral("Odczyt [%1]").arg(chart.measureUnit));
    }

    // Grid and tick labels.
    p.setPen(QPen(QColor(225, 225, 225), pen));
    for (double t : left.scale.ticks)
        p.drawLine(QPointF(plot.left(), leftY(t)), QPointF(plot.right(), leftY(t)));
    for (double t : time.scale.ticks)
        p.drawLine(QPointF(xAt(t), plot.top()), QPointF(xAt(t), plot.bottom()));
    p.setPen(QPen(Qt::black, pen));
    p.drawRect(plot);
    for (int i = 0; i < left.scale.ticks.size(); ++i)
        p.drawText(QRectF(area.left(), leftY(left.scale.ticks[i]) - line / 2,
                          leftMargin - line * 0.4, line),
                   Qt::AlignRight | Qt::AlignVCenter, left.scale.labels[i]);
    if (measured) {
        for (int i = 0; i < right.scale.ticks.size(); ++i)
            p.drawText(QRectF(plot.right() + line * 0.4, rightY(right.scale.ticks[i]) - line / 2,
                              rightMargin, line),
                       Qt::AlignLeft | Qt::AlignVCenter, right.scale.labels[i]);
    }
    for (int i = 0; i < time.scale.ticks.size(); ++i)
        p.drawText(
            QRectF(xAt(time.scale.ticks[i]) - line * 3, plot.bottom() + line * 0.2, line * 6, line),
            Qt::AlignHCenter | Qt::AlignTop, time.scale.labels[i]);
    p.drawText(QRectF(plot.left(), plot.bottom() + line * 1.2, plot.width(), line),
               Qt::AlignHCenter, QStringLiteral("Czas [s]"));

    p.setClipRect(plot.adjusted(-pen * 4, -pen * 4, pen * 4, pen * 4));
    const auto polyline = [&](const QList<QPointF>& points, const auto& y) {
        QPainterPath path;
        for (int i = 0; i < points.size(); ++i) {
            const QPointF at(xAt(points[i].x()), y(points[i].y()));
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        p.drawPath(path);
    };
    if (chart.threshold && measured) {
        p.setPen(QPen(readingColor, pen, Qt::DotLine));
        p.drawLine(QPointF(plot.left(), rightY(*chart.threshold)),
                   QPointF(plot.right(), rightY(*chart.threshold)));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(plannedColor, pen * 2, Qt::DashLine));
    polyline(chart.planned, leftY);
    p.setPen(QPen(setColor, pen * 2.5));
    polyline(chart.set, leftY);
    if (measured) {
        p.setPen(QPen(readingColor, pen * 1.5));
        polyline(chart.readings, rightY);
        p.setBrush(readingColor);
        for (const QPointF& r : chart.readings)
            p.drawEllipse(QPointF(xAt(r.x()), rightY(r.y())), pen * 1.5, pen * 1.5);
    }
    // A trip points up, a reset down.
    const auto marker = [&](const QPointF& c, const QColor& color, bool up) {
        p.setPen(QPen(Qt::black, pen));
        p.setBrush(color);
        const double r = line * 0.45;
        const double d = up ? -r : r;
        p.drawPolygon(QPolygonF({c + QPointF(0, d), c + QPointF(-r, -d), c + QPointF(r, -d)}));
    };
    const auto marks = [&](const QList<QPointF>& points, const QColor& color, bool up) {
        for (const QPointF& m : points)
            marker(QPointF(xAt(m.x()), leftY(m.y())), color, up);
    };
    marks(chart.trips, tripColor, true);
    marks(chart.resets, resetColor, false);
    p.setClipping(false);

    // The legend under the time axis.
    struct Entry
    {
        QString text;
        QColor color;
        Qt::PenStyle style; // NoPen: a marker
        bool up = true;
    };
    QList<Entry> legend{{QStringLiteral("plan"), plannedColor, Qt::DashLine},
                        {QStringLiteral("nastawa"), setColor, Qt::SolidLine}};
    if (measured)
        legend << Entry{QStringLiteral("odczyt"), readingColor, Qt::SolidLine};
    if (chart.threshold && measured)
        legend << Entry{QStringLiteral("próg"), readingColor, Qt::DotLine};
    if (!chart.trips.isEmpty() || !chart.resets.isEmpty())
        legend << Entry{QStringLiteral("zadziałanie"), tripColor, Qt::NoPen, true}
               << Entry{QStringLiteral("powrót"), resetColor, Qt::NoPen, false};
    double x = plot.left();
    const double y = plot.bottom() + line * 2.8;
    for (const Entry& e : legend) {
        if (e.style != Qt::NoPen) {
            p.setPen(QPen(e.color, pen * 2.5, e.style));
            p.drawLine(QPointF(x, y + line / 2), QPointF(x + line * 1.8, y + line / 2));
            x += line * 2.2;
        } else {
            marker(QPointF(x + line * 0.5, y + line / 2), e.color, e.up);
            x += line * 1.2;
        }
        p.setPen(Qt::black);
        const double w = metrics.horizontalAdvance(e.text);
        p.drawText(QRectF(x, y, w + line, line), Qt::AlignLeft | Qt::AlignVCenter, e.text);
        x += w + line * 1.2;
    }
    p.restore();
}
