// SPDX-License-Identifier: MIT
#pragma once

#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"

// r718-sim started for a test with COM<port> of this process leading to it, and the program's
// link set to that port, its messages recorded in `messages` (or shown by `shown`, when given).
// Check Started() (with LastError()) before using it; the link goes before the simulator.
struct SimLink : SimProcess
{
    explicit SimLink(const QStringList& options = {}, int port = 1, MessageService* shown = nullptr)
        : link(shown ? *shown : messages)
    {
        started = Start(options);
        if (started) {
            MapPort(port);
            link.SetPortNumber(port);
        }
    }
    bool Started() const { return started; }
    // Waits until everything posted to the link so far was carried out and the simulator
    // took in what reached its line.
    bool Settle()
    {
        LinkSession session(link);
        session.Sync();
        session.WaitUntilSent();
        return Control(QStringLiteral("ping"));
    }

    RecordingMessageService messages;
    CalibratorLink link;

private:
    bool started = false;
};
