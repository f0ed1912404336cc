// SPDX-License-Identifier: MIT
#include "metercheck/output/ProtocolPrinter.h"

#include "base/MessageService.h"
#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/output/PrintJobs.h"
#include "metercheck/output/ProtocolPage.h"
#include "metercheck/output/ReportClock.h"

const char* const reportMessageCaption = "Tevano 718";

void ShowPrintError(const QString& text)
{
    Messages().Show(text, QString::fromUtf8(reportMessageCaption), MessageIcon::Error,
                    MessageButtons::Ok, nullptr);
}

bool PrintProtocolTable(PrintJobs& jobs, int range, const ReportClock& clock)
{
    return PrintProtocolTable(jobs, meterCheckDoc, range, clock);
}

bool PrintProtocolTable(PrintJobs& jobs, const MeterCheckDoc& doc, int range,
                        const ReportClock& clock)
{
    const QDateTime now = clock.Now();
    const QString dateText = ReportDateText(now.date());
    const QString timeText = ReportTimeText(now.time());

    if (!jobs.HasPrinter()) {
        ShowPrintError(QStringLiteral("Nie znaleziono drukarki!"));
        return false;
    }
    QPainter* painter = jobs.BeginJob(QStringLiteral("Wydruk - R718"));
    if (!painter) {
        ShowPrintError(QStringLiteral("Nie można zainicjalizować drukarki"));
        return false;
    }
    if (!jobs.BeginPage()) {
        ShowPrintError(QStringLiteral("Nie można wystartować strony"));
        jobs.AbortJob();
        return false;
    }
    PaintProtocolPage(*painter, doc, range, dateText, timeText);
    jobs.EndPage();
    jobs.EndJob();
    return true;
}

void PrintReport(const PrintOptions& options, PrintJobs& jobs, ReportChartPrinter* charts,
                 const ReportClock& clock)
{
    auto printRange = [&](int range) {
        if (range < 0 || range >= maxRanges)
            return;
        if (options.printTable)
            PrintProtocolTable(jobs, range, clock);
        if (options.printPointsChart && charts)
            charts->PrintChart(ReportChartPrinter::Chart::Points, range, jobs);
        if (options.printErrorsChart && charts)
            charts->PrintChart(ReportChartPrinter::Chart::Errors, range, jobs);
    };

    if (options.printScope == 0) {
        printRange(currentRange);
        return;
    }
    // Counted again after every range, as the other loops over all ranges do.
    for (int i = 0; i < CountRanges(); ++i)
        printRange(i);
}
