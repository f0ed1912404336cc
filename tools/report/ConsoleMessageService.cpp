// SPDX-License-Identifier: MIT
#include "ConsoleMessageService.h"

#include <QTextStream>

ConsoleMessageService::ConsoleMessageService(QTextStream& err)
    : err(err), previous(SetMessageService(this))
{}

ConsoleMessageService::~ConsoleMessageService()
{
    SetMessageService(previous);
}

MessageAnswer ConsoleMessageService::Show(const QString& text, const QString& caption, MessageIcon,
                                          MessageButtons buttons, QWidget*)
{
    captions << caption;
    QString line = text;
    line.remove(QChar(0x07)); // the bell of the export's error text means nothing here
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    err << "r718-report: " << caption << ": " << line.trimmed().replace('\n', ' ') << Qt::endl;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}
