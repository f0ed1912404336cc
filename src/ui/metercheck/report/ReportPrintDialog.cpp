// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/ReportPrintDialog.h"

#include <QPrinter>

ReportPrintDialog::ReportPrintDialog(QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent)
{
    setOption(QAbstractPrintDialog::PrintToFile, true);
    setOption(QAbstractPrintDialog::PrintSelection, false);
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

void ReportPrintDialog::setVisible(bool visible)
{
    QPrintDialog::setVisible(visible);
    // The dialog shows its "Print range" box (pages from-to, page set) even with the
    // page-range options off: hide it each time the dialog shows.
    if (QWidget* range = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
        range->hide();
}

int ReportPrintDialog::exec()
{
    const int result = QPrintDialog::exec();
    printer()->setPrintRange(QPrinter::AllPages);
    return result;
}
