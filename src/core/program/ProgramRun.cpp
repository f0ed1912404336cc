// SPDX-License-Identifier: MIT
#include "core/program/ProgramRun.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/CommandSender.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"
#include "core/transducer/RunClock.h"

#include <limits>

ProgramRun::ProgramRun(CommandSender& sender, RunClock& clock)
    : sender(sender), clock(clock), alive(std::make_shared<bool>(true))
{}

ProgramRun::~ProgramRun()
{
    *alive = false;
}

QStringList ProgramRun::SelectionCommands(const ProgramDoc& doc)
{
    const ProgramSource& s = doc.source;
    QStringList commands{CalFunctions::SelectCommand(s.calFunction, int(s.coldJunction))};
    if (CalFunctions::IsThermocouple(s.calFunction) && s.coldJunction == ColdJunction::To)
        commands << QStringLiteral("T") + FormatFixed(s.referenceTemperature, 2);
    if (CalFunctions::IsResistanceThermometer(s.calFunction) && s.leadResistanceOn)
        commands << QStringLiteral("R") + FormatFixed(s.leadResistance, 2);
    if (const MeasureRange* range = MeasureRangeTable::Find(doc.measureRange))
        commands << range->command;
    commands << QStringLiteral("S1"); // the output on: in standby the instrument sees nothing
    return commands;
}

double ProgramRun::SafeValue(const ProgramSource& source)
{
    const CalFunction& f = CalFunctionTable[source.calFunction];
    return f.lowLimit <= 0 ? 0.0 : f.lowLimit;
}

void ProgramRun::Start(const ProgramDoc& definition)
{
    doc = definition;
    plan = ProgramCourse::Plan(doc);
    log = {};
    log.started = wallClock();
    timings.clear();
    trip.reset();
    if (doc.trip.enabled)
        trip.emplace(doc.trip);
    current = -1;
    inForce = -1;
    awaitingStep = false;
    polling = false;
    lastPollAt = -1;
    originMs = clock.NowMs(); // until the first set-point goes out
    pausedMs = 0;
    ++generation;
    ++stepToken;
    state = State::Selecting;
    const QStringList commands = SelectionCommands(doc);
    for (int i = 0; i + 1 < commands.size(); ++i)
        sender.Send(commands[i]);
    sender.Send(commands.last(), Fresh([this](const QString&) {
                    if (!sender.LinkAlive()) {
                        Finish(ProgramEnd::LinkLost);
                        return;
                    }
                    originMs = clock.NowMs();
                    state = State::Running;
                    SetStep(0);
                }));
}

void ProgramRun::Pause()
{
    if (state != State::Running)
        return;
    state = State::Paused;
    pausedAt = clock.NowMs();
    ++stepToken; // the next set-point waits for Resume
    Poll();      // the measure half is read on through the pause
}

void ProgramRun::Resume()
{
    if (state != State::Paused)
        return;
    pausedMs += clock.NowMs() - pausedAt;
    state = State::Running;
    if (!awaitingStep)
        ArmNextStep();
}

void ProgramRun::Stop()
{
    if (!Active())
        return;
    const double safe = SafeValue(doc.source);
    const QString text = ProgramCourse::SetpointText(doc.source, safe);
    ++generation;
    if (sender.LinkAlive())
        sender.Send(QStringLiteral("N") + text);
    ProgramLogEntry entry = Entry(ProgramLogEntry::Kind::Set);
    entry.step = -1;
    entry.segment = -1;
    entry.pass = 0;
    entry.source = safe;
    entry.sourceText = text;
    Add(entry);
    Finish(ProgramEnd::Stopped);
}

qint64 ProgramRun::DueMs(int step) const
{
    const qint64 at = step < plan.steps.size() ? plan.steps[step].startMs : plan.totalMs;
    return originMs + pausedMs + at;
}

qint64 ProgramRun::CourseMs() const
{
    switch (state) {
    case State::Idle:
        return finalCourseMs;
    case State::Selecting:
        return 0;
    case State::Running:
        return qBound<qint64>(0, clock.NowMs() - originMs - pausedMs, plan.totalMs);
    case State::Paused:
        return qBound<qint64>(0, pausedAt - originMs - pausedMs, plan.totalMs);
    }
    return 0;
}

void ProgramRun::SetStep(int step)
{
    current = step;
    awaitingStep = true;
    timings << StepTiming{DueMs(step), clock.NowMs()};
    sender.Send(QStringLiteral("N") + plan.steps[step].text,
                Fresh([this, step](const QString&) { StepTaken(step); }));
}

