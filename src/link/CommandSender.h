// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What window logic needs of the calibrator: send a command, read the reply it got.
// The program uses the link; tests record the commands and script the replies.
class CommandSender
{
public:
    virtual ~CommandSender() = default;
    virtual void Send(const QString& command) = 0;
    virtual QString LastReply() const = 0;
    // False once the link was given up (no answer after recovery, a port error, a failed
    // open) until the port is opened again: commands sent meanwhile never reach the
    // calibrator.
    virtual bool LinkAlive() const = 0;
};

// The calibrator link: SendCommand and lastReply.
CommandSender& LinkCommandSender();
