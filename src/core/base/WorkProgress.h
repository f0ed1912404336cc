// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// How long work (printing, exporting) tells how far it got, and learns whether to go on.
class WorkProgress
{
public:
    virtual ~WorkProgress() = default;
    // Before each step: `done` of `total` steps are done; `text` says where the work stands.
    // False when the user cancelled: the work stops before the step.
    virtual bool Continue(int done, int total, const QString& text) = 0;
    // The work is over (what it shows afterwards, a message, comes without the progress).
    virtual void Done() {}
};
