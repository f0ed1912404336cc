// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

class MessageService;

// Runs the program against the simulated calibrator: starts r718-sim, maps COM1..COM4 of
// this process to its line, and stops it again when the program ends. r718-sim is found
// through the environment variable R718_SIM, else next to the program's executable (the build
// tree), else in the installed layout's libexec folder (../libexec/r718 from bin).
class SimulatorLauncher
{
public:
    SimulatorLauncher() = default;
    ~SimulatorLauncher();
    SimulatorLauncher(const SimulatorLauncher&) = delete;
    SimulatorLauncher& operator=(const SimulatorLauncher&) = delete;

    // The places r718-sim is looked for, in order, for a program in programDir: the path in
    // R718_SIM alone when that is set.
    static QStringList SimulatorCandidates(const QString& programDir);
    // The first candidate that is an executable file; empty when there is none.
    static QString SimulatorProgram(const QString& programDir);

    // Starts the simulator and maps the ports to it. When it cannot be started, says so in
    // an error box and returns false; the program then goes on without it.
    bool Start(MessageService& messages);
    // Stops the simulator (if running) and removes the port mapping.
    void Stop();
    bool IsRunning() const;
    // The path COM1..COM4 stand for while the simulator runs.
    QString LinePath() const { return linePath; }
    qint64 ProcessId() const;

private:
    bool Fail(const QString& message, MessageService& messages);

    QProcess process;
    QString linePath;
};
