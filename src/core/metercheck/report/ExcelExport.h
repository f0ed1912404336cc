// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ExportWorkbook.h"

#include <QList>
#include <QString>

class MessageService;
class WorkProgress;
struct MeterCheckSession;

// Asks where the workbook of this program run is to be saved; empty when the user cancels.
class ExportPathChooser
{
public:
    virtual ~ExportPathChooser() = default;
    virtual QString AskWorkbookPath() = 0;
};

// Opens a written workbook in the desktop's spreadsheet program.
class WorkbookOpener
{
public:
    virtual ~WorkbookOpener() = default;
    virtual bool Open(const QString& path) = 0;
};

// The workbook that collects every export of one program run: the first export asks where
// to save it, later exports add their sheets and write it again. The application owns the one
// of the program run; its failures are told through `messages`.
class ExcelExport
{
public:
    explicit ExcelExport(MessageService& messages) : messages(messages) {}

    // Adds one sheet per range of the session's document and writes the workbook whole (a report
    // file: never over the document it is made from); then opens it when an opener is given. A
    // failure to make the workbook is shown in the "excel com" box, a failure to write it with the
    // file and the cause; either changes nothing. A workbook saved but not opened is a success,
    // told as such. Before each range `progress` (when given) learns how far the export got and may
    // stop it: nothing is written then.
    bool Export(const MeterCheckSession& session, const QList<int>& ranges,
                ExportPathChooser& chooser, WorkbookOpener* opener,
                WorkProgress* progress = nullptr);

    const ExportWorkbook& Workbook() const { return workbook; }
    const QString& Path() const { return path; }
    // Sheets exported in this program run; 0 until the first export succeeded.
    int exportCount = 0;

private:
    MessageService& messages;
    ExportWorkbook workbook;
    QString path;
};

// The caption of the message box for a failed export, and the box itself.
inline constexpr char exportErrorCaption[] = "excel com";
void ReportComError(const ExportError& error, MessageService& messages);
