// SPDX-License-Identifier: MIT
#include "core/base/MessageService.h"

#include <QDebug>

void MessageService::ShowError(const QString& text, QObject* owner)
{
    Show(text, QStringLiteral("Błąd!"), MessageIcon::Error, MessageButtons::Ok, owner);
}

void MessageService::ShowError(const QString& text, const QString& detail, QObject* owner)
{
    if (detail.isEmpty()) {
        ShowError(text, owner);
        return;
    }
    ShowDetailed(text, detail, QStringLiteral("Błąd!"), MessageIcon::Error, MessageButtons::Ok,
                 owner);
}

MessageAnswer MessageService::AskQuestion(const QString& text, const QString& caption,
                                          MessageButtons buttons, QObject* owner)
{
    return Show(text, caption, MessageIcon::Question, buttons, owner);
}

MessageAnswer LogMessageService::Show(const QString& text, const QString& caption, MessageIcon icon,
                                      MessageButtons buttons, QObject* owner)
{
    return ShowDetailed(text, QString(), caption, icon, buttons, owner);
}

MessageAnswer LogMessageService::ShowDetailed(const QString& text, const QString& detail,
                                              const QString& caption, MessageIcon,
                                              MessageButtons buttons, QObject*)
{
    if (detail.isEmpty())
        qWarning().noquote() << caption << text;
    else
        qWarning().noquote() << caption << text << detail;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}
