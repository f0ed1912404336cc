// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QObject;

// Every message box of the program goes through the current MessageService, so that the
// rules need no widgets and tests can replace the boxes with a recorder and script the
// answers. The windowed program installs BoxMessageService. A box's owner is the window it
// belongs to, passed as a QObject so that the rules name no widget type.
enum class MessageIcon { Error, Question, Warning, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageService
{
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                               MessageButtons buttons, QObject* owner) = 0;
    // The same box with a second part under the text (the device, the reason, what to do); the
    // text itself stays as it is. A service that has no place for the detail shows the box
    // without it.
    virtual MessageAnswer ShowDetailed(const QString& text, const QString& detail,
                                       const QString& caption, MessageIcon icon,
                                       MessageButtons buttons, QObject* owner)
    {
        Q_UNUSED(detail);
        return Show(text, caption, icon, buttons, owner);
    }
};

// The service in use; until one is installed, messages go to the log and questions get the
// answer of a box closed without a choice.
MessageService& Messages();
// Replaces the service (nullptr restores the default); returns the previous one.
MessageService* SetMessageService(MessageService* service);

// The usual error box: caption "Błąd!", error icon, OK.
void ShowError(const QString& text, QObject* owner = nullptr);
// The usual error box with a second part under the text; an empty detail shows none.
void ShowError(const QString& text, const QString& detail, QObject* owner = nullptr);
// A question with the question icon; the buttons say which answers are possible.
MessageAnswer AskQuestion(const QString& text, const QString& caption, MessageButtons buttons,
                          QObject* owner = nullptr);
