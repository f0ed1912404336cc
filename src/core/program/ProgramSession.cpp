// SPDX-License-Identifier: MIT
#include "core/program/ProgramSession.h"

#include "core/program/ProgramFile.h"

ProgramSession::ProgramSession(CommandSender& sender, RunClock& clock, QObject* parent)
    : QObject(parent), run(sender, clock)
{
    run.logged = [this](const ProgramLogEntry& entry) { emit logged(entry); };
    run.finished = [this](ProgramEnd end) {
        emit stateChanged();
        emit runEnded(end);
    };
}

void ProgramSession::SetDefinition(const ProgramDoc& definition)
{
    if (ProgramFile::ToJson(definition) == ProgramFile::ToJson(doc))
        return;
    doc = definition;
    SetModified(true);
}

void ProgramSession::Replace(const ProgramDoc& document, const QString& newPath)
{
    Stop();
    doc = document;
    path = newPath;
    SetModified(false);
}

void ProgramSession::SetModified(bool on)
{
    if (modified == on)
        return;
    modified = on;
    emit modifiedChanged(on);
}

ProgramProblem ProgramSession::Start()
{
    const ProgramProblem problem = CheckProgram(doc);
    if (!problem.IsNone())
        return problem;
    Stop();
    ranDoc = doc;
    run.Start(doc);
    emit stateChanged();
    return {};
}

void ProgramSession::Change(const std::function<void()>& action)
{
    const ProgramRun::State before = run.CurrentState();
    action();
    // An end says so through finished.
    if (run.CurrentState() != before && run.Active())
        emit stateChanged();
}
