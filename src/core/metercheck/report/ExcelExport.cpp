// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ExcelExport.h"

#include "core/base/MessageService.h"
#include "core/base/WorkProgress.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/report/ReportFile.h"

#include <QDir>

bool ExcelExport::Export(const MeterCheckSession& session, const QList<int>& ranges,
                         ExportPathChooser& chooser, WorkbookOpener* opener, WorkProgress* progress)
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
    const int count = int(ranges.size());
    for (int i = 0; i < count; ++i) {
        if (progress && !progress->Continue(i, count + 1,
                                            QStringLiteral("Zakres %1 z %2").arg(i + 1).arg(count)))
            return false;
        ExportRangeToExcel(next, session.document, ranges[i]);
    }
    if (progress && !progress->Continue(count, count + 1, QStringLiteral("Zapisywanie skoroszytu")))
        return false;
    QByteArray content;
    ExportError error;
    const bool made = next.Content(&content, &error);
    QString cause;
    const bool written = made && WriteReportFile(target, content, session.documentName, &cause);
    if (progress)
        progress->Done();
    if (!made) {
        ReportComError(error, messages);
        return false;
    }
    if (!written) {
        messages.ShowError(QStringLiteral("Nie zapisano skoroszytu w pliku:\n%1\n%2.")
                               .arg(QDir::toNativeSeparators(target), cause));
        return false;
    }
    workbook = next;
    path = target;
    exportCount += int(ranges.size());

    // The workbook is saved: a missing spreadsheet program is worth knowing, not a failure.
    if (opener && !opener->Open(path)) {
        messages.Show(QStringLiteral("Skoroszyt zapisano w pliku %1.\n"
                                     "Nie znaleziono programu, który go otworzy.")
                          .arg(QDir::toNativeSeparators(path)),
                      QStringLiteral("Eksport danych do Excela"), MessageIcon::Information,
                      MessageButtons::Ok, nullptr);
    }
    return true;
}

void ReportComError(const ExportError& error, MessageService& messages)
{
    // No bell characters: a message box draws them as boxes.
    const QString text =
        QStringLiteral("Oops - hit an error!\n\tCode = ") + QString::asprintf("%08x", error.code) +
        QStringLiteral("\n\tCode meaning = ") + error.meaning.trimmed() + QLatin1Char('\n');
    messages.Show(text, QString::fromUtf8(exportErrorCaption), MessageIcon::Error,
                  MessageButtons::Ok, nullptr);
}
