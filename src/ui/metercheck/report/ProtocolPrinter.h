// SPDX-License-Identifier: MIT
#pragma once

#include "core/lab/LabPolicy.h"
#include "core/metercheck/document/MeterCheckMode.h"

#include <QList>

#include <QString>

class MessageService;
class PrintJobs;
class QPainter;
class ReportClock;
class WorkProgress;
struct MeterCheckDoc;
struct MeterCheckSession;

// What the print command prints: the choices of the print options dialog, and the lab's policy.
struct PrintOptions
{
    bool printTable = true;
    bool printPointsChart = false;
    bool printErrorsChart = false;
    RangeScope printScope = RangeScope::Current;
    // The lab's policy: when it asks for the appendix (LabPolicy::AppendixWanted), the
    // statements of conformity of the printed ranges follow their table pages.
    LabPolicy labPolicy;
};

// Prints the charts of a range, each as a print job of its own. A chart that has nothing to
// draw starts no job.
class ReportChartPrinter
{
public:
    enum class Chart
    {
        Points,
        Errors
    };
    virtual ~ReportChartPrinter() = default;
    virtual void PrintChart(Chart chart, int range, PrintJobs& jobs) = 0;
};

// The caption of the printing messages: the application's title.
inline constexpr char reportMessageCaption[] = "Tevano 718";
// A printing failure ("Nie znaleziono drukarki!", ...) in its message box.
void ShowPrintError(const QString& text, MessageService& messages);
// Starts a print job named `title` on its first page. Null after the printing message when
// there is no printer or the job or its page cannot start (a begun job is aborted).
QPainter* BeginPrintJob(PrintJobs& jobs, const QString& title, MessageService& messages);

// One print job with the table page of range `range` of a document (the meter check's, or one
// made of a check kept in the history). Failures are shown in a message box and give false.
bool PrintProtocolTable(PrintJobs& jobs, const MeterCheckDoc& doc, int range,
                        const ReportClock& clock, MessageService& messages);

// The appendix page(s) of ranges `ranges` of a document, printed now under `policy` (made of the
// document's points as a record of the check would keep them; a calibrator past its due date
// on the clock's day is said so). Nothing when no range has a measured point. False after the
// printing message when it could not be printed.
bool PrintReportAppendix(PrintJobs& jobs, const MeterCheckDoc& doc, const QList<int>& ranges,
                         const LabPolicy& policy, const ReportClock& clock,
                         MessageService& messages);

// The print command after its options were chosen: the chosen parts of the session's current
// range or of every range, range after range. The charts are printed even when a table failed.
// Before each page `progress` (when given) learns the range and the page (of the pages chosen, a
// chart with nothing to draw included, the appendix one page) and may stop the print; false
// when it was stopped. The appendix, when the policy asks for it and the table is printed,
// comes once after the pages of all ranges.
bool PrintReport(const PrintOptions& options, const MeterCheckSession& session, PrintJobs& jobs,
                 ReportChartPrinter* charts, const ReportClock& clock, MessageService& messages,
                 WorkProgress* progress = nullptr);
