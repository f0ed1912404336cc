// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>
#include <utility>

// What window logic needs of the calibrator: post a command, learn when it was carried out.
// The program posts to the link, which carries the commands out one after another on its own
// thread; tests record the commands and script the replies.
class CommandSender
{
public:
    // Called on the window's thread once the command was carried out (or dropped because the
    // link is down), with the text of the reply read last.
    using Done = std::function<void(const QString& reply)>;

    virtual ~CommandSender() = default;
    // Posts the command and returns at once. Commands go out in the order they were sent.
    virtual void Send(const QString& command, Done done = {}) = 0;
    // Posts a poll of a reading: as Send, except that the operator's commands sent while it
    // still waits for the line go out before it, so that a poll falling due never delays them.
    virtual void Poll(const QString& command, Done done = {}) { Send(command, std::move(done)); }
    // False once the link was given up (no answer after recovery, a port error, a failed
    // open) until the port is opened again, as of the commands carried out so far: commands
    // sent meanwhile never reach the calibrator.
    virtual bool LinkAlive() const = 0;
    // Waits until every command sent so far was carried out; the windows are repainted
    // meanwhile and the user's input waits. Returns LinkAlive().
    virtual bool WaitUntilSent() = 0;
};
