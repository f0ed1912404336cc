// SPDX-License-Identifier: MIT
#include "ui/transducer/TransducerErrorChart.h"

#include "core/transducer/TransducerMath.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

TransducerErrorChart::TransducerErrorChart(QWidget* parent)
    : QChartView(parent), asFound(new QLineSeries), asLeft(new QLineSeries), upper(new QLineSeries),
      lower(new QLineSeries), x(new QValueAxis), y(new QValueAxis)
{
    // The view's own chart: one set in its place would leave the first to nobody.
    QChart* c = chart();
    c->setTitle(QStringLiteral("Błąd [% zakresu wyjścia]"));
    asFound->setName(QStringLiteral("Przed regulacją"));
    asLeft->setName(QStringLiteral("Po regulacji"));
    upper->setName(QStringLiteral("Błąd dopuszczalny"));
    asFound->setPointsVisible(true);
    asLeft->setPointsVisible(true);
    asFound->setColor(QColor(200, 30, 30));
    asLeft->setColor(QColor(20, 90, 200));
    for (QLineSeries* band : {upper, lower}) {
        QPen pen(Qt::darkGray);
        pen.setStyle(Qt::DashLine);
        band->setPen(pen);
    }
    x->setTitleText(QStringLiteral("Wejście [% zakresu]"));
    x->setRange(0, 100);
    x->setLabelFormat(QStringLiteral("%.0f"));
    y->setLabelFormat(QStringLiteral("%.2f"));
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* s : {upper, lower, asFound, asLeft}) {
        c->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    c->legend()->markers(lower).first()->setVisible(false);
    c->legend()->setAlignment(Qt::AlignBottom);
    setRenderHint(QPainter::Antialiasing);
}

void TransducerErrorChart::Fill(const TransducerDoc& doc)
{
    QList<double> percents = doc.points;
    std::sort(percents.begin(), percents.end());
    percents.erase(std::unique(percents.begin(), percents.end()), percents.end());
    QList<QPointF> up, down;
    double extent = 0;
    for (double p : percents) {
        const double limit =
            TransducerMath::LimitPercentOfSpan(doc, TransducerMath::ExpectedOutput(doc, p));
        up << QPointF(p, limit);
        down << QPointF(p, -limit);
        extent = std::max(extent, limit);
    }
    upper->replace(up);
    lower->replace(down);
    for (auto [series, run] : {std::pair{asFound, &doc.asFound}, std::pair{asLeft, &doc.asLeft}}) {
        QList<QPointF> points;
        for (const TransducerPointResult& r : run->points) {
            if (r.verdict == PointVerdict::OutOfRange)
                continue;
            points << QPointF(r.percent, r.errorPercent);
            extent = std::max(extent, std::fabs(r.errorPercent));
        }
        series->replace(points);
    }
    extent = extent > 0 ? extent * 1.2 : 1;
    y->setRange(-extent, extent);
}
