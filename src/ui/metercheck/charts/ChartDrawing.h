// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ChartData.h"
#include "ui/controls/ChartRules.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

class QPainter;

// The chart of a range drawn straight with a painter, for printing and PDF files: the points
// chart as bars, the errors chart as lines with marked points, laid out as the chart pages lay
// them out on the screen (title, value axis with its title and labelled ticks, numbered points
// with the range under them, legend at the bottom). Texts are plain text, shown as given. The
// fonts are measured once, when the drawing is made.
class ChartDrawing
{
public:
    // `font` is the chart's font, as the chart pages' charts take it (the application's).
    explicit ChartDrawing(const QFont& font);

    // Draws `chart` (when it is Ready) into `area` with the proportions of the chart page's
    // chart, centred across the area and at its top; any coordinate system.
    void Paint(QPainter& painter, const QRectF& area, const ChartData& chart) const;

private:
    struct Text
    {
        QFont font;
        QFontMetricsF metrics;
        double height; // of a line of text with its margin
    };
    // Where the parts of one chart go, in the layout's units.
    struct Layout
    {
        QRectF content;
        double titleTop = 0;
        QRectF plot;
        double legendTop = 0;
        ValueAxisScale scale;
        double slot = 0; // the width of one point
        double ValueY(double value) const;
        double PointX(int point) const { return plot.left() + (point + 0.5) * slot; }
    };

    static Text Measured(const QFont& font);
    double Width(const Text& text, const QString& s) const;
    void Draw(QPainter& painter, const Text& text, const QPointF& topLeft, const QString& s) const;

    Layout Arrange(const ChartData& chart) const;
    void DrawAxes(QPainter& painter, const Layout& layout, const ChartData& chart) const;
    // The points chart: the series side by side as bars from the zero line.
    void DrawBars(QPainter& painter, const Layout& layout, const ChartData& chart) const;
    // The errors chart: each series a line through its marked points.
    void DrawLines(QPainter& painter, const Layout& layout, const ChartData& chart) const;
    void DrawLegend(QPainter& painter, const Layout& layout, const ChartData& chart,
                    bool bars) const;

    Text label;     // tick labels, point numbers and legends
    Text axisTitle; // the titles of the axes
    Text title;     // the chart's title
};
