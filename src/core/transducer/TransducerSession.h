// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"
#include "core/transducer/TransducerRun.h"
#include "core/transducer/TransducerValidation.h"

#include <QObject>
#include <QString>

class CommandSender;
class RunClock;

// What the transducer check window works on: the document with its file and modified flag,
// and the run or the adjustment hold going on. It alone writes the document's runs; the
// window follows its signals.
class TransducerSession : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        Idle,
        Running,
        Holding
    };

    TransducerSession(CommandSender& sender, RunClock& clock, QObject* parent = nullptr);

    const TransducerDoc& Document() const { return doc; }
    // A new definition (from the window's fields); the runs measured stay with it.
    void SetDefinition(const TransducerDoc& definition);
    // Another document altogether (opened, or a new one): nothing may be running.
    void Replace(const TransducerDoc& document, const QString& path);
    QString Path() const { return path; }
    void SetPath(const QString& newPath) { path = newPath; }
    bool Modified() const { return modified; }
    void SetModified(bool on);

    Mode CurrentMode() const { return mode; }
    RunKind CurrentRun() const { return runKind; }

    // Starts a run of the kind over the document's points: the earlier run of that kind is
    // replaced. Refused (nothing sent) when the definition does not pass.
    TransducerProblem StartRun(RunKind kind);
    // Adjustment: holds the source at the percent (0 or 100 in the window).
    TransducerProblem Hold(double percent);
    double HeldPercent() const { return heldPercent; }
    // Ends the run (its points stay) or the hold.
    void Stop();

signals:
    void modifiedChanged(bool modified);
    void modeChanged();
    void readingTaken(const LiveReading& reading);
    void pointMeasured(RunKind kind, int index);
    // A run ended: completed, stopped or the link given up (which the link has told).
    void runEnded(RunKind kind, RunEnd end);

private:
    void SetMode(Mode next);

    TransducerDoc doc;
    QString path;
    bool modified = false;
    Mode mode = Mode::Idle;
    RunKind runKind = RunKind::AsFound;
    double heldPercent = 0;
    TransducerRun run;
};
