// SPDX-License-Identifier: MIT
#include "metercheck/output/ExcelExport.h"

#include "base/MessageService.h"

bool ExcelExport::Export(const QList<int>& ranges, ExportPathChooser& chooser,
                         WorkbookOpener* opener)
{
    if (ranges.isEmpty())
        return true;
    QString target = path;
    if (target.isEmpty()) {
        target = chooser.AskWorkbookPath();
        if (target.isEmpty())
            return false;
    }

    ExportWorkbook next = workbook;
    for (int range : ranges)
        ExportRangeToExcel(next, range);
    ExportError error;
    if (!next.Write(target, &error)) {
        ReportComError(error);
        return false;
    }
    workbook = next;
    path = target;
    exportCount += int(ranges.size());

    if (opener && !opener->Open(path)) {
        ReportComError(
            {openFailedCode,
             QStringLiteral("Nie można otworzyć pliku %1 w arkuszu kalkulacyjnym.").arg(path)});
        return false;
    }
    return true;
}

ExcelExport& ProgramExport()
{
    static ExcelExport programExport;
    return programExport;
}

void ReportComError(const ExportError& error)
{
    const QString text = QStringLiteral("Oops - hit an error!\n") + QChar(0x07) +
                         QStringLiteral("\tCode = ") + QString::asprintf("%08x", error.code) +
                         QLatin1Char('\n') + QChar(0x07) + QStringLiteral("\tCode meaning = ") +
                         error.meaning.trimmed() + QLatin1Char('\n');
    Messages().Show(text, QStringLiteral("excel com"), MessageIcon::Error, MessageButtons::Ok,
                    nullptr);
}
