// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/LinkClock.h"

#include <QList>
#include <QtGlobal>

// A link clock for tests: SleepMs never sleeps, it only adds to a virtual "now" (ms since the
// clock was made). Fake devices add their read time-outs to the same clock, so a test can
// check when each byte went out without waiting for it.
class VirtualClock : public LinkClock
{
public:
    void SleepMs(int milliseconds) override
    {
        sleeps.append(milliseconds);
        now += milliseconds;
    }
    void Advance(qint64 milliseconds) { now += milliseconds; }

    qint64 now = 0;
    QList<int> sleeps; // every SleepMs call, in order
};
