// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramLog.h"
#include "core/program/ProgramPlan.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class CommandSender;
class RunClock;

// When a planned set-point went out against the plan, for the lateness of the course.
struct StepTiming
{
    qint64 plannedMs = 0; // on the run clock, pauses included
    qint64 sentMs = 0;    // when the frame was posted
};

// A run of a source program. It selects the source function (with its reference junction
// or lead resistance), the measure range when one is read and the operate state, then posts
// each set-point at its planned time, on the run clock. Between set-points the measure half
// is polled every pollIntervalMs as long as the poll can be answered before the next
// set-point is due, so that a poll never holds a set-point back; each reading goes into the
// log with the set-point in force and through the trip condition. It never waits: each step
// goes on from a reply or from the clock.
//
// Pause holds the source where it is (the measure half is still read) and the course goes on
// from there on Resume, its remaining times moved by the pause. Stop sets the safe value (see
// SafeValue) and ends the run. A link given up ends it with ProgramEnd::LinkLost: the link has
// told the technician, and the log keeps what was measured.
class ProgramRun
{
public:
    static constexpr int pollIntervalMs = 500;

    enum class State
    {
        Idle,
        Selecting,
        Running,
        Paused
    };

    ProgramRun(CommandSender& sender, RunClock& clock);
    ~ProgramRun();

    // Called as the run goes on: every entry added to the log, and once at the end.
    std::function<void(const ProgramLogEntry&)> logged;
    std::function<void(ProgramEnd)> finished;
    // The wall clock of the log's entries (tests freeze it).
    std::function<QDateTime()> wallClock = [] { return QDateTime::currentDateTime(); };

    // Runs the program, which must have passed CheckProgram.
    void Start(const ProgramDoc& doc);
    void Pause();
    void Resume();
    // Ends the run and sets the safe value.
    void Stop();

    State CurrentState() const { return state; }
    bool Active() const { return state != State::Idle; }
    const ProgramPlan& Plan() const { return plan; }
    const ProgramRunLog& Log() const { return log; }
    // The step the source is at (-1 before the first).
    int CurrentStep() const { return current; }
    const QList<StepTiming>& Timings() const { return timings; }
    // How far the course has gone, pauses left out, and what is left of it.
    qint64 CourseMs() const;
    qint64 RemainingMs() const { return plan.totalMs - CourseMs(); }

    // The commands that prepare the calibrator for the program, in the order they go out.
    static QStringList SelectionCommands(const ProgramDoc& doc);
    // Where Stop leaves the source: 0 in the function's unit when the function can be set
    // there (no output for a voltage, a current or a resistance; 0 °C for a sensor), otherwise
    // the lowest value it can be set to.
    static double SafeValue(const ProgramSource& source);

private:
    void SetStep(int step);
    void StepTaken(int step);
    void ArmNextStep();
    void Poll();
    void TakeReading(const QString& reply, qint64 sentAt);
    void Add(ProgramLogEntry entry);
    ProgramLogEntry Entry(ProgramLogEntry::Kind kind) const;
    // When step `step` is due on the run clock; the end of the course for plan.steps.size().
    qint64 DueMs(int step) const;
    void Finish(ProgramEnd end);
    // A callback from before the latest Start or Stop is stale.
    std::function<void(const QString&)> Fresh(std::function<void(const QString&)> step);

    CommandSender& sender;
    RunClock& clock;
    ProgramDoc doc;
    ProgramPlan plan;
    ProgramRunLog log;
    QList<StepTiming> timings;
    std::optional<TripDetector> trip;
    State state = State::Idle;
    int current = -1;          // the step posted last
    int inForce = -1;          // the step the calibrator took last
    bool awaitingStep = false; // a set-point posted and not yet taken
    bool polling = false;      // a poll posted and not yet answered
    qint64 lastPollAt = -1;
    qint64 originMs = 0; // the course's time 0, on the run clock
    qint64 pausedMs = 0; // the pauses so far
    qint64 pausedAt = 0;
    qint64 finalCourseMs = 0; // how far the course had gone when the run ended
    quint64 generation = 0;   // Start and Stop
    quint64 stepToken = 0;    // also Pause and Resume
    std::shared_ptr<bool> alive;
};
