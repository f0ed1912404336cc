// SPDX-License-Identifier: MIT
#include "SimServer.h"

#include "SimEngine.h"
#include "SimFrameLog.h"
#include "SimPty.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

// One byte of 8N1 at 9600 baud: ten bits.
constexpr long byteWireNs = 10L * 1000000000L / 9600;
// How often the loop looks at a line that nobody has open.
constexpr int idleLookMs = 20;

void AddNs(timespec* t, long ns)
{
    t->tv_nsec += ns;
    while (t->tv_nsec >= 1000000000L) {
        t->tv_nsec -= 1000000000L;
        ++t->tv_sec;
    }
}

} // namespace

SimServer::SimServer(SimEngine& engine, SimFrameLog& log, SimPty& pty, const QByteArray& linkPath)
    : engine(engine), log(log), pty(pty), linkPath(linkPath)
{
    clock_gettime(CLOCK_MONOTONIC, &start);
}

bool SimServer::InstallSignalHandlers()
{
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

void SimServer::Say(const QByteArray& line)
{
    const QByteArray text = line + '\n';
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.constData() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

double SimServer::Now() const
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) * 1e-9;
}

int SimServer::Run()
{
    for (;;) {
        pollfd fds[3];
        int count = 0;
        fds[count++] = {stopPipe[0], POLLIN, 0};
        const int controlIndex = controlOpen ? count : -1;
        if (controlOpen)
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        const int lineIndex = pty.IsOpen() && !lineIdle ? count : -1;
        if (lineIndex >= 0)
            fds[count++] = {pty.MasterFd(), POLLIN, 0};
        const int timeout = lineIdle ? idleLookMs : -1;
        lineIdle = false;
        if (poll(fds, nfds_t(count), timeout) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[0].revents)
            return 0;
        if (controlIndex >= 0 && fds[controlIndex].revents)
            ReadControl();
        if (lineIndex >= 0 && fds[lineIndex].revents)
            ServeLine();
    }
}

void SimServer::ReadControl()
{
    char buffer[512];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        if (n == 0 || (errno != EINTR && errno != EAGAIN))
            controlOpen = false; // no more control lines; the instrument goes on
        return;
    }
    controlInput.append(buffer, n);
    for (qsizetype end; (end = controlInput.indexOf('\n')) >= 0;) {
        const QString line = QString::fromUtf8(controlInput.left(end)).trimmed();
        controlInput.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        const QString error = engine.Control(line);
        // The line changes before the answer, so that whoever waits for "ok" finds the
        // device gone or back.
        if (engine.plan.TakeHangUpRequest())
            HangUp();
        if (engine.plan.TakePlugInRequest())
            PlugIn();
        Say(error.isEmpty() ? QByteArray("ok") : "error " + error.toUtf8());
    }
}

void SimServer::ServeLine()
{
    char buffer[256];
    const ssize_t n = ::read(pty.MasterFd(), buffer, sizeof buffer);
    if (n <= 0) {
        // EIO: nobody has the slave open (the program closed its port). Wait for it.
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            lineIdle = true;
        return;
    }
    const QList<SimFrameResult> results = engine.Feed(QByteArray(buffer, n), Now());
    for (const SimFrameResult& r : results) {
        if (r.partial) {
            HangUp(r.frame);
            continue;
        }
        const bool rejected = r.action == SimAction::Answer && r.reply.contains(SimInstrument::nak);
        log.Write(Now(), r.frame, rejected ? "reject" : ActionName(r.action), r.reply);
        WriteReply(r.reply, r.splitPauseMs, r.lateMs);
        if (r.hangUp)
            HangUp();
    }
}

// Replies leave at the wire speed unless pacing is off: each byte becomes readable when its
// ten bits would have arrived. A late reply starts only after its delay, and a split reply
// goes in pieces with a pause after each but the last; the line is not served meanwhile, as
// with an instrument that stalls: frames that come in are answered afterwards, in order.
void SimServer::WriteReply(const QByteArray& reply, int splitPauseMs, int lateMs)
{
    if (reply.isEmpty() || !pty.IsOpen())
        return;
    if (lateMs > 0) {
        timespec due{};
        clock_gettime(CLOCK_MONOTONIC, &due);
        AddNs(&due, long(lateMs) * 1000000L);
        SleepUntil(due);
    }
    const qsizetype pieces =
        splitPauseMs > 0 ? qMin<qsizetype>(SimFaultPlan::splitPieces, reply.size()) : 1;
    timespec due{};
    clock_gettime(CLOCK_MONOTONIC, &due);
    qsizetype from = 0;
    for (qsizetype piece = 0; piece < pieces; ++piece) {
        const qsizetype to = reply.size() * (piece + 1) / pieces;
        if (piece > 0) {
            AddNs(&due, long(splitPauseMs) * 1000000L);
            SleepUntil(due);
        }
        if (!WritePaced(reply.mid(from, to - from), &due))
            return; // the far end went away; the rest of the reply is lost with the line
        from = to;
    }
}

bool SimServer::WritePaced(const QByteArray& bytes, timespec* due)
{
    if (!engine.plan.pace) {
        const ssize_t n = ::write(pty.MasterFd(), bytes.constData(), bytes.size());
        clock_gettime(CLOCK_MONOTONIC, due);
        return n == bytes.size() || (n < 0 && errno == EAGAIN);
    }
    for (char byte : bytes) {
        AddNs(due, byteWireNs);
        SleepUntil(*due);
        if (::write(pty.MasterFd(), &byte, 1) != 1 && errno != EAGAIN)
            return false;
    }
    return true;
}

void SimServer::SleepUntil(const timespec& due)
{
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}

// The line goes: whoever has the device open sees it hung up. Unless the device is to stay
// away, a new one comes at once and the link names it.
void SimServer::HangUp(const QByteArray& cutFrame)
{
    log.Write(Now(), cutFrame.isEmpty() ? QByteArray("-") : cutFrame, "hangup", QByteArray());
    pty.Close();
    engine.LineHungUp();
    if (engine.plan.stayAway) {
        pty.Unlink();
        Say("away");
        return;
    }
    PlugIn();
}

void SimServer::PlugIn()
{
    if (pty.IsOpen())
        return;
    QString error;
    if (!pty.Open(&error)) {
        Say("error " + error.toUtf8());
        return;
    }
    pty.Link(linkPath);
    log.Write(Now(), "-", "plug-in", QByteArray());
    Say("pty " + pty.SlavePath());
}
