// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QObject;

// Every message box of the program goes through a MessageService, so that the rules need no
// widgets and tests can record the boxes and script the answers. The application owns the one
// that shows boxes (BoxMessageService) and hands it to every window and rule that has something
// to say; r718-report owns one that writes to standard error. A box's owner is the window it
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

    // The usual error box: caption "Błąd!", error icon, OK.
    void ShowError(const QString& text, QObject* owner = nullptr);
    // The usual error box with a second part under the text; an empty detail shows none.
    void ShowError(const QString& text, const QString& detail, QObject* owner = nullptr);
    // A question with the question icon; the buttons say which answers are possible.
    MessageAnswer AskQuestion(const QString& text, const QString& caption, MessageButtons buttons,
                              QObject* owner = nullptr);
};

// Messages to the log, for a program or a test with nowhere to show them: a question gets the
// answer of a box closed without a choice.
class LogMessageService : public MessageService
{
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override;
    MessageAnswer ShowDetailed(const QString& text, const QString& detail, const QString& caption,
                               MessageIcon icon, MessageButtons buttons, QObject* owner) override;
};
