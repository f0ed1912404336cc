// SPDX-License-Identifier: MIT
#pragma once

#include <QPainter>
#include <QString>

// Where the report goes: a series of print jobs of one page each (the table of a range, a
// chart of a range). Each page is drawn in 0.01 mm with the origin at the page's top-left
// corner and y growing downwards.
class PrintJobs
{
public:
    virtual ~PrintJobs() = default;
    // False when no printer was chosen or it cannot be used.
    virtual bool HasPrinter() const = 0;
    // Starts a job; nullptr when the printer cannot start it.
    virtual QPainter* BeginJob(const QString& name) = 0;
    // Starts the job's page and sets up the 0.01 mm coordinates; false when it cannot.
    virtual bool BeginPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndJob() = 0;
    // Drops a job whose page could not be started.
    virtual void AbortJob() = 0;
};
