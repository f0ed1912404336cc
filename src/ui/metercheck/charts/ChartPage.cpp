// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/ChartPage.h"

#include "core/base/MessageService.h"
#include "ui/base/DialogUnits.h"
#include "ui/controls/ChartControl.h"
#include "ui/metercheck/charts/ChartDrawing.h"

#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

ChartPage::ChartPage(const MeterCheckDoc& doc, MessageService& messages, QWidget* parent)
    : QWidget(parent), doc(doc), messages(messages)
{
    // A borderless child page of 527 × 310 units with the chart at 7, 7, 513 × 296.
    resize(DialogUnits::Size(527, 310));
    chart = new ChartControl(this);
    chart->setObjectName(QStringLiteral("chart"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DialogUnits::X(7), DialogUnits::Y(7), DialogUnits::X(7),
                               DialogUnits::Y(7));
    layout->addWidget(chart);
}

bool ChartPage::DrawChart(int range)
{
    const ChartData built = BuildChart(range);
    switch (built.status) {
    case ChartData::Status::NotMeasured:
        return false;
    case ChartData::Status::NoMarkedPoints:
        hide();
        messages.Show(RangeCharts::NoPointsMessage(), RangeCharts::NoDataCaption(),
                      MessageIcon::Error, MessageButtons::Ok, parentWidget());
        return false;
    case ChartData::Status::Ready:
        break;
    }
    data = built;

    chart->OpenData(int(data.series.size()), data.pointCount);
    for (int place = 0; place < int(data.titles.size()); ++place)
        chart->setTitle(ChartControl::TitlePlace(place), data.titles[place]);
    chart->setAxisMinimum(data.axisMin);
    chart->setAxisMaximum(data.axisMax);
    chart->setAxisStep(data.axisStep);
    // Bars compare setting and indication point by point; the errors are lines between the
    // two lines of the permissible error.
    chart->setChartKind(data.optionB == 2 ? ChartControl::ChartKind::Bars
                                          : ChartControl::ChartKind::Lines);
    for (int s = 0; s < int(data.series.size()); ++s) {
        const ChartSeries& series = data.series[s];
        chart->setSeriesLegend(s, series.legend);
        chart->setCurrentSeries(s);
        chart->setSeriesColor(QColor::fromRgb(series.color));
        for (int n = 0; n < int(series.values.size()); ++n)
            chart->setPointValue(n, series.values[n]);
    }
    chart->CloseData();
    return true;
}

bool ChartPage::PrintChart(int range, QPrinter& printer)
{
    if (!DrawChart(range))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the corner of the printable part of the page.
    RenderChart(painter, QRectF(0, 0, printer.width(), printer.height()));
    painter.end();
    return true;
}

bool ChartPage::PrintChart(int range, QPainter& painter, const QRectF& area)
{
    if (!DrawChart(range))
        return false;
    RenderChart(painter, area);
    return true;
}

void ChartPage::RenderChart(QPainter& painter, const QRectF& area) const
{
    ChartDrawing(chart->font()).Paint(painter, area, data);
}
