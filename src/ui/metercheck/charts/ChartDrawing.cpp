// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/ChartDrawing.h"

#include "ui/controls/ChartControl.h"
#include "ui/controls/ChartRules.h"

#include <QFontInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The chart is laid out at the size of the chart page's chart (the same layout on every page)
// and scaled into its place. Lengths below are in that layout's units; they are the screen
// chart's: the margins, the ticks' length, the gaps between texts.
const QSizeF layoutSize(ChartControl::unshownWidth, ChartControl::unshownHeight);
constexpr double margin = 29.0; // outer margin of the chart and of its contents
constexpr double tickLength = 4.0;
constexpr double legendMargin = 9.0;   // above and below the legend's line of entries
constexpr double legendIndent = 10.5;  // the screen's legend is that much left of the middle
constexpr double legendEntryGap = 3.0; // above and below an entry's text
constexpr double markerSize = 7.0;     // the coloured square of a legend entry

const QColor textColour(0x40, 0x40, 0x44);
const QColor axisColour(0xd6, 0xd6, 0xd6);
const QColor gridColour(0xe2, 0xe2, 0xe2);

// Bars of one point take half of the point's width, side by side in series order.
constexpr double barGroupShare = 0.5;
constexpr double lineWidth = 2.0;
constexpr double pointMarkRadius = 1.5 * lineWidth;

} // namespace

ChartDrawing::ChartDrawing(const QFont& font)
    : label(Measured(font)), axisTitle(Measured([&font] {
          QFont bold = font;
          bold.setBold(true);
          return bold;
      }())),
      title(Measured(ChartTitleFont(font)))
{}

ChartDrawing::Text ChartDrawing::Measured(const QFont& font)
{
    // Sizes in pixels, so that a printer's resolution does not change the text against the
    // layout: the layout's units are the screen's pixels.
    QFont sized = font;
    if (sized.pixelSize() <= 0)
        sized.setPixelSize(QFontInfo(font).pixelSize());
    const QFontMetricsF metrics(sized);
    // A line of text takes its whole pixels and a pixel above and below, as on the screen.
    return {sized, metrics, std::ceil(metrics.height()) + 2.0};
}

double ChartDrawing::Width(const Text& text, const QString& s) const
{
    // A last letter that reaches past its advance ("V" in bold) widens the text.
    const double overhang = s.isEmpty() ? 0.0 : std::max(0.0, -text.metrics.rightBearing(s.back()));
    return text.metrics.horizontalAdvance(s) + overhang + 2.0;
}

void ChartDrawing::Draw(QPainter& painter, const Text& text, const QPointF& topLeft,
                        const QString& s) const
{
    painter.setFont(text.font);
    painter.drawText(topLeft + QPointF(1.0, 1.0 + text.metrics.ascent()), s);
}

double ChartDrawing::Layout::ValueY(double value) const
{
    const double y = plot.bottom() - (value - scale.low) / (scale.high - scale.low) * plot.height();
    // Values beyond the axis are cut at the plot's edge; keep them near it, and an axis too wide
    // for a number (a damaged file's extremes) at the zero line.
    return std::isnan(y) ? plot.bottom()
                         : std::clamp(y, plot.top() - plot.height(), plot.bottom() + plot.height());
}

