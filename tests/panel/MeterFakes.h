// SPDX-License-Identifier: MIT
#pragma once

#include "panel/AveragingTimer.h"
#include "panel/ParamPrompt.h"

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

// The parameter dialog answering from a script (no answer left: cancelled).
class ScriptedParamPrompt : public ParamPrompt
{
public:
    void Ask(const Request& request, const Closed& closed) override
    {
        requests.append(request);
        closed(answers.isEmpty() ? std::nullopt : answers.takeFirst());
    }

    QList<std::optional<QString>> answers;
    QList<Request> requests;
};
