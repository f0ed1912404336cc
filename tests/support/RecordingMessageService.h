// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/MessageService.h"

#include <QDebug>
#include <QList>
#include <QThread>

// Records every message box instead of showing it, and answers from a script
// (default answer when the script is empty: OK, or Yes for questions). Hand it to whatever
// shows the messages under test.
class RecordingMessageService : public MessageService
{
public:
    struct Message
    {
        QString text;
        QString caption;
        MessageIcon icon;
        MessageButtons buttons;
        QThread* thread; // the thread that showed it
        QString detail;  // the second part under the text; empty when none
    };

    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override
    {
        return ShowDetailed(text, QString(), caption, icon, buttons, owner);
    }
    MessageAnswer ShowDetailed(const QString& text, const QString& detail, const QString& caption,
                               MessageIcon icon, MessageButtons buttons, QObject*) override
    {
        messages.append({text, caption, icon, buttons, QThread::currentThread(), detail});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }

    // Whether message `index` is an error box: caption "Błąd!" and the error icon.
    bool IsErrorBox(int index) const
    {
        return index >= 0 && index < messages.size() &&
               messages[index].caption == QStringLiteral("Błąd!") &&
               messages[index].icon == MessageIcon::Error;
    }

    // Whether exactly one message was shown and it is an error box with this text.
    bool OnlyError(const QString& text) const
    {
        const bool only = messages.size() == 1 && messages[0].text == text && IsErrorBox(0);
        if (!only)
            qWarning().noquote() << "expected the one error box" << text
                                 << "shown:" << Texts().join(QLatin1String(" | "));
        return only;
    }
    // The texts of the error boxes, in order.
    QStringList Errors() const
    {
        QStringList texts;
        for (int i = 0; i < messages.size(); ++i) {
            if (IsErrorBox(i))
                texts << messages[i].text;
        }
        return texts;
    }

    QStringList Texts() const
    {
        QStringList t;
        for (const Message& m : messages)
            t << m.text;
        return t;
    }

    // Forgets what was shown and the answers not given yet, as a new recorder would.
    void Reset()
    {
        messages.clear();
        answers.clear();
    }

    QList<Message> messages;
    QList<MessageAnswer> answers;
};
