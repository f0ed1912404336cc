// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/LastFolders.h"
#include "core/metercheck/report/ExcelExport.h"

#include <QString>

class MessageService;
class QWidget;
struct MeterCheckSession;

// Shows a written workbook in the desktop's program for .xlsx files.
class DesktopWorkbookOpener : public WorkbookOpener
{
public:
    bool Open(const QString& path) override;
};

// The print and export commands of the meter check window ("&Drukuj...",
// "Eksport do E&xcela..."), each a one-line call from the window's handler.
namespace MeterCheckOutput {

// Asks what to print and on which printer, then prints the report of the session's current
// range or of every range. Printing to a file writes all pages of the command into one PDF
// file.
void OnPrint(const MeterCheckSession& session, MessageService& messages, QWidget* parent);

// Asks which ranges to export, adds their sheets to the program run's workbook, writes it
// and shows it with `opener`.
void OnExport(const MeterCheckSession& session, ExcelExport& workbook, WorkbookOpener& opener,
              QWidget* parent);

// The file an output of the document `documentName` is first offered under: named after the
// document (its base name, or `fallbackBase` when there is no document name) with `suffix`,
// in the folder last used for `kind`, else beside the document, else in the current folder.
QString SuggestedPath(FileKind kind, const QString& suffix, const QString& fallbackBase,
                      const QString& documentName);

} // namespace MeterCheckOutput
