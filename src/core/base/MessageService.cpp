// SPDX-License-Identifier: MIT
#include "core/base/MessageService.h"

#include <QDebug>

namespace {

// Without a service installed (a program without windows, a test that installs none) a
// message goes to the log and gets the answer of a box closed without a choice.
class LogMessageService : public MessageService
{
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override
    {
        return ShowDetailed(text, QString(), caption, icon, buttons, owner);
    }

    MessageAnswer ShowDetailed(const QString& text, const QString& detail, const QString& caption,
                               MessageIcon, MessageButtons buttons, QObject*) override
    {
        if (detail.isEmpty())
            qWarning().noquote() << caption << text;
        else
            qWarning().noquote() << caption << text << detail;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
};

LogMessageService logService;
MessageService* current = &logService;

} // namespace

MessageService& Messages()
{
    return *current;
}

MessageService* SetMessageService(MessageService* service)
{
    MessageService* previous = current;
    current = service ? service : &logService;
    return previous;
}

void ShowError(const QString& text, QObject* owner)
{
    Messages().Show(text, QStringLiteral("Błąd!"), MessageIcon::Error, MessageButtons::Ok, owner);
}

void ShowError(const QString& text, const QString& detail, QObject* owner)
{
    if (detail.isEmpty()) {
        ShowError(text, owner);
        return;
    }
    Messages().ShowDetailed(text, detail, QStringLiteral("Błąd!"), MessageIcon::Error,
                            MessageButtons::Ok, owner);
}

MessageAnswer AskQuestion(const QString& text, const QString& caption, MessageButtons buttons,
                          QObject* owner)
{
    return Messages().Show(text, caption, MessageIcon::Question, buttons, owner);
}
