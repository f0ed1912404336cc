// SPDX-License-Identifier: MIT
#include "ConsoleMessageService.h"

#include "core/base/ConsoleText.h"
#include "core/metercheck/report/ExcelExport.h"

#include <QTextStream>

namespace {

// The export's automation error box speaks the words of another program ("Oops - hit an
// error!", "Code meaning = ..."); on the terminal it says what failed and the library's reason.
QString ExportErrorText(const QString& text)
{
    const QString meaningLabel = QStringLiteral("Code meaning = ");
    QString meaning;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype at = line.indexOf(meaningLabel);
        if (at >= 0)
            meaning = line.mid(at + meaningLabel.size()).trimmed();
    }
    return QStringLiteral("nie udało się utworzyć skoroszytu: %1").arg(meaning);
}

} // namespace

MessageAnswer ConsoleMessageService::Show(const QString& text, const QString& caption, MessageIcon,
                                          MessageButtons buttons, QObject*)
{
    captions << caption;
    const QString message =
        caption == QLatin1String(exportErrorCaption) ? ExportErrorText(text) : text;
    err << ConsoleMessage(QStringLiteral("r718-report"), message) << Qt::endl;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}
