// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/PrinterPrintJobs.h"

#include <QPrinter>

PrinterPrintJobs::PrinterPrintJobs(QPrinter* printer) : printer(printer)
{
    if (printer)
        printer->setFullPage(true);
}

PrinterPrintJobs::~PrinterPrintJobs()
{
    if (painter.isActive())
        painter.end();
}

bool PrinterPrintJobs::HasPrinter() const
{
    return printer && printer->isValid();
}

QPainter* PrinterPrintJobs::BeginJob(const QString& name)
{
    if (!HasPrinter())
        return nullptr;
    printer->setDocName(name);
    if (!painter.begin(printer))
        return nullptr;
    return &painter;
}

bool PrinterPrintJobs::BeginPage()
{
    // A job has one page, open as soon as the job began.
    if (!painter.isActive())
        return false;
    SetUpPage();
    return true;
}

void PrinterPrintJobs::EndPage()
{
    ++pages;
}

void PrinterPrintJobs::EndJob()
{
    if (painter.isActive())
        painter.end();
}

void PrinterPrintJobs::AbortJob()
{
    if (painter.isActive()) {
        printer->abort();
        painter.end();
    }
}

void PrinterPrintJobs::SetUpPage()
{
    // One logical unit is 0.01 mm of the paper whatever its size; the layout does not scale.
    const QRectF paperMm = printer->paperRect(QPrinter::Millimeter);
    painter.resetTransform();
    painter.setViewport(printer->paperRect(QPrinter::DevicePixel).toRect());
    painter.setWindow(0, 0, qRound(paperMm.width() * 100), qRound(paperMm.height() * 100));
    painter.setViewTransformEnabled(true);
}