void ChartDrawing::Paint(QPainter& painter, const QRectF& area, const ChartData& chart) const
{
    if (chart.status != ChartData::Status::Ready || area.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF fitted = layoutSize.scaled(area.size(), Qt::KeepAspectRatio);
    painter.translate(area.left() + (area.width() - fitted.width()) / 2.0, area.top());
    painter.scale(fitted.width() / layoutSize.width(), fitted.height() / layoutSize.height());

    const Layout layout = Arrange(chart);
    const QString& mainTitle = chart.titles[2];
    painter.setPen(textColour);
    Draw(painter, title,
         QPointF(std::round(layout.content.center().x() - Width(title, mainTitle) / 2.0),
                 layout.titleTop),
         mainTitle);
    DrawAxes(painter, layout, chart);
    const bool bars = chart.optionB == 2;
    if (bars)
        DrawBars(painter, layout, chart);
    else
        DrawLines(painter, layout, chart);
    DrawLegend(painter, layout, chart, bars);
    painter.restore();
}

ChartDrawing::Layout ChartDrawing::Arrange(const ChartData& chart) const
{
    // Top to bottom: title, plot, numbered points, the range's title, legend; the value axis's
    // title and labels at the left of the plot.
    Layout layout;
    layout.content =
        QRectF(margin, margin, layoutSize.width() - 2 * margin, layoutSize.height() - 2 * margin);
    layout.titleTop = layout.content.top();
    const double top =
        chart.titles[2].isEmpty() ? layout.titleTop : layout.titleTop + title.height + 1.0;
    layout.legendTop =
        layout.content.bottom() - (label.height + 2 * legendEntryGap) - 2 * legendMargin;
    const double plotBottom =
        layout.legendTop - (tickLength + label.height + 3.0 + axisTitle.height + 2.0);
    layout.scale = ScaleValueAxis(chart.axisMin, chart.axisMax, chart.axisStep);
    double widestLabel = 0.0;
    for (const QString& text : layout.scale.labels)
        widestLabel = std::max(widestLabel, Width(label, text));
    layout.plot =
        QRectF(QPointF(layout.content.left() + 2.0 + axisTitle.height + 2.0 + widestLabel + 5.0,
                       top + 0.5),
               QPointF(layout.content.right() - 0.5, plotBottom));
    layout.slot = layout.plot.width() / std::max(chart.pointCount, 1);
    return layout;
}

void ChartDrawing::DrawAxes(QPainter& painter, const Layout& layout, const ChartData& chart) const
{
    const QRectF& plot = layout.plot;
    const int points = chart.pointCount;
    const auto edgeX = [&](int p) { return plot.left() + p * layout.slot; };

    // Grid: a line at each tick and the plot's edges, a line between points.
    painter.setPen(QPen(gridColour, 1.0));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.topLeft(), plot.topRight());
    for (double tick : layout.scale.ticks)
        painter.drawLine(QPointF(plot.left(), layout.ValueY(tick)),
                         QPointF(plot.right(), layout.ValueY(tick)));
    for (int p = 0; p <= points; ++p)
        painter.drawLine(QPointF(edgeX(p), plot.top()), QPointF(edgeX(p), plot.bottom()));

    // Axis lines and ticks: the value axis on a whole unit, as the screen draws it.
    const double axisX = std::floor(plot.left());
    painter.setPen(QPen(axisColour, 1.0));
    painter.drawLine(QPointF(axisX, plot.top()), QPointF(axisX, plot.bottom()));
    painter.drawLine(QPointF(axisX - tickLength, plot.bottom()), QPointF(axisX, plot.bottom()));
    for (double tick : layout.scale.ticks)
        painter.drawLine(QPointF(axisX - tickLength, layout.ValueY(tick)),
                         QPointF(axisX, layout.ValueY(tick)));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int p = 0; p <= points; ++p)
        painter.drawLine(QPointF(edgeX(p), plot.bottom()),
                         QPointF(edgeX(p), plot.bottom() + tickLength));

    painter.setPen(textColour);
    double freeAbove = plot.bottom() + label.height; // a label never covers the one below
    for (qsizetype i = 0; i < layout.scale.ticks.size(); ++i) {
        const QString& text = layout.scale.labels[i];
        const double y = std::round(layout.ValueY(layout.scale.ticks[i]) - label.height / 2.0);
        if (y + label.height > freeAbove + 0.5)
            continue;
        Draw(painter, label, QPointF(std::round(axisX - tickLength - Width(label, text)), y), text);
        freeAbove = y;
    }
    // Every point is numbered when the numbers fit; else every 2nd, 5th, 10th... (and the 1st).
    const double widestNumber = Width(label, QString::number(points));
    int every = 1;
    for (const int wider : {2, 5, 10, 20, 50})
        if (every * layout.slot < widestNumber)
            every = wider;
    for (int p = 0; p < points; ++p) {
        if (p != 0 && (p + 1) % every != 0)
            continue;
        const QString number = QString::number(p + 1);
        Draw(painter, label,
             QPointF(std::round(layout.PointX(p) - Width(label, number) / 2.0),
                     plot.bottom() + tickLength),
             number);
    }

    const QString& bottomTitle = chart.titles[3];
    Draw(painter, axisTitle,
         QPointF(plot.center().x() - Width(axisTitle, bottomTitle) / 2.0,
                 plot.bottom() + tickLength + label.height + 3.0),
         bottomTitle);
    const QString& valueTitle = chart.titles[0];
    painter.save();
    painter.translate(layout.content.left() + 2.0 + axisTitle.height / 2.0, plot.center().y());
    painter.rotate(-90.0);
    Draw(painter, axisTitle, QPointF(-Width(axisTitle, valueTitle) / 2.0, -axisTitle.height / 2.0),
         valueTitle);
    painter.restore();
}

