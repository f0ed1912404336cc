// SPDX-License-Identifier: MIT
#include "ui/history/DriftChartView.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

DriftChartView::DriftChartView(QWidget* parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    setMinimumSize(360, 240);
}

void DriftChartView::Clear()
{
    chart()->removeAllSeries();
    for (QAbstractAxis* axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    chart()->setTitle(QString());
    errorLines.clear();
}

void DriftChartView::Show(const DriftData& drift, int bandSeries)
{
    Clear();
    QChart* c = chart();
    c->setTitle(QStringLiteral("Dryft błędu; ") + drift.title);

    auto* time = new QDateTimeAxis;
    auto* value = new QValueAxis;
    value->setTitleText(drift.unit.isEmpty() ? QStringLiteral("Błąd")
                                             : QStringLiteral("Błąd [%1]").arg(drift.unit));
    c->addAxis(time, Qt::AlignBottom);
    c->addAxis(value, Qt::AlignLeft);

    QDateTime first;
    QDateTime last;
    double low = 0; // the axis always shows zero, as the errors chart does
    double high = 0;
    auto take = [&](const DriftData::Value& v, double a, double b) {
        if (!first.isValid() || v.checkedAt < first)
            first = v.checkedAt;
        if (!last.isValid() || v.checkedAt > last)
            last = v.checkedAt;
        low = std::min({low, a, b});
        high = std::max({high, a, b});
    };

    for (const DriftData::Series& s : drift.series)
        for (const DriftData::Value& v : s.values)
            take(v, v.actualError, v.actualError);
    const DriftTimeAxis axis = TimeAxisOf(first, last);
    const QDateTime axisFrom = axis.from;
    const QDateTime axisTo = axis.to;

    if (bandSeries >= 0 && bandSeries < drift.series.size()) {
        const DriftData::Series& s = drift.series[bandSeries];
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        for (const DriftData::Value& v : s.values) {
            upper->append(v.checkedAt.toMSecsSinceEpoch(), v.permissibleError);
            lower->append(v.checkedAt.toMSecsSinceEpoch(), -v.permissibleError);
            take(v, v.permissibleError, -v.permissibleError);
        }
        if (s.values.size() == 1) {
            // One check: the band across the whole chart, or it would have no width.
            const double e = s.values.first().permissibleError;
            upper->clear();
            lower->clear();
            upper->append({QPointF(axisFrom.toMSecsSinceEpoch(), e), QPointF(axisTo.toMSecsSinceEpoch(), e)});
            lower->append({QPointF(axisFrom.toMSecsSinceEpoch(), -e), QPointF(axisTo.toMSecsSinceEpoch(), -e)});
        }
        auto* band = new QAreaSeries(upper, lower);
        // The area does not own its edges; the band takes them along when the chart goes.
        upper->setParent(band);
        lower->setParent(band);
        band->setObjectName(QStringLiteral("band"));
        band->setName(QStringLiteral("± błąd dopuszczalny (%1)").arg(s.label));
        band->setColor(QColor(0, 200, 0, 60));
        band->setBorderColor(QColor(0, 160, 0));
        c->addSeries(band);
        band->attachAxis(time);
        band->attachAxis(value);
    }

    for (const DriftData::Series& s : drift.series) {
        auto* line = new QLineSeries;
        line->setObjectName(QStringLiteral("actual"));
        line->setName(s.label);
        line->setPointsVisible(true);
        for (const DriftData::Value& v : s.values)
            line->append(v.checkedAt.toMSecsSinceEpoch(), v.actualError);
        c->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(value);
        errorLines << line;
    }

    if (first.isValid()) {
        time->setRange(axisFrom, axisTo);
        time->setFormat(axis.format);
        time->setTitleText(axis.title);
        const double margin = (high - low) * 0.07;
        value->setRange(low - margin, high + margin);
        if (high == low)
            value->setRange(-1, 1);
        value->applyNiceNumbers();
    }
}
