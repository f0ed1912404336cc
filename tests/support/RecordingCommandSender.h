// SPDX-License-Identifier: MIT
#pragma once

#include "link/CommandSender.h"

#include <QStringList>

// Records the commands window logic sends; replies come from a queue (the last one stays).
class RecordingCommandSender : public CommandSender
{
public:
    void Send(const QString& command) override
    {
        sent << command;
        if (givenUpAt > 0 && sent.size() >= givenUpAt)
            alive = false;
        if (!replies.isEmpty())
            reply = replies.takeFirst();
    }
    QString LastReply() const override { return reply; }
    bool LinkAlive() const override { return alive; }

    QStringList TakeSent()
    {
        QStringList s = sent;
        sent.clear();
        return s;
    }

    QStringList sent;
    QStringList replies;
    QString reply;
    bool alive = true;
    int givenUpAt = 0; // > 0: the link is given up at this command (counted from 1)
};
