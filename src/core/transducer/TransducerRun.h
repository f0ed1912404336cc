// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CommandSender;
class RunClock;

// What the measure half showed at the latest poll, with its error against the output expected
// at the point being set.
struct LiveReading
{
    double percent = 0; // the point the source is at
    double expected = 0;
    double value = 0; // the signed reading (0 for a range mark)
    bool outOfRange = false;
    double errorPercent = 0;
};

// The automatic check of a transducer, and the adjustment mode that holds the source at one
// point. A run selects the source function (with its reference junction or lead resistance),
// the measure range and the operate state, then for every point sets the source in the
// function's unit and decimals, polls the output through the settling time and averages the
// readings that follow. It never waits: each step goes on from the reply of the step before
// or from the clock, so the window stays live and the operator can stop it at any time.
//
// A link given up ends the run with RunEnd::LinkLost; the link has told the technician, and
// the points measured before are kept.
class TransducerRun
{
public:
    static constexpr int pollIntervalMs = 500;

    TransducerRun(CommandSender& sender, RunClock& clock);
    ~TransducerRun();

    // Called as the run goes on: every reading polled, every point finished, and once at the
    // end (a hold ends only by Stop or the link).
    std::function<void(const LiveReading&)> readingTaken;
    std::function<void(const TransducerPointResult&)> pointMeasured;
    std::function<void(RunEnd)> finished;

    // Runs over every point of the definition, which must have passed CheckTransducer.
    void Start(const TransducerDoc& doc);
    // Adjustment: holds the source at `percent` of the input and polls the output without end.
    // While a hold goes on, another percent only sets the source anew.
    void Hold(const TransducerDoc& doc, double percent);
    // Ends a run or a hold at once; a reply still on its way is ignored.
    void Stop();

    bool Active() const { return phase != Phase::Idle; }
    bool Holding() const { return hold && Active(); }
    // The points measured so far (a hold measures none).
    const TransducerRunResult& Result() const { return result; }
    // Index of the point being measured.
    int CurrentPoint() const { return pointIndex; }

    // The commands that prepare the calibrator for the definition, in the order they go out.
    static QStringList SelectionCommands(const TransducerDoc& doc);

private:
    enum class Phase
    {
        Idle,
        Selecting,
        Setting,
        Polling
    };

    void Begin(const TransducerDoc& doc);
    void SetPoint();
    void Poll();
    void TakeReading(const QString& reply, qint64 sentAt);
    void FinishPoint();
    void Finish(RunEnd end);
    // A callback from before the latest Start, Hold or Stop is stale.
    std::function<void(const QString&)> Fresh(std::function<void(const QString&)> step);
    double Percent() const;

    CommandSender& sender;
    RunClock& clock;
    TransducerDoc doc;
    TransducerRunResult result;
    Phase phase = Phase::Idle;
    bool hold = false;
    double holdPercent = 0;
    int pointIndex = 0;
    qint64 settledAt = 0; // readings asked for from then on count
    QList<double> readings;
    bool outOfRange = false;
    quint64 generation = 0;
    std::shared_ptr<bool> alive;
};
