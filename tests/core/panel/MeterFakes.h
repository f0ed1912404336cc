// SPDX-License-Identifier: MIT
#pragma once

#include "ScriptedPrompt.h"
#include "core/panel/AveragingTimer.h"

#include <QList>

// The averaging timer of the measure half, seen from a test: it says whether it runs and
// how often it was started; the test ends the windows itself.
class FakeAveragingTimer : public AveragingTimer
{
public:
    void Start(int ms) override
    {
        running = true;
        periodMs = ms;
        ++starts;
    }
    void Stop() override { running = false; }

    bool running = false;
    int periodMs = 0;
    int starts = 0;
};
