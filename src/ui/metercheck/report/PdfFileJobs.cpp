// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/PdfFileJobs.h"

#include "ui/metercheck/report/PrinterPrintJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "core/metercheck/report/ReportFile.h"

#include <QDir>
#include <QPageSize>

namespace {
constexpr int resolution = 1200; // dots per inch, as a high-resolution printer
}

PdfFileJobs::PdfFileJobs(QPageLayout layout) : writer(&buffer)
{
    buffer.open(QIODevice::WriteOnly);
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    writer.setPageLayout(layout);
    writer.setResolution(resolution);
    writer.setCreator(QStringLiteral("Tevano 718"));
}

PdfFileJobs::~PdfFileJobs()
{
    if (painter.isActive())
        painter.end();
}

QPageLayout PdfFileJobs::A4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

QPainter* PdfFileJobs::BeginJob(const QString& name)
{
    if (painter.isActive())
        return &painter; // a later job: it continues on a new page
    writer.setTitle(name);
    if (!painter.begin(&writer))
        return nullptr;
    pageFresh = true;
    return &painter;
}

bool PdfFileJobs::BeginPage()
{
    if (!painter.isActive())
        return false;
    if (pageFresh)
        pageFresh = false;
    else if (!writer.newPage())
        return false;
    // One logical unit is 0.01 mm of the paper whatever its size; the layout does not scale.
    const QPageLayout layout = writer.pageLayout();
    const QRectF paperMm = layout.fullRect(QPageLayout::Millimeter);
    painter.resetTransform();
    painter.setViewport(layout.fullRectPixels(writer.resolution()));
    painter.setWindow(0, 0, qRound(paperMm.width() * 100), qRound(paperMm.height() * 100));
    painter.setViewTransformEnabled(true);
    return true;
}

bool PdfFileJobs::Save(const QString& path, const QString& documentName, MessageService& messages)
{
    if (painter.isActive())
        painter.end();
    QString cause;
    if (!WriteReportFile(path, buffer.data(), documentName, &cause)) {
        ShowPrintError(QStringLiteral("Nie zapisano wydruku w pliku:\n%1\n%2.")
                           .arg(QDir::toNativeSeparators(path), cause),
                       messages);
        return false;
    }
    return true;
}

bool PrintOnChosenPrinter(QPrinter& printer, const std::function<bool(PrintJobs&)>& print,
                          const QString& documentName, MessageService& messages,
                          QString* writtenFile)
{
    if (writtenFile)
        writtenFile->clear();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        PdfFileJobs jobs(printer.pageLayout());
        if (!print(jobs) || jobs.PagesPrinted() == 0)
            return true;
        if (!jobs.Save(printer.outputFileName(), documentName, messages))
            return false;
        if (writtenFile)
            *writtenFile = printer.outputFileName();
        return true;
    }
    PrinterPrintJobs jobs(&printer);
    print(jobs);
    return true;
}
