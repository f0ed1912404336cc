// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/ParamPrompt.h"

#include <QList>

// The parameter dialog answering from a script (no answer left: cancelled).
class ScriptedPrompt : public ParamPrompt
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
