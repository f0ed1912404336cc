// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/ProtocolPrinter.h"

#include "core/base/MessageService.h"
#include "core/base/WorkProgress.h"
#include "core/history/CheckRecord.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/report/ConformityAppendix.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/metercheck/report/AppendixPage.h"
#include "ui/metercheck/report/PrintJobs.h"
#include "ui/metercheck/report/ProtocolPage.h"

void ShowPrintError(const QString& text, MessageService& messages)
{
    messages.Show(text, QString::fromUtf8(reportMessageCaption), MessageIcon::Error,
                  MessageButtons::Ok, nullptr);
}

QPainter* BeginPrintJob(PrintJobs& jobs, const QString& title, MessageService& messages)
{
    if (!jobs.HasPrinter()) {
        ShowPrintError(QStringLiteral("Nie znaleziono drukarki!"), messages);
        return nullptr;
    }
    QPainter* painter = jobs.BeginJob(title);
    if (!painter) {
        ShowPrintError(QStringLiteral("Nie można zainicjalizować drukarki"), messages);
        return nullptr;
    }
    if (!jobs.BeginPage()) {
        ShowPrintError(QStringLiteral("Nie można wystartować strony"), messages);
        jobs.AbortJob();
        return nullptr;
    }
    return painter;
}

bool PrintProtocolTable(PrintJobs& jobs, const MeterCheckDoc& doc, int range,
                        const ReportClock& clock, MessageService& messages)
{
    const QDateTime now = clock.Now();
    const QString dateText = ReportDateText(now.date());
    const QString timeText = ReportTimeText(now.time());

    QPainter* painter = BeginPrintJob(jobs, QStringLiteral("Wydruk - R718"), messages);
    if (!painter)
        return false;
    PaintProtocolPage(*painter, doc, range, dateText, timeText);
    jobs.EndPage();
    jobs.EndJob();
    return true;
}

bool PrintReportAppendix(PrintJobs& jobs, const MeterCheckDoc& doc, const QList<int>& ranges,
                         const LabPolicy& policy, const ReportClock& clock,
                         MessageService& messages)
{
    RunContext context;
    context.endedAt = clock.Now();
    context.policy = policy;
    const QList<CheckRecord> records = BuildCheckRecords(doc, ranges, context);
    if (records.isEmpty())
        return true;
    return PrintConformityAppendix(
        jobs, BuildConformityAppendix(records, {}, context.endedAt.date()), messages);
}

bool PrintReport(const PrintOptions& options, const MeterCheckSession& session, PrintJobs& jobs,
                 ReportChartPrinter* charts, const ReportClock& clock, MessageService& messages,
                 WorkProgress* progress)
{
    const MeterCheckDoc& doc = session.document;
    const bool points = options.printPointsChart && charts;
    const bool errors = options.printErrorsChart && charts;
    const int pagesPerRange = (options.printTable ? 1 : 0) + (points ? 1 : 0) + (errors ? 1 : 0);
    const int rangeCount = options.printScope == RangeScope::Current ? 1 : CountRanges(doc);
    const bool appendix = options.printTable && options.labPolicy.AppendixWanted();
    const int pageCount = rangeCount * pagesPerRange + (appendix ? 1 : 0);
    QList<int> printed; // the ranges, for the appendix
    int page = 0;
    int rangeNumber = 0;
    // Before each page: the event loop runs there, and the technician may stop the print.
    auto goOn = [&] {
        const bool go =
            !progress || progress->Continue(page, pageCount,
                                            QStringLiteral("Zakres %1 z %2, strona %3 z %4")
                                                .arg(rangeNumber)
                                                .arg(rangeCount)
                                                .arg(page + 1)
                                                .arg(pageCount));
        ++page;
        return go;
    };
    auto printRange = [&](int range) {
        ++rangeNumber;
        if (range < 0 || range >= maxRanges)
            return true;
        printed << range;
        if (options.printTable) {
            if (!goOn())
                return false;
            PrintProtocolTable(jobs, doc, range, clock, messages);
        }
        if (points) {
            if (!goOn())
                return false;
            charts->PrintChart(ReportChartPrinter::Chart::Points, range, jobs);
        }
        if (errors) {
            if (!goOn())
                return false;
            charts->PrintChart(ReportChartPrinter::Chart::Errors, range, jobs);
        }
        return true;
    };

    if (options.printScope == RangeScope::Current) {
        if (!printRange(session.currentRange))
            return false;
    } else {
        // Counted again after every range, as the other loops over all ranges do.
        for (int i = 0; i < CountRanges(doc); ++i) {
            if (!printRange(i))
                return false;
        }
    }
    if (appendix) {
        if (!goOn())
            return false;
        PrintReportAppendix(jobs, doc, printed, options.labPolicy, clock, messages);
    }
    return true;
}
