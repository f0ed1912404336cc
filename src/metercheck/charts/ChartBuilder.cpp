#include "metercheck/charts/ChartBuilder.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFont>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <cmath>

namespace ChartBuilder {

namespace {

void Clear(QChart& chart)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QValueAxis* ValueAxis(const ChartData& data)
{
    double min = data.axisMin;
    double max = data.axisMax;
    double step = data.axisStep;
    if (!(max > min)) {
        // Every value is 0: a small axis around it rather than none.
        min -= 1;
        max += 1;
        step = 0.5;
    }
    auto* axis = new QValueAxis;
    axis->setRange(min, max);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step > 0 ? step : (max - min) / 10);
    axis->setLabelFormat(LabelFormat(step));
    axis->setTitleText(data.titles[0]);
    return axis;
}

QStringList PointNumbers(int count)
{
    QStringList numbers;
    for (int n = 1; n <= count; ++n)
        numbers << QString::number(n);
    return numbers;
}

void FillBars(QChart& chart, const ChartData& data, QValueAxis* valueAxis)
{
    auto* bars = new QBarSeries;
    for (const ChartSeries& s : data.series) {
        auto* set = new QBarSet(s.legend);
        set->setColor(s.color);
        set->setBorderColor(Qt::black);
        for (double v : s.values)
            set->append(v);
        bars->append(set);
    }
    chart.addSeries(bars);
    auto* pointAxis = new QBarCategoryAxis;
    pointAxis->append(PointNumbers(data.pointCount));
    pointAxis->setTitleText(data.titles[3]);
    chart.addAxis(pointAxis, Qt::AlignBottom);
    chart.addAxis(valueAxis, Qt::AlignLeft);
    bars->attachAxis(pointAxis);
    bars->attachAxis(valueAxis);
}

void FillLines(QChart& chart, const ChartData& data, QValueAxis* valueAxis)
{
    auto* pointAxis = new QValueAxis;
    pointAxis->setRange(0.5, data.pointCount + 0.5);
    pointAxis->setTickType(QValueAxis::TicksDynamic);
    pointAxis->setTickAnchor(1);
    pointAxis->setTickInterval(1);
    pointAxis->setLabelFormat(QStringLiteral("%.0f"));
    pointAxis->setTitleText(data.titles[3]);
    chart.addAxis(pointAxis, Qt::AlignBottom);
    chart.addAxis(valueAxis, Qt::AlignLeft);
    for (const ChartSeries& s : data.series) {
        auto* line = new QLineSeries;
        line->setName(s.legend);
        QPen pen(s.color);
        pen.setWidth(2);
        line->setPen(pen);
        line->setPointsVisible(true);
        for (qsizetype n = 0; n < s.values.size(); ++n)
            line->append(double(n + 1), s.values[n]);
        chart.addSeries(line);
        line->attachAxis(pointAxis);
        line->attachAxis(valueAxis);
    }
}

} // namespace

void Fill(QChart& chart, const ChartData& data)
{
    Clear(chart);
    chart.setTitle(data.titles[2]);
    QFont titleFont = chart.titleFont();
    titleFont.setBold(true);
    titleFont.setPointSize(11);
    chart.setTitleFont(titleFont);
    chart.legend()->setVisible(true);
    chart.legend()->setAlignment(Qt::AlignRight);
    QValueAxis* valueAxis = ValueAxis(data);
    if (data.optionB == 2)
        FillBars(chart, data, valueAxis);
    else
        FillLines(chart, data, valueAxis);
}

QString LabelFormat(double step)
{
    int decimals = 0;
    if (step > 0 && step < 1)
        decimals = qMin(6, int(std::ceil(-std::log10(step) - 1e-9)));
    // A step such as 0.25 or 35.5 needs one more digit than its size says.
    const double scaled = step * std::pow(10.0, decimals);
    if (step > 0 && std::fabs(scaled - std::round(scaled)) > 1e-6 && decimals < 6)
        ++decimals;
    return QStringLiteral("%.%1f").arg(decimals);
}

} // namespace ChartBuilder
