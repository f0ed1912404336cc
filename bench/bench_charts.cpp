// SPDX-License-Identifier: MIT
// The report's charts: the PDF of 1, 10, 25 and 50 ranges of 50 measured, marked points with
// the tables and both charts, printed in this process with the charts drawn by the report
// (after) and through the chart pages' Qt Charts scene (before, as the report drew them until
// the drawing of its own), side by side. Processor time of the whole print, the PDF file
// written included; medians of the runs. Target: 50 ranges under 0.5 s.
//
//   bench_charts [runs]                 (default 5)
//   bench_charts --pages DIR [FILE.met] writes before-N.pdf and after-N.pdf (the bench's
//                                       documents, or every range of FILE.met as
//                                       before.pdf/after.pdf) at a frozen clock, for comparing
//                                       the pages as images
#include "BenchDocument.h"
#include "Child.h"
#include "core/base/MessageService.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/controls/ChartControl.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/PrintJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportCharts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

class FrozenClock : public ReportClock
{
public:
    QDateTime Now() const override { return QDateTime(QDate(2004, 3, 5), QTime(9, 7, 45)); }
};

// The charts as the report printed them through the chart pages' Qt Charts scene.
class QtChartsPrinter : public ReportChartPrinter
{
public:
    QtChartsPrinter(const MeterCheckDoc& doc, MessageService& messages)
        : pointsPage(doc, messages), errorsPage(doc, messages)
    {}

    void PrintChart(Chart chart, int range, PrintJobs& jobs) override
    {
        ChartPage& page = chart == Chart::Points ? static_cast<ChartPage&>(pointsPage)
                                                 : static_cast<ChartPage&>(errorsPage);
        if (!page.DrawChart(range))
            return;
        QPainter* painter = jobs.BeginJob(QStringLiteral("chart"));
        if (!painter || !jobs.BeginPage())
            return;
        const QRectF area(2000, 2000, 16000, 12000);
        const QSizeF fitted = QSizeF(ChartControl::unshownWidth, ChartControl::unshownHeight)
                                  .scaled(area.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), fitted);
        target.moveCenter(area.center());
        target.moveTop(area.top());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        Child<ChartControl>(page, "chart")->RenderTo(*painter, target);
        painter->restore();
        jobs.EndPage();
        jobs.EndJob();
    }

private:
    CPointsChartPage pointsPage;
    CErrorsChartPage errorsPage;
};

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// Prints every range with the table and both charts to `path`; the processor seconds taken.
double PrintAll(const MeterCheckSession& session, bool drawn, const QString& path)
{
    LogMessageService messages;
    const FrozenClock clock;
    const double start = CpuSeconds();
    std::unique_ptr<ReportChartPrinter> charts;
    if (drawn)
        charts = CreateReportChartPrinter(session.document, messages);
    else
        charts = std::make_unique<QtChartsPrinter>(session.document, messages);
    PdfFileJobs jobs;
    PrintReport(PrintOptions{true, true, true, RangeScope::All, {}}, session, jobs, charts.get(),
                clock, messages);
    if (!jobs.Save(path, session.documentName, messages))
        return -1;
    return CpuSeconds() - start;
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    MeterCheckSession session;

    if (args.size() > 2 && args[1] == "--pages") {
        const QDir dir(args[2]);
        if (args.size() > 3) {
            LogMessageService messages;
            if (!LoadDocument(session, args[3], messages))
                return 1;
            return PrintAll(session, false, dir.filePath("before.pdf")) < 0 ||
                   PrintAll(session, true, dir.filePath("after.pdf")) < 0;
        }
        for (int ranges : {1, 50}) {
            FillBenchDocument(session.document, ranges);
            if (PrintAll(session, false, dir.filePath(QString("before-%1.pdf").arg(ranges))) < 0 ||
                PrintAll(session, true, dir.filePath(QString("after-%1.pdf").arg(ranges))) < 0)
                return 1;
        }
        return 0;
    }

    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 5;
    const QString pdf = QDir::temp().filePath("bench_charts.pdf");
    std::printf("PDF of N ranges x 50 points, tables and both charts; cpu median of %d runs\n",
                runs);
    std::printf("%6s %12s %12s %7s\n", "ranges", "Qt Charts", "drawn", "ratio");
    bool over = false;
    for (int ranges : {1, 10, 25, 50}) {
        FillBenchDocument(session.document, ranges);
        QList<double> before, after;
        for (int i = 0; i < runs; ++i) {
            before << PrintAll(session, false, pdf);
            after << PrintAll(session, true, pdf);
        }
        const double b = Median(before);
        const double a = Median(after);
        std::printf("%6d %10.3f s %10.3f s %6.2fx\n", ranges, b, a, b / a);
        over = over || (ranges == 50 && a > 0.5);
    }
    QFile::remove(pdf);
    std::printf("target: 50 ranges drawn under 0.5 s %s\n", over ? "OVER" : "OK");
    return 0;
}
