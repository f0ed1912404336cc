// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerSession.h"

#include "core/transducer/TransducerFile.h"

TransducerSession::TransducerSession(CommandSender& sender, RunClock& clock, QObject* parent)
    : QObject(parent), run(sender, clock)
{
    run.readingTaken = [this](const LiveReading& reading) { emit readingTaken(reading); };
    run.pointMeasured = [this](const TransducerPointResult& point) {
        TransducerRunResult& r = doc.Run(runKind);
        r.points << point;
        SetModified(true);
        emit pointMeasured(runKind, int(r.points.size()) - 1);
    };
    run.finished = [this](RunEnd end) {
        const Mode was = mode;
        SetMode(Mode::Idle);
        if (was == Mode::Running) {
            doc.Run(runKind).end = end;
            emit runEnded(runKind, end);
        }
    };
}

namespace {

// The definition alone, as its file would hold it.
QByteArray DefinitionText(TransducerDoc doc)
{
    doc.asFound = {};
    doc.asLeft = {};
    return TransducerFile::ToJson(doc);
}

} // namespace

void TransducerSession::SetDefinition(const TransducerDoc& definition)
{
    if (DefinitionText(definition) == DefinitionText(doc))
        return;
    const TransducerRunResult found = doc.asFound;
    const TransducerRunResult left = doc.asLeft;
    doc = definition;
    doc.asFound = found;
    doc.asLeft = left;
    SetModified(true);
}

void TransducerSession::Replace(const TransducerDoc& document, const QString& newPath)
{
    Stop();
    doc = document;
    path = newPath;
    SetModified(false);
}

void TransducerSession::SetModified(bool on)
{
    if (modified == on)
        return;
    modified = on;
    emit modifiedChanged(on);
}

TransducerProblem TransducerSession::StartRun(RunKind kind)
{
    const TransducerProblem problem = CheckTransducer(doc);
    if (!problem.IsNone())
        return problem;
    Stop();
    runKind = kind;
    doc.Run(kind) = {};
    doc.Run(kind).started = QDateTime::currentDateTime();
    SetModified(true);
    SetMode(Mode::Running);
    run.Start(doc);
    return {};
}

TransducerProblem TransducerSession::Hold(double percent)
{
    const TransducerProblem problem = CheckTransducer(doc);
    if (!problem.IsNone())
        return problem;
    if (mode == Mode::Running)
        Stop();
    heldPercent = percent;
    SetMode(Mode::Holding);
    run.Hold(doc, percent);
    return {};
}

void TransducerSession::Stop()
{
    run.Stop(); // its end comes back through finished
    SetMode(Mode::Idle);
}

void TransducerSession::SetMode(Mode next)
{
    if (mode == next)
        return;
    mode = next;
    emit modeChanged();
}
