// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"

#include <QStringList>

#include <utility>

// Records the commands window logic sends and carries each out at once: the callback gets the
// next scripted reply (the last one stays).
class RecordingCommandSender : public CommandSender
{
public:
    void Send(const QString& command, Done done = {}) override
    {
        sent << command;
        if (givenUpAt > 0 && sent.size() >= givenUpAt)
            alive = false;
        if (!replies.isEmpty())
            reply = replies.takeFirst();
        if (done)
            done(reply);
    }
    void Poll(const QString& command, Done done = {}) override
    {
        polls << command;
        Send(command, std::move(done));
    }
    bool LinkAlive() const override { return alive; }
    bool WaitUntilSent() override
    {
        ++waits;
        return alive;
    }

    QStringList TakeSent()
    {
        QStringList s = sent;
        sent.clear();
        return s;
    }

    QStringList sent;  // polls too
    QStringList polls; // the commands sent as polls
    QStringList replies;
    QString reply;
    bool alive = true;
    int waits = 0;     // WaitUntilSent calls
    int givenUpAt = 0; // > 0: the link is given up at this command (counted from 1)
};
