// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/ReportCharts.h"

#include "core/base/MessageService.h"
#include "core/metercheck/report/ChartData.h"
#include "ui/metercheck/charts/ChartDrawing.h"
#include "ui/metercheck/report/PrintJobs.h"

#include <QGuiApplication>

namespace {

// Where a chart goes on its page (0.01 mm): as wide as the table page's lines, from the same
// top margin; the chart keeps its own proportions inside.
const QRectF chartArea(2000, 2000, 16000, 12000);

// Draws each chart from the document's data, with the fonts of the chart pages measured once
// for the whole report; the window's pages are never touched.
class DrawnChartPrinter : public ReportChartPrinter
{
public:
    DrawnChartPrinter(const MeterCheckDoc& doc, MessageService& messages)
        : doc(doc), messages(messages), drawing(QGuiApplication::font())
    {}

    void PrintChart(Chart chart, int range, PrintJobs& jobs) override
    {
        const ChartData data = chart == Chart::Points ? RangeCharts::PointsChart(doc, range)
                                                      : RangeCharts::ErrorsChart(doc, range);
        // A range that cannot be drawn starts no job; without a marked point the chart page's
        // message tells why.
        switch (data.status) {
        case ChartData::Status::NotMeasured:
            return;
        case ChartData::Status::NoMarkedPoints:
            messages.Show(RangeCharts::NoPointsMessage(), RangeCharts::NoDataCaption(),
                          MessageIcon::Error, MessageButtons::Ok, nullptr);
            return;
        case ChartData::Status::Ready:
            break;
        }
        QPainter* painter =
            BeginPrintJob(jobs,
                          chart == Chart::Points ? QStringLiteral("Wykres punktów - R718")
                                                 : QStringLiteral("Wykres błędów - R718"),
                          messages);
        if (!painter)
            return;
        drawing.Paint(*painter, chartArea, data);
        jobs.EndPage();
        jobs.EndJob();
    }

private:
    const MeterCheckDoc& doc;
    MessageService& messages;
    const ChartDrawing drawing;
};

} // namespace

std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter(const MeterCheckDoc& doc,
                                                             MessageService& messages)
{
    return std::make_unique<DrawnChartPrinter>(doc, messages);
}
