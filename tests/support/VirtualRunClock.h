// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/RunClock.h"

#include <map>
#include <utility>

// A run clock for tests: time stands still until the test moves it; what falls due on the
// way is called in order of its time, the clock showing that time meanwhile.
class VirtualRunClock : public RunClock
{
public:
    qint64 NowMs() const override { return now; }
    void CallAfter(qint64 ms, std::function<void()> due) override
    {
        pending.emplace(now + qMax<qint64>(ms, 0), std::move(due));
    }

    void AdvanceTo(qint64 when)
    {
        while (!pending.empty() && pending.begin()->first <= when) {
            auto first = pending.begin();
            now = first->first;
            std::function<void()> due = std::move(first->second);
            pending.erase(first);
            due();
        }
        now = qMax(now, when);
    }
    void Advance(qint64 ms) { AdvanceTo(now + ms); }
    // Runs whatever is pending (and what that schedules) up to `limitMs` from now.
    void RunFor(qint64 limitMs) { AdvanceTo(now + limitMs); }
    bool Idle() const { return pending.empty(); }

    qint64 now = 0;

private:
    std::multimap<qint64, std::function<void()>> pending;
};
