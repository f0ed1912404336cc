// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/report/PrintJobs.h"

#include <QPainter>

class QPrinter;

// Jobs on a printer: every job is a job of its own in the printer queue. A PDF file is no
// printer here: PdfFileJobs writes it.
class PrinterPrintJobs : public PrintJobs
{
public:
    // printer may be nullptr (no printer chosen). The printer is switched to full-page mode.
    explicit PrinterPrintJobs(QPrinter* printer);
    ~PrinterPrintJobs() override;

    bool HasPrinter() const override;
    QPainter* BeginJob(const QString& name) override;
    bool BeginPage() override;
    void EndPage() override;
    void EndJob() override;
    void AbortJob() override;

    // Pages finished so far.
    int PagesPrinted() const { return pages; }

private:
    void SetUpPage();

    QPrinter* printer;
    QPainter painter;
    int pages = 0;
};
