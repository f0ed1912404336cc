// SPDX-License-Identifier: MIT
#pragma once

#include "SimProcess.h"
#include "core/link/CalibratorLink.h"

// r718-sim started for a test with COM<port> of this process leading to it, and the program's
// link set to that port. Check Started() (with LastError()) before using it; the link goes
// before the simulator.
struct SimLink : SimProcess
{
    explicit SimLink(const QStringList& options = {}, int port = 1)
    {
        started = Start(options);
        if (started) {
            MapPort(port);
            link.SetPortNumber(port);
        }
    }
    bool Started() const { return started; }

    CalibratorLink link;

private:
    bool started = false;
};
