// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerRun.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/CommandSender.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"
#include "core/transducer/RunClock.h"
#include "core/transducer/TransducerMath.h"

#include <cmath>

TransducerRun::TransducerRun(CommandSender& sender, RunClock& clock)
    : sender(sender), clock(clock), alive(std::make_shared<bool>(true))
{}

TransducerRun::~TransducerRun()
{
    *alive = false;
}

QStringList TransducerRun::SelectionCommands(const TransducerDoc& doc)
{
    const TransducerInput& in = doc.input;
    QStringList commands{CalFunctions::SelectCommand(in.calFunction, int(in.coldJunction))};
    if (CalFunctions::IsThermocouple(in.calFunction) && in.coldJunction == ColdJunction::To)
        commands << QStringLiteral("T") + FormatFixed(in.referenceTemperature, 1);
    if (CalFunctions::IsResistanceThermometer(in.calFunction) && !in.leadResistance.isEmpty())
        commands << QStringLiteral("R") + in.leadResistance;
    if (const MeasureRange* range = MeasureRangeTable::Find(doc.output.measureRange))
        commands << range->command;
    commands << QStringLiteral("S1"); // the output on: in standby the input sees nothing
    return commands;
}

void TransducerRun::Start(const TransducerDoc& definition)
{
    hold = false;
    pointIndex = 0;
    result = {};
    result.started = QDateTime::currentDateTime();
    Begin(definition);
}

void TransducerRun::Hold(const TransducerDoc& definition, double percent)
{
    holdPercent = percent;
    if (Holding()) {
        // Still selecting: the set-point that follows takes the new percent.
        if (phase != Phase::Selecting) {
            ++generation; // the polls at the old point end
            SetPoint();
        }
        return;
    }
    hold = true;
    result = {};
    Begin(definition);
}

void TransducerRun::Stop()
{
    if (Active())
        Finish(RunEnd::Stopped);
}

void TransducerRun::Begin(const TransducerDoc& definition)
{
    doc = definition;
    ++generation;
    phase = Phase::Selecting;
    const QStringList commands = SelectionCommands(doc);
    for (int i = 0; i + 1 < commands.size(); ++i)
        sender.Send(commands[i]);
    sender.Send(commands.last(), Fresh([this](const QString&) {
                    if (!sender.LinkAlive())
                        Finish(RunEnd::LinkLost);
                    else
                        SetPoint();
                }));
}

double TransducerRun::Percent() const
{
    return hold ? holdPercent : doc.points[pointIndex];
}

void TransducerRun::SetPoint()
{
    phase = Phase::Setting;
    sender.Send(QStringLiteral("N") + TransducerMath::SetpointText(doc.input, Percent()),
                Fresh([this](const QString&) {
                    if (!sender.LinkAlive()) {
                        Finish(RunEnd::LinkLost);
                        return;
                    }
                    settledAt = clock.NowMs() + qint64(std::llround(doc.settlingSeconds * 1000));
                    readings.clear();
                    outOfRange = false;
                    phase = Phase::Polling;
                    Poll();
                }));
}

void TransducerRun::Poll()
{
    const qint64 sentAt = clock.NowMs();
    sender.Send(QStringLiteral("P"),
                Fresh([this, sentAt](const QString& reply) { TakeReading(reply, sentAt); }));
}

void TransducerRun::TakeReading(const QString& reply, qint64 sentAt)
{
    if (!sender.LinkAlive()) {
        Finish(RunEnd::LinkLost);
        return;
    }
    PanelMeterState state;
    ParseReading(reply, TransducerMath::OutputDecimals(doc.output), state);
    LiveReading live;
    live.percent = Percent();
    live.expected = TransducerMath::ExpectedOutput(doc, live.percent);
    live.outOfRange =
        state.meterText == PanelMarks::overRange || state.meterText == PanelMarks::underRange;
    live.value = SignedReading(state);
    live.errorPercent = TransducerMath::ErrorPercentOfSpan(doc.output, live.expected, live.value);
    if (readingTaken)
        readingTaken(live);

    // A reading asked for before the settling time was over shows the output on its way only.
    if (!hold && sentAt >= settledAt) {
        readings << live.value;
        outOfRange = outOfRange || live.outOfRange;
        if (readings.size() >= doc.readingsAveraged) {
            FinishPoint();
            return;
        }
    }
    const quint64 polls = generation;
    std::weak_ptr<bool> guard = alive;
    clock.CallAfter(qMax<qint64>(0, sentAt + pollIntervalMs - clock.NowMs()), [this, guard, polls] {
        if (!guard.expired() && polls == generation && phase == Phase::Polling)
            Poll();
    });
}

void TransducerRun::FinishPoint()
{
    double sum = 0;
    for (double r : readings)
        sum += r;
    const TransducerPointResult point =
        outOfRange ? TransducerMath::OutOfRangePoint(doc, Percent())
                   : TransducerMath::EvaluatePoint(doc, Percent(), sum / readings.size());
    result.points << point;
    if (pointMeasured)
        pointMeasured(point);
    ++pointIndex;
    if (pointIndex >= doc.points.size())
        Finish(RunEnd::Completed);
    else
        SetPoint();
}

void TransducerRun::Finish(RunEnd end)
{
    ++generation;
    phase = Phase::Idle;
    result.end = end;
    if (finished)
        finished(end);
}

std::function<void(const QString&)> TransducerRun::Fresh(std::function<void(const QString&)> step)
{
    std::weak_ptr<bool> guard = alive;
    return [this, guard, step = std::move(step), when = generation](const QString& reply) {
        if (!guard.expired() && when == generation && Active())
            step(reply);
    };
}
