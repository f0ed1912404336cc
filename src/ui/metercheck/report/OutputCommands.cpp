// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/OutputCommands.h"

#include "ui/base/DialogWorkProgress.h"
#include "core/base/MessageService.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "ui/metercheck/report/CExportDlg.h"
#include "ui/metercheck/report/CPrintOptionsDlg.h"
#include "core/metercheck/report/ExcelExport.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportCharts.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/metercheck/report/ReportPrintDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

namespace {

class DialogPathChooser : public ExportPathChooser
{
public:
    DialogPathChooser(const QString& documentName, QWidget* parent)
        : documentName(documentName), parent(parent)
    {}

    QString AskWorkbookPath() override
    {
        QString path = QFileDialog::getSaveFileName(
            parent, QStringLiteral("Zapisz skoroszyt"),
            MeterCheckOutput::SuggestedPath(FileKind::Workbook, QStringLiteral("xlsx"),
                                            QStringLiteral("R718"), documentName),
            QStringLiteral("Skoroszyty programu Excel (*.xlsx)"));
        if (!path.isEmpty() && !path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
            path += QLatin1String(".xlsx");
        RememberFolder(FileKind::Workbook, path);
        return path;
    }

private:
    QString documentName;
    QWidget* parent;
};

// Without any printer the print dialog offers only a PDF file: suggest one named after the
// document instead of a bare folder. (With printers, a file name would make the PDF file the
// dialog's first choice instead of the printer.)
void SuggestPdfFile(QPrinter& printer, const QString& documentName)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return;
    printer.setOutputFileName(MeterCheckOutput::SuggestedPath(
        FileKind::Report, QStringLiteral("pdf"), QStringLiteral("Protokół"), documentName));
}

} // namespace

bool DesktopWorkbookOpener::Open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace MeterCheckOutput {

void OnPrint(const MeterCheckSession& session, MessageService& messages, QWidget* parent)
{
    CPrintOptionsDlg optionsDialog(parent);
    if (optionsDialog.exec() != QDialog::Accepted)
        return;
    PrintOptions options = optionsDialog.Options();
    options.labPolicy = LabPolicy::FromSettings();

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4)); // the page is laid out for A4
    SuggestPdfFile(printer, session.documentName);
    ReportPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        RememberFolder(FileKind::Report, printer.outputFileName());

    const std::unique_ptr<ReportChartPrinter> charts =
        CreateReportChartPrinter(session.document, messages);
    DialogWorkProgress progress(parent, QStringLiteral("Drukowanie"));
    QString file;
    PrintOnChosenPrinter(
        printer,
        [&](PrintJobs& jobs) {
            const bool whole = PrintReport(options, session, jobs, charts.get(),
                                           SystemReportClock(), messages, &progress);
            progress.Done();
            return whole;
        },
        session.documentName, messages, &file);
    if (!file.isEmpty())
        messages.Show(
            QStringLiteral("Wydruk zapisano w pliku:\n%1").arg(QDir::toNativeSeparators(file)),
            QString::fromUtf8(reportMessageCaption), MessageIcon::Information, MessageButtons::Ok,
            parent);
}

void OnExport(const MeterCheckSession& session, ExcelExport& workbook, WorkbookOpener& opener,
              QWidget* parent)
{
    CExportDlg options(parent);
    if (options.exec() != QDialog::Accepted)
        return;

    QList<int> ranges;
    if (options.exportScope == RangeScope::Current) {
        if (session.currentRange >= 0 && session.currentRange < maxRanges)
            ranges << session.currentRange;
    } else {
        for (int i = 0; i < CountRanges(session.document); ++i)
            ranges << i;
    }
    DialogPathChooser chooser(session.documentName, parent);
    DialogWorkProgress progress(parent, QStringLiteral("Eksport danych do Excela"));
    workbook.Export(session, ranges, chooser, &opener, &progress);
}

QString SuggestedPath(FileKind kind, const QString& suffix, const QString& fallbackBase,
                      const QString& documentName)
{
    const QFileInfo document(documentName);
    const QString base =
        document.completeBaseName().isEmpty() ? fallbackBase : document.completeBaseName();
    QString folder = LastFolder(kind);
    if (folder.isEmpty())
        folder = document.isAbsolute() && document.dir().exists() ? document.absolutePath()
                                                                  : QDir::currentPath();
    return QDir(folder).filePath(base + QLatin1Char('.') + suffix);
}

} // namespace MeterCheckOutput
