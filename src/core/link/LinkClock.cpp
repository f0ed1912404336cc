// SPDX-License-Identifier: MIT
#include "core/link/LinkClock.h"

#include <QThread>

namespace {

class ThreadSleepClock : public LinkClock
{
public:
    void SleepMs(int milliseconds) override { QThread::msleep(milliseconds); }
};

} // namespace

LinkClock& SystemLinkClock()
{
    static ThreadSleepClock clock;
    return clock;
}
