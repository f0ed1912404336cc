// SPDX-License-Identifier: MIT
#include "ui/controls/ChartControl.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The fewest decimals that show every multiple of the step exactly; a step that few decimals
// do not show exactly gets four, or two significant digits when it is smaller (up to 15), so
// that no tick but the zero line reads as zero.
int LabelDecimals(double step)
{
    if (!(step > 0.0))
        return 0;
    for (int d = 0; d < 4; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
            return d;
    }
    return std::clamp(1 - int(std::floor(std::log10(step) + 1e-9)), 4, 15);
}

// More ticks than this would make the axis unreadable; the axis then takes a round step.
constexpr int maxTicks = 40;

// A step of 1, 2 or 5 times a power of ten that gives about ten ticks over span.
double RoundStep(double span)
{
    const double wanted = span / 10.0;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double multiple : {1.0, 2.0, 5.0})
        if (multiple * power >= wanted)
            return multiple * power;
    return 10.0 * power;
}

// A tick's label with the axis's decimals. The zero line reads "0.0", never "-0.0", whatever
// sign the rounding of a computed tick leaves.
QString TickLabel(double value, int decimals)
{
    const QString text = QString::number(value, 'f', decimals);
    return text.toDouble() == 0.0 ? QString::number(0.0, 'f', decimals) : text;
}

// The chart draws its texts as HTML, which would take "<" and "&" for markup and fold a run of
// blanks into one: the text is handed over to be shown as it is.
QString ShownAsIs(const QString& text)
{
    static const QRegularExpression foldedBlank(QStringLiteral("(?<= ) |^ | $"));
    return text.toHtmlEscaped().replace(foldedBlank, QStringLiteral("&nbsp;"));
}

} // namespace

ChartControl::ChartControl(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    // The title is a quarter larger than the chart's font, in the unit that font is given in
    // (the program's fonts are set in pixels).
    QFont titleFont = chart()->titleFont();
    titleFont.setBold(true);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    else if (titleFont.pixelSize() > 0)
        titleFont.setPixelSize(qRound(titleFont.pixelSize() * 1.25));
    chart()->setTitleFont(titleFont);
    Rebuild();
}

void ChartControl::setChartKind(ChartKind newKind)
{
    kind = newKind;
    if (!open)
        Rebuild();
}

void ChartControl::setTitle(TitlePlace place, const QString& text)
{
    const int at = int(place);
    if (at < 0 || at >= titles.size())
        return;
    titles[at] = text;
    if (!open)
        Rebuild();
}

void ChartControl::setAxisMinimum(double value)
{
    axisMin = value;
    if (!open)
        Rebuild();
}

void ChartControl::setAxisMaximum(double value)
{
    axisMax = value;
    if (!open)
        Rebuild();
}

void ChartControl::setAxisStep(double value)
{
    axisStepValue = value;
    if (!open)
        Rebuild();
}

bool ChartControl::OpenData(int seriesCount, int pointCount)
{
    if (seriesCount < 0 || pointCount < 0)
        return false;
    series = QList<Series>(seriesCount);
    for (Series& s : series)
        s.values = QList<double>(pointCount, 0.0);
    points = pointCount;
    current = 0;
    open = true;
    return true;
}

bool ChartControl::CloseData()
{
    if (!open)
        return false;
    open = false;
    Rebuild();
    return true;
}

void ChartControl::setSeriesLegend(int s, const QString& legend)
{
    if (s >= 0 && s < series.size())
        series[s].legend = legend;
}

void ChartControl::setCurrentSeries(int s)
{
    if (s >= 0 && s < series.size())
        current = s;
}

void ChartControl::setSeriesColor(const QColor& color)
{
    if (current < series.size())
        series[current].color = color;
}

void ChartControl::setPointValue(int point, double value)
{
    if (current < series.size() && point >= 0 && point < points)
        series[current].values[point] = value;
}

double ChartControl::pointValue(int s, int point) const
{
    if (s < 0 || s >= series.size() || point < 0 || point >= points)
        return 0.0;
    return series[s].values[point];
}

