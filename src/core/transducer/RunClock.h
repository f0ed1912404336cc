// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include <functional>

// The time of an automatic check: settling and the pace of the polls. The program uses the
// event loop's timers; tests run it on virtual time and fire what falls due themselves.
class RunClock
{
public:
    virtual ~RunClock() = default;
    virtual qint64 NowMs() const = 0;
    // Calls `due` once, `ms` from now, on the caller's thread; never from inside this call.
    virtual void CallAfter(qint64 ms, std::function<void()> due) = 0;
};

// The event loop's clock.
RunClock& EventLoopRunClock();
