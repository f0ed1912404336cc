// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/WorkProgress.h"

#include <QStringList>

// Records what long work tells of its progress ("done/total text") and cancels it before the
// step numbered `stopAt` (counted from 1; 0: never).
class ScriptedProgress : public WorkProgress
{
public:
    explicit ScriptedProgress(int stopAt = 0) : stopAt(stopAt) {}
    bool Continue(int done, int total, const QString& text) override
    {
        steps << QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(text);
        return stopAt == 0 || steps.size() < stopAt;
    }
    void Done() override { ++dones; }

    QStringList steps;
    int stopAt;
    int dones = 0;
};
