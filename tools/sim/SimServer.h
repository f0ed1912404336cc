// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <ctime>

class SimEngine;
class SimFrameLog;
class SimPty;

// The instrument's main loop: reads frames from the pseudo-terminal and answers them, takes
// control lines from standard input (answering "ok" or "error ..." on standard output), and
// ends on SIGTERM, SIGINT or SIGHUP. While nobody has the slave open the master reports a
// hang-up; the loop then looks again every few milliseconds instead of spinning.
class SimServer
{
public:
    SimServer(SimEngine& engine, SimFrameLog& log, SimPty& pty, const QByteArray& linkPath);

    // Runs until a stop signal arrives; returns the exit code.
    int Run();

    // Installs the stop-signal handlers; call once before Run.
    static bool InstallSignalHandlers();
    // Writes one line to standard output at once.
    static void Say(const QByteArray& line);

private:
    double Now() const;
    void ReadLine();
    void ReadControl();
    void ServeLine();
    void WriteReply(const QByteArray& reply, int splitPauseMs, int lateMs);
    bool WritePaced(const QByteArray& bytes, timespec* due);
    static void SleepUntil(const timespec& due);
    void HangUp(const QByteArray& cutFrame = QByteArray());
    void PlugIn();

    SimEngine& engine;
    SimFrameLog& log;
    SimPty& pty;
    QByteArray linkPath;
    QByteArray controlInput;
    bool controlOpen = true;
    bool lineIdle = false;
    timespec start{};
};
