// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the program against the simulated calibrator: starts r718-sim, maps COM1..COM4 of
// this process to its line, and stops it again when the program ends. r718-sim is found
// through the environment variable R718_SIM, else next to the program's executable.
class SimulatorLauncher
{
public:
    SimulatorLauncher() = default;
    ~SimulatorLauncher();
    SimulatorLauncher(const SimulatorLauncher&) = delete;
    SimulatorLauncher& operator=(const SimulatorLauncher&) = delete;

    // Where r718-sim is looked for.
    static QString SimulatorProgram();

    // Starts the simulator and maps the ports to it. When it cannot be started, says so in
    // an error box and returns false; the program then goes on without it.
    bool Start();
    // Stops the simulator (if running) and removes the port mapping.
    void Stop();
    bool IsRunning() const;
    // The path COM1..COM4 stand for while the simulator runs.
    QString LinePath() const { return linePath; }
    qint64 ProcessId() const;

private:
    bool Fail(const QString& message);

    QProcess process;
    QString linePath;
};
