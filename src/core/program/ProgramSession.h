// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramRun.h"
#include "core/program/ProgramValidation.h"

#include <QObject>
#include <QString>

class CommandSender;
class RunClock;

// What the source program window works on: the program with its file and modified flag, and
// its run with the log. It alone starts, pauses and ends the run; the window follows its
// signals.
class ProgramSession : public QObject
{
    Q_OBJECT

public:
    ProgramSession(CommandSender& sender, RunClock& clock, QObject* parent = nullptr);

    const ProgramDoc& Document() const { return doc; }
    // A new program (from the window's fields), to be run next.
    void SetDefinition(const ProgramDoc& definition);
    // Another program altogether (opened, or a new one): nothing may be running.
    void Replace(const ProgramDoc& document, const QString& path);
    QString Path() const { return path; }
    void SetPath(const QString& newPath) { path = newPath; }
    bool Modified() const { return modified; }
    void SetModified(bool on);

    // Runs the program; the previous run's log goes. Refused (nothing sent) when the
    // program does not pass.
    ProgramProblem Start();
    void Pause()
    {
        Change([this] { run.Pause(); });
    }
    void Resume()
    {
        Change([this] { run.Resume(); });
    }
    void Stop()
    {
        Change([this] { run.Stop(); });
    }

    ProgramRun::State State() const { return run.CurrentState(); }
    const ProgramRun& Run() const { return run; }
    // The program the latest run ran (the log's program), which the fields may have left.
    const ProgramDoc& RunDocument() const { return ranDoc; }

signals:
    void modifiedChanged(bool modified);
    void stateChanged();
    void logged(const ProgramLogEntry& entry);
    // The run ended: completed, stopped or the link given up (which the link has told).
    void runEnded(ProgramEnd end);

private:
    void Change(const std::function<void()>& action);

    ProgramDoc doc;
    ProgramDoc ranDoc;
    QString path;
    bool modified = false;
    ProgramRun run;
};