void ChartControl::Rebuild()
{
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    c->setTitle(ShownAsIs(titles[int(TitlePlace::Main)]));

    auto* categories = new QBarCategoryAxis;
    for (int p = 0; p < points; ++p)
        categories->append(QString::number(p + 1));
    categories->setTitleText(ShownAsIs(titles[int(TitlePlace::Bottom)]));
    c->addAxis(categories, Qt::AlignBottom);

    double low = qMin(axisMin, axisMax);
    double high = qMax(axisMin, axisMax);
    if (high - low <= 0.0) {
        // All values 0: show a symmetric band around the zero line.
        low -= 1.0;
        high += 1.0;
    }
    // The ticks are the multiples of the step between low and high, labelled here.
    auto* values = new QCategoryAxis;
    values->setRange(low, high);
    values->setStartValue(low);
    values->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const bool stepTicks = axisStepValue > 0.0 && (high - low) / axisStepValue <= maxTicks;
    const double step = stepTicks ? axisStepValue : RoundStep(high - low);
    if (std::isfinite(step) && step > 0.0) {
        // Fixed decimals: the fewest that show every tick exactly.
        const int decimals = LabelDecimals(step);
        const double first = std::ceil(low / step - 1e-9);
        const double last = std::floor(high / step + 1e-9);
        for (int i = 0; i <= 2 * maxTicks && first + i <= last; ++i)
            values->append(TickLabel((first + i) * step, decimals), (first + i) * step);
    }
    values->setTitleText(ShownAsIs(titles[int(TitlePlace::ValueAxis)]));
    c->addAxis(values, Qt::AlignLeft);

    if (!titles[int(TitlePlace::Right)].isEmpty()) {
        auto* right = new QValueAxis;
        right->setRange(low, high);
        right->setLabelsVisible(false);
        right->setGridLineVisible(false);
        right->setTitleText(ShownAsIs(titles[int(TitlePlace::Right)]));
        c->addAxis(right, Qt::AlignRight);
    }

    if (kind == ChartKind::Bars) {
        auto* bars = new QBarSeries;
        for (const Series& s : series) {
            auto* set = new QBarSet(ShownAsIs(s.legend));
            for (double v : s.values)
                set->append(v);
            if (s.color.isValid())
                set->setColor(s.color);
            bars->append(set);
        }
        c->addSeries(bars);
        bars->attachAxis(categories);
        bars->attachAxis(values);
        return;
    }
    for (const Series& s : series) {
        QXYSeries* xy = nullptr;
        if (kind == ChartKind::Marks) {
            auto* marks = new QScatterSeries;
            marks->setMarkerSize(9.0);
            xy = marks;
        } else {
            auto* line = new QLineSeries;
            line->setPointsVisible(true);
            xy = line;
        }
        xy->setName(ShownAsIs(s.legend));
        for (int p = 0; p < s.values.size(); ++p)
            xy->append(p, s.values[p]);
        if (s.color.isValid()) {
            xy->setColor(s.color);
            if (kind == ChartKind::Lines) {
                QPen pen = xy->pen();
                pen.setWidthF(2.0);
                pen.setColor(s.color);
                xy->setPen(pen);
            }
        }
        c->addSeries(xy);
        xy->attachAxis(categories);
        xy->attachAxis(values);
    }
}

void ChartControl::RenderTo(QPainter& painter, const QRectF& target)
{
    // A chart that was never shown (printing from a hidden page) is laid out at the size of
    // the chart page first, so that it looks the same on paper as on the screen.
    QChart* c = chart();
    const QSizeF logical = isVisible() ? QSizeF(size()) : QSizeF(unshownWidth, unshownHeight);
    if (c->size() != logical)
        c->setGeometry(QRectF(QPointF(0, 0), logical));
    // The chart lays out new axes and titles on posted requests (and deletes the old axes
    // later); no event loop serves them while a report is printed, so serve them here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
    scene()->render(&painter, target, QRectF(c->pos(), logical), Qt::IgnoreAspectRatio);
}
