// SPDX-License-Identifier: MIT
#pragma once

#include <QPrintDialog>

// The system print dialog for a report: a printer (or a PDF file) and copies, nothing else.
// A report is printed whole: no page range, page set, "Current Page" or "Selection".
class ReportPrintDialog : public QPrintDialog
{
public:
    ReportPrintDialog(QPrinter* printer, QWidget* parent);

    void setVisible(bool visible) override;
    int exec() override;
};