void ChartDrawing::DrawBars(QPainter& painter, const Layout& layout, const ChartData& chart) const
{
    const int seriesCount = int(chart.series.size());
    const double groupWidth = layout.slot * barGroupShare;
    const double barWidth = groupWidth / std::max(seriesCount, 1);
    painter.save();
    painter.setClipRect(layout.plot);
    painter.setPen(QPen(Qt::white, 1.0));
    for (int s = 0; s < seriesCount; ++s) {
        painter.setBrush(QColor::fromRgb(chart.series[s].color));
        const QList<double>& values = chart.series[s].values;
        for (int p = 0; p < chart.pointCount && p < values.size(); ++p) {
            if (values[p] == 0.0)
                continue; // no bar, not even its border over the zero line
            const double left = layout.PointX(p) - groupWidth / 2.0 + s * barWidth;
            painter.drawRect(QRectF(QPointF(left, layout.ValueY(values[p])),
                                    QPointF(left + barWidth, layout.ValueY(0.0)))
                                 .normalized());
        }
    }
    painter.restore();
}

void ChartDrawing::DrawLines(QPainter& painter, const Layout& layout, const ChartData& chart) const
{
    painter.save();
    painter.setClipRect(layout.plot);
    for (const ChartSeries& series : chart.series) {
        QPolygonF line;
        for (int p = 0; p < chart.pointCount && p < series.values.size(); ++p)
            line << QPointF(layout.PointX(p), layout.ValueY(series.values[p]));
        const QColor colour = QColor::fromRgb(series.color);
        painter.setPen(QPen(colour, lineWidth));
        painter.drawPolyline(line);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (const QPointF& point : line)
            painter.drawEllipse(point, pointMarkRadius, pointMarkRadius);
    }
    painter.restore();
}

void ChartDrawing::DrawLegend(QPainter& painter, const Layout& layout, const ChartData& chart,
                              bool bars) const
{
    // The series' coloured squares and names in one line, about the middle.
    double entriesWidth = 0.0;
    for (const ChartSeries& series : chart.series)
        entriesWidth += Width(label, series.legend) + 16.0;
    double x = layout.content.left() +
               std::trunc(layout.content.width() / 2.0 - legendIndent - entriesWidth / 2.0);
    const double entryTop = layout.legendTop + legendMargin;
    const double entryHeight = label.height + 2 * legendEntryGap;
    for (const ChartSeries& series : chart.series) {
        painter.setPen(QPen(bars ? Qt::white : Qt::black, 1.0));
        painter.setBrush(QColor::fromRgb(series.color));
        painter.drawRect(QRectF(x + 2.5, entryTop + (entryHeight - markerSize) / 2.0 + 0.5,
                                markerSize, markerSize));
        painter.setPen(textColour);
        Draw(painter, label, QPointF(x + 14.0, entryTop + legendEntryGap), series.legend);
        x += Width(label, series.legend) + 20.0;
    }
}
