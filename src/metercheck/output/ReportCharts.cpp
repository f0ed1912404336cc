#include "metercheck/output/ReportCharts.h"

#include "base/MessageService.h"
#include "metercheck/charts/ChartBuilder.h"
#include "metercheck/charts/ChartData.h"
#include "metercheck/output/PrintJobs.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPainter>

namespace {

// Where a chart goes on its page (0.01 mm): as wide as the table page's lines, 4:3, from the
// same top margin.
const QRectF chartArea(2000, 2000, 16000, 12000);
// The width the chart is laid out at before it is scaled onto the page, as on the screen, so
// that its texts keep the proportions of the chart pages.
constexpr qreal layoutWidth = 960;

// Prints the same charts as the chart pages, built from the same data by the same builder,
// without going through the pages' on-screen charts: a printed range need not disturb what
// the window shows, and laying out only the chart being printed keeps printing all ranges
// quick.
class DocumentChartPrinter : public ReportChartPrinter
{
public:
    void PrintChart(Chart chart, int range, PrintJobs& jobs) override
    {
        const ChartData data = chart == Chart::Points ? RangeCharts::PointsChart(range)
                                                      : RangeCharts::ErrorsChart(range);
        if (data.status == ChartData::NotMeasured)
            return;
        if (data.status == ChartData::NoMarkedPoints) {
            Messages().Show(RangeCharts::NoPointsMessage(), RangeCharts::NoDataCaption(),
                            MessageIcon::Error, MessageButtons::Ok, nullptr);
            return;
        }
        if (!jobs.HasPrinter()) {
            ShowPrintError(QStringLiteral("Nie znaleziono drukarki!"));
            return;
        }
        QPainter* painter =
            jobs.BeginJob(chart == Chart::Points ? QStringLiteral("Wykres punktów - R718")
                                                 : QStringLiteral("Wykres błędów - R718"));
        if (!painter) {
            ShowPrintError(QStringLiteral("Nie można zainicjalizować drukarki"));
            return;
        }
        if (!jobs.BeginPage()) {
            ShowPrintError(QStringLiteral("Nie można wystartować strony"));
            jobs.AbortJob();
            return;
        }
        Render(*painter, data);
        jobs.EndPage();
        jobs.EndJob();
    }

private:
    static void Render(QPainter& painter, const ChartData& data)
    {
        QGraphicsScene scene;
        auto* qchart = new QChart; // owned by the scene
        scene.addItem(qchart);
        const QSizeF size(layoutWidth, layoutWidth * chartArea.height() / chartArea.width());
        qchart->resize(size);
        qchart->setBackgroundRoundness(0);
        ChartBuilder::Fill(*qchart, data);
        scene.setSceneRect(QRectF(QPointF(0, 0), size));
        // The chart lays out its axes, titles and legend on a posted request: this chart's only.
        QCoreApplication::sendPostedEvents(qchart, QEvent::LayoutRequest);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, chartArea, scene.sceneRect(), Qt::KeepAspectRatio);
        painter.restore();
    }
};

} // namespace

std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter()
{
    return std::make_unique<DocumentChartPrinter>();
}
