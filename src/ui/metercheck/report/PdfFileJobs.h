// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/report/PrintJobs.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>

#include <functional>

class MessageService;

// The report printed to a PDF file: the pages of all jobs of one print command go one after
// the other into one document in memory, and the file is written whole at the end, so that a
// failure never leaves a broken or a half-replaced file.
class PdfFileJobs : public PrintJobs
{
public:
    // The paper of the pages; margins are not used (the layout is in 0.01 mm of the paper).
    explicit PdfFileJobs(QPageLayout layout = A4());
    ~PdfFileJobs() override;

    bool HasPrinter() const override { return true; }
    QPainter* BeginJob(const QString& name) override;
    bool BeginPage() override;
    void EndPage() override { ++pages; }
    void EndJob() override {}
    void AbortJob() override {}

    int PagesPrinted() const { return pages; }
    // Ends the document and writes it to path (a report file: never over the document it is
    // made from, `documentName`). A failure is shown in the printing message box, naming the
    // file and the cause; nothing is written then.
    bool Save(const QString& path, const QString& documentName, MessageService& messages);

    static QPageLayout A4();

private:
    QBuffer buffer;
    QPdfWriter writer;
    QPainter painter;
    bool pageFresh = false; // the painter has just begun: its first page is already open
    int pages = 0;
};

// Prints through what the print dialog chose: for a PDF file, all pages `print` makes go into
// one document written whole at the end (nothing when no page was made, or when `print`
// returns false: the print was cancelled, and a file already there stays as it was); on a
// printer every job goes to its queue. The file is never the open document `documentName`.
// False when the file could not be written (said in a message box). `writtenFile`, when given,
// gets the PDF file written (empty when none).
bool PrintOnChosenPrinter(QPrinter& printer, const std::function<bool(PrintJobs&)>& print,
                          const QString& documentName, MessageService& messages,
                          QString* writtenFile = nullptr);
