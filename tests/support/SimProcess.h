// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// One line of r718-sim's frame log.
struct SimLogEntry
{
    double seconds = 0;
    QString frame;  // "^...%" as received; for a hang-up "-" or the part of a frame it cut
    QString action; // answer, reject, nak, silence, garbage, hangup, plug-in
    QString reply;  // as sent, non-printable bytes as \xNN
};

// r718-sim run for a test: started from R718_SIM (which every test gets), its line reached
// through a link that survives hang-ups, its frame log in a folder of its own. Stopped when
// the object goes.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator with extra command-line options and waits for its line. On
    // failure returns false; LastError() says why.
    bool Start(const QStringList& options = {});
    // Ends it with SIGTERM; returns its exit code (-1 when it had to be killed).
    int Stop();
    bool IsRunning() const;
    qint64 ProcessId() const;
    QString LastError() const { return error; }

    // The pseudo-terminal first opened, and the link that always names the current one.
    QString DevicePath() const { return devicePath; }
    QString LinkPath() const;
    // Makes COM<port> of this process lead to the simulator.
    void MapPort(int port = 1) const;

    // Sends a control line ("nak 3", "over-range on") and waits for "ok".
    bool Control(const QString& line);

    QList<SimLogEntry> Log() const;
    // The frames received so far, in order (hang-ups, cut frames and plug-ins left out).
    QStringList Frames() const;

private:
    QString ReadLine(int timeoutMs);

    QProcess process;
    QTemporaryDir folder;
    QString devicePath;
    QString error;
};