void ProgramRun::StepTaken(int step)
{
    awaitingStep = false;
    if (!sender.LinkAlive()) {
        Finish(ProgramEnd::LinkLost);
        return;
    }
    inForce = step;
    Add(Entry(ProgramLogEntry::Kind::Set));
    if (state == State::Running)
        ArmNextStep();
    Poll();
}

void ProgramRun::ArmNextStep()
{
    const int next = current + 1;
    std::weak_ptr<bool> guard = alive;
    clock.CallAfter(DueMs(next) - clock.NowMs(), [this, guard, next, token = stepToken] {
        if (guard.expired() || token != stepToken || state != State::Running)
            return;
        if (next >= plan.steps.size())
            Finish(ProgramEnd::Completed);
        else
            SetStep(next);
    });
}

void ProgramRun::Poll()
{
    if (!doc.Measures() || polling || awaitingStep ||
        (state != State::Running && state != State::Paused))
        return;
    // Polls keep their pace whoever asks for the next one: the chain of replies or a
    // set-point taken.
    if (lastPollAt >= 0 && clock.NowMs() < lastPollAt + pollIntervalMs)
        return;
    // A poll that could not be answered before the next set-point is due would hold it back:
    // the set-point's reply starts the polls again.
    if (state == State::Running &&
        clock.NowMs() + LinkProtocol::TransactionMs(1) > DueMs(current + 1))
        return;
    polling = true;
    const qint64 sentAt = clock.NowMs();
    lastPollAt = sentAt;
    sender.Poll(QStringLiteral("P"),
                Fresh([this, sentAt](const QString& reply) { TakeReading(reply, sentAt); }));
}

void ProgramRun::TakeReading(const QString& reply, qint64 sentAt)
{
    polling = false;
    if (!sender.LinkAlive()) {
        Finish(ProgramEnd::LinkLost);
        return;
    }
    const MeasureRange* range = MeasureRangeTable::Find(doc.measureRange);
    PanelMeterState meter;
    ParseReading(reply, range ? range->decimals : 3, meter);
    ProgramLogEntry entry = Entry(ProgramLogEntry::Kind::Reading);
    if (meter.meterText == PanelMarks::overRange) {
        entry.reading = std::numeric_limits<double>::infinity();
        entry.readingText = QStringLiteral("ponad zakres");
    } else if (meter.meterText == PanelMarks::underRange) {
        entry.reading = -std::numeric_limits<double>::infinity();
        entry.readingText = QStringLiteral("poniżej zakresu");
    } else {
        entry.reading = SignedReading(meter);
        entry.readingText =
            (meter.meterPositive ? QString() : QStringLiteral("-")) + meter.meterText;
    }
    if (trip)
        entry.event = trip->Feed(entry.reading);
    Add(entry);

    std::weak_ptr<bool> guard = alive;
    clock.CallAfter(qMax<qint64>(0, sentAt + pollIntervalMs - clock.NowMs()),
                    [this, guard, token = generation] {
                        if (!guard.expired() && token == generation)
                            Poll();
                    });
}

ProgramLogEntry ProgramRun::Entry(ProgramLogEntry::Kind kind) const
{
    ProgramLogEntry e;
    e.kind = kind;
    e.ms = clock.NowMs() - originMs;
    e.wall = wallClock();
    e.step = inForce;
    if (inForce >= 0) {
        const PlannedStep& s = plan.steps[inForce];
        e.segment = s.segment;
        e.pass = s.pass;
        e.source = s.value;
        e.sourceText = s.text;
    } else {
        e.segment = -1;
    }
    return e;
}

void ProgramRun::Add(ProgramLogEntry entry)
{
    log.entries << entry;
    if (logged)
        logged(log.entries.last());
}

void ProgramRun::Finish(ProgramEnd end)
{
    finalCourseMs = end == ProgramEnd::Completed ? plan.totalMs : CourseMs();
    ++generation;
    ++stepToken;
    state = State::Idle;
    awaitingStep = false;
    polling = false;
    log.end = end;
    if (finished)
        finished(end);
}

std::function<void(const QString&)> ProgramRun::Fresh(std::function<void(const QString&)> step)
{
    std::weak_ptr<bool> guard = alive;
    return [this, guard, step = std::move(step), when = generation](const QString& reply) {
        if (!guard.expired() && when == generation && Active())
            step(reply);
    };
}
