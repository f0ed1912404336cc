// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/MessageService.h"

#include <QStringList>

class QTextStream;

// Message boxes of the shared code become lines on the error stream in the form of every
// message of the command-line programs (ConsoleText.h), without the box's caption; questions
// get their default answer. Remembers the captions shown, so the caller can tell failures
// from notes.
class ConsoleMessageService : public MessageService
{
public:
    explicit ConsoleMessageService(QTextStream& err) : err(err) {}

    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override;

    QStringList captions;

private:
    QTextStream& err;
};
