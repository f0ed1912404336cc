// SPDX-License-Identifier: MIT
#include "metercheck/output/OutputCommands.h"

#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/output/CExportDlg.h"
#include "metercheck/output/CPrintOptionsDlg.h"
#include "metercheck/output/ExcelExport.h"
#include "metercheck/output/PdfFileJobs.h"
#include "metercheck/output/PrintJobs.h"
#include "metercheck/output/ProtocolPrinter.h"
#include "metercheck/output/ReportCharts.h"
#include "metercheck/output/ReportClock.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

namespace {

class DialogPathChooser : public ExportPathChooser
{
public:
    explicit DialogPathChooser(QWidget* parent) : parent(parent) {}

    QString AskWorkbookPath() override
    {
        QString path = QFileDialog::getSaveFileName(
            parent, QStringLiteral("Zapisz skoroszyt"), QDir::current().filePath("R718.xlsx"),
            QStringLiteral("Skoroszyty programu Excel (*.xlsx)"));
        if (!path.isEmpty() && !path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
            path += QLatin1String(".xlsx");
        return path;
    }

private:
    QWidget* parent;
};

class DesktopOpener : public WorkbookOpener
{
public:
    bool Open(const QString& path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

DesktopOpener desktopOpener;
WorkbookOpener* workbookOpener = &desktopOpener;

// The system print dialog for the report: a printer and copies, nothing else. Every range is
// printed whole, but the dialog shows its "Print range" box (pages from-to, page set) even
// with the page-range options off, so the box is hidden each time the dialog shows.
class ReportPrintDialog : public QPrintDialog
{
public:
    ReportPrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent)
    {
        setOption(QAbstractPrintDialog::PrintToFile, true);
        setOption(QAbstractPrintDialog::PrintSelection, false);
        setOption(QAbstractPrintDialog::PrintPageRange, false);
        setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    }

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (QWidget* range = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
            range->hide();
    }
};

// Without any printer the print dialog offers only a PDF file: suggest one named after the
// document, beside it, instead of a bare folder.
void SuggestPdfFile(QPrinter& printer)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return;
    const QFileInfo document(documentName);
    const QString base = document.completeBaseName().isEmpty() ? QStringLiteral("Protokół")
                                                               : document.completeBaseName();
    const QDir folder =
        document.isAbsolute() && document.dir().exists() ? document.dir() : QDir::current();
    printer.setOutputFileName(folder.filePath(base + QStringLiteral(".pdf")));
}

} // namespace

namespace MeterCheckOutput {

void OnPrint(QWidget* parent)
{
    CPrintOptionsDlg options(parent);
    if (options.exec() != QDialog::Accepted)
        return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4)); // the page is laid out for A4
    SuggestPdfFile(printer);
    ReportPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer.setPrintRange(QPrinter::AllPages);

    const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // Printed to a file: all pages into one PDF, written whole once they are all there.
        PdfFileJobs jobs(printer.pageLayout());
        PrintReport(options.Options(), jobs, charts.get(), SystemReportClock());
        if (jobs.PagesPrinted() > 0)
            jobs.Save(printer.outputFileName());
        return;
    }
    PrinterPrintJobs jobs(&printer);
    PrintReport(options.Options(), jobs, charts.get(), SystemReportClock());
}

void OnExport(QWidget* parent)
{
    CExportDlg options(parent);
    if (options.exec() != QDialog::Accepted)
        return;

    QList<int> ranges;
    if (options.exportScope == 0) {
        if (currentRange >= 0 && currentRange < maxRanges)
            ranges << currentRange;
    } else {
        for (int i = 0; i < CountRanges(); ++i)
            ranges << i;
    }
    DialogPathChooser chooser(parent);
    ProgramExport().Export(ranges, chooser, workbookOpener);
}

WorkbookOpener* SetWorkbookOpener(WorkbookOpener* opener)
{
    WorkbookOpener* previous = workbookOpener;
    workbookOpener = opener ? opener : &desktopOpener;
    return previous;
}

} // namespace MeterCheckOutput
