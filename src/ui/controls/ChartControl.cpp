// SPDX-License-Identifier: MIT
#include "ui/controls/ChartControl.h"

#include "ui/controls/ChartRules.h"

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

namespace {

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
    chart()->setTitleFont(ChartTitleFont(chart()->titleFont()));
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

    // The ticks are the multiples of the step between low and high, labelled here.
    const ValueAxisScale scale = ScaleValueAxis(axisMin, axisMax, axisStepValue);
    auto* values = new QCategoryAxis;
    values->setRange(scale.low, scale.high);
    values->setStartValue(scale.low);
    values->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (qsizetype i = 0; i < scale.ticks.size(); ++i)
        values->append(scale.labels[i], scale.ticks[i]);
    values->setTitleText(ShownAsIs(titles[int(TitlePlace::ValueAxis)]));
    c->addAxis(values, Qt::AlignLeft);

    if (!titles[int(TitlePlace::Right)].isEmpty()) {
        auto* right = new QValueAxis;
        right->setRange(scale.low, scale.high);
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
