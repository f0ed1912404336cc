// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/ReportCharts.h"

#include "ui/controls/ChartControl.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "ui/metercheck/report/PrintJobs.h"

#include <QChart>

namespace {

// Where a chart goes on its page (0.01 mm): as wide as the table page's lines, from the same
// top margin; the chart keeps its own proportions inside.
const QRectF chartArea(2000, 2000, 16000, 12000);

// Prints through chart pages of its own, so that printing never changes what the window's
// pages show.
class PageChartPrinter : public ReportChartPrinter
{
public:
    PageChartPrinter(const MeterCheckDoc& doc, MessageService& messages)
        : messages(messages), pointsPage(doc, messages), errorsPage(doc, messages)
    {}

    void PrintChart(Chart chart, int range, PrintJobs& jobs) override
    {
        ChartPage& page = chart == Chart::Points ? static_cast<ChartPage&>(pointsPage)
                                                 : static_cast<ChartPage&>(errorsPage);
        // A range that cannot be drawn starts no job; the page tells why when there is a
        // reason to tell ("Nie zaznaczono punktów do wykresu.").
        if (!page.DrawChart(range))
            return;
        if (!jobs.HasPrinter()) {
            ShowPrintError(QStringLiteral("Nie znaleziono drukarki!"), messages);
            return;
        }
        QPainter* painter =
            jobs.BeginJob(chart == Chart::Points ? QStringLiteral("Wykres punktów - R718")
                                                 : QStringLiteral("Wykres błędów - R718"));
        if (!painter) {
            ShowPrintError(QStringLiteral("Nie można zainicjalizować drukarki"), messages);
            return;
        }
        if (!jobs.BeginPage()) {
            ShowPrintError(QStringLiteral("Nie można wystartować strony"), messages);
            jobs.AbortJob();
            return;
        }
        page.RenderChart(*painter, chartArea);
        jobs.EndPage();
        jobs.EndJob();
    }

private:
    MessageService& messages;
    CPointsChartPage pointsPage;
    CErrorsChartPage errorsPage;
};

} // namespace

std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter(const MeterCheckDoc& doc,
                                                             MessageService& messages)
{
    return std::make_unique<PageChartPrinter>(doc, messages);
}
