#include "metercheck/output/OutputCommands.h"

#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/output/CExportDlg.h"
#include "metercheck/output/CPrintOptionsDlg.h"
#include "metercheck/output/ExcelExport.h"
#include "metercheck/output/PrintJobs.h"
#include "metercheck/output/ProtocolPrinter.h"
#include "metercheck/output/ReportCharts.h"
#include "metercheck/output/ReportClock.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
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

} // namespace

namespace MeterCheckOutput {

void OnPrint(QWidget* parent)
{
    CPrintOptionsDlg options(parent);
    if (options.exec() != QDialog::Accepted)
        return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4)); // the page is laid out for A4
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter();
    PrinterPrintJobs jobs(&printer);
    PrintReport(options.Options(), jobs, charts.get(), SystemReportClock());
    jobs.Finish();
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
    DesktopOpener opener;
    ProgramExport().Export(ranges, chooser, &opener);
}

} // namespace MeterCheckOutput
