// SPDX-License-Identifier: MIT
// Times real calibrator transactions against r718-sim and compares them with the protocol's
// own minimum: (n + 2) × 20 ms of writing plus the 400 ms read, for a command of n characters.
// Each is timed as a window sees it: posted to the link, carried out on the link's worker
// thread, its reply back on this thread.
//
//   bench_link [repetitions] [set-points]   (R718_SIM overrides the simulator built with it)
//
// The second table splits each transaction into the Write calls, the 20 ms pauses and the
// Read. On a busy machine the pauses and the read wake up late; `chrt -f 10 bench_link`
// shows what the code itself costs.
//
// The third table times a set-point typed while the control panel polls: every 500 ms a "P"
// is posted unless one is on its way (as the panel does), the operator's "S1" runs, and at a
// random moment of it "N+1.000" is entered. From Enter to the first byte of its frame on the
// wire, with the polls posted as plain commands (the order of posting, as before) and as polls
// (overtaken by the operator's commands while they wait), and how often a poll went first.

#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/link/CSerialPort.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkClock.h"
#include "core/link/LinkSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMutex>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Stats
{
    double mean = 0, min = 0, max = 0;
};

Stats Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    Stats s;
    for (double v : ms)
        s.mean += v;
    s.mean /= double(ms.size());
    s.min = ms.front();
    s.max = ms.back();
    return s;
}

template <typename F> Stats Time(int repetitions, F action)
{
    std::vector<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        action();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return Summarise(ms);
}

// Passes everything on to the real port and clock and adds up the time each part takes. It
// is used on the link's worker thread only, where the real port is made (at the open) and
// destroyed (at the close).
class TimedPort : public SerialDevice, public LinkClock
{
public:
    std::optional<CSerialException> Open(const QString& path,
                                         const SerialLineSettings& settings) override
    {
        if (!port)
            port = std::make_unique<CSerialPort>();
        return port->Open(path, settings);
    }
    void Close() override { port.reset(); }
    bool IsOpen() const override { return port && port->IsOpen(); }
    SerialResult<QByteArray> Read(qint64 maxCount) override
    {
        QElapsedTimer t;
        t.start();
        SerialResult<QByteArray> read = port->Read(maxCount);
        readMs += double(t.nsecsElapsed()) / 1e6;
        return read;
    }
    SerialResult<qint64> Write(const QByteArray& bytes) override
    {
        // The command letter of each frame and when the frame's first byte went out.
        if (bytes == "^") {
            frameStart = wire.nsecsElapsed();
            letterNext = true;
        } else if (letterNext) {
            const QMutexLocker lock(&framesMutex);
            frames.push_back({frameStart, bytes.at(0)});
            letterNext = false;
        }
        QElapsedTimer t;
        t.start();
        const SerialResult<qint64> written = port->Write(bytes);
        writeMs += double(t.nsecsElapsed()) / 1e6;
        return written;
    }
    SerialResult<QByteArray> DiscardInput() override { return port->DiscardInput(); }
    void SleepMs(int ms) override
    {
        QElapsedTimer t;
        t.start();
        SystemLinkClock().SleepMs(ms);
        sleepMs += double(t.nsecsElapsed()) / 1e6;
    }

    struct Frame
    {
        qint64 at; // ns on `wire`
        char letter;
    };
    // The frames that started at or after `from`, in order.
    std::vector<Frame> FramesSince(qint64 from)
    {
        const QMutexLocker lock(&framesMutex);
        std::vector<Frame> since;
        for (const Frame& f : frames)
            if (f.at >= from)
                since.push_back(f);
        return since;
    }

    std::unique_ptr<CSerialPort> port;
    double readMs = 0, writeMs = 0, sleepMs = 0;
    QElapsedTimer wire; // started before the link, read on both threads

private:
    qint64 frameStart = 0;
    bool letterNext = false;
    QMutex framesMutex;
    std::vector<Frame> frames;
};

void WaitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct EnterToWire
{
    std::vector<double> ms;
    int pollFirst = 0; // a poll reached the wire between Enter and the set-point
};

// Set-points entered at random moments of a running "S1" while polls run every 500 ms.
EnterToWire TimeSetpoints(LinkSession& session, TimedPort& timed, int count, bool asPolls)
{
    bool pollPending = false;
    QTimer pollTimer;
    pollTimer.setTimerType(Qt::PreciseTimer);
    pollTimer.setInterval(500);
    QObject::connect(&pollTimer, &QTimer::timeout, [&] {
        if (pollPending)
            return;
        pollPending = true;
        const auto done = [&pollPending](const QString&) { pollPending = false; };
        if (asPolls)
            session.Poll(QStringLiteral("P"), done);
        else
            session.Send(QStringLiteral("P"), done);
    });
    pollTimer.start();
    EnterToWire result;
    QRandomGenerator random(718);
    for (int i = 0; i < count; ++i) {
        WaitMs(random.bounded(500));
        bool setpointDone = false;
        session.Send(QStringLiteral("S1"));
        WaitMs(random.bounded(480));
        const qint64 enter = timed.wire.nsecsElapsed();
        session.Send(QStringLiteral("N+1.000"),
                     [&setpointDone](const QString&) { setpointDone = true; });
        while (!setpointDone)
            WaitMs(5);
        const std::vector<TimedPort::Frame> since = timed.FramesSince(enter);
        for (const TimedPort::Frame& f : since) {
            if (f.letter == 'N') {
                result.ms.push_back(double(f.at - enter) / 1e6);
                break;
            }
            if (f.letter == 'P')
                ++result.pollFirst;
        }
    }
    pollTimer.stop();
    while (pollPending)
        WaitMs(5);
    return result;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("R718_SIM"))
        qputenv("R718_SIM", R718_SIM_DEFAULT);
    const int repetitions = argc > 1 ? qMax(1, atoi(argv[1])) : 10;
    const int setpoints = argc > 2 ? qMax(1, atoi(argv[2])) : 20;

    SimProcess sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(sim.LastError()));
        return 1;
    }
    sim.MapPort(1);
    RecordingMessageService messages;
    TimedPort timed;
    timed.wire.start();
    CalibratorLink link(messages, &timed, &timed);
    LinkSession session(link);
    bool opened = false;
    session.Open(1, [&opened](bool ok) { opened = ok; });
    session.WaitUntilSent();
    if (!opened)
        return 1;

    std::printf("Transactions against r718-sim (replies paced at 9600 baud), %d each\n",
                repetitions);
    std::printf("%2s  %-9s %9s %9s %9s %9s %7s %7s\n", "n", "command", "minimum", "mean", "fastest",
                "slowest", "ratio", "worst");
    const char* commands[] = {"X", "S1", "C01", "C120", "N+0.0", "N+0.00", "N+0.000", "N+0.0000"};
    bool allAccepted = true;
    struct Parts
    {
        int n;
        double write, sleep, read, total;
    };
    std::vector<Parts> parts;
    QString reply;
    auto transact = [&](const QString& command) {
        session.Send(command, [&reply](const QString& r) { reply = r; });
        return session.WaitUntilSent();
    };
    for (const char* c : commands) {
        const QString command = QString::fromLatin1(c);
        const double minimum = (command.size() + 2) * 20.0 + 400.0;
        transact(command); // warm-up
        timed.readMs = timed.writeMs = timed.sleepMs = 0;
        const Stats s = Time(repetitions, [&] {
            const bool alive = transact(command);
            allAccepted = allAccepted && reply == '^' + command + '%' && alive;
        });
        std::printf("%2lld  %-9s %9.2f %9.2f %9.2f %9.2f %7.4f %7.4f\n",
                    static_cast<long long>(command.size()), c, minimum, s.mean, s.min, s.max,
                    s.mean / minimum, s.max / minimum);
        std::fflush(stdout);
        parts.push_back({int(command.size()), timed.writeMs / repetitions,
                         timed.sleepMs / repetitions, timed.readMs / repetitions, s.mean});
    }

    std::printf("\nmean ms per transaction: Write calls, pauses (minimum (n+2) x 20), Read "
                "(minimum 400), the rest\n");
    for (const Parts& p : parts)
        std::printf("%2d  write %7.3f  pauses %8.2f (+%5.2f)  read %8.2f (+%5.2f)  rest %6.3f\n",
                    p.n, p.write, p.sleep, p.sleep - (p.n + 2) * 20.0, p.read, p.read - 400.0,
                    p.total - p.write - p.sleep - p.read);

    std::printf("\nEnter to the wire, a set-point typed while \"S1\" runs and the panel polls, "
                "%d each (ms)\n",
                setpoints);
    std::printf("%-22s %8s %8s %8s %8s %11s\n", "polls posted", "median", "p90", "max", "mean",
                "poll first");
    for (const bool asPolls : {false, true}) {
        const EnterToWire e = TimeSetpoints(session, timed, setpoints, asPolls);
        const Stats s = Summarise(e.ms);
        std::printf("%-22s %8.1f %8.1f %8.1f %8.1f %7d/%-3zu\n",
                    asPolls ? "as polls (now)" : "as commands (before)", Percentile(e.ms, 0.5),
                    Percentile(e.ms, 0.9), s.max, s.mean, e.pollFirst, e.ms.size());
        std::fflush(stdout);
    }

    session.Close();
    session.WaitUntilSent();
    for (const QString& text : messages.Texts())
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(text));
    if (!allAccepted) {
        std::fprintf(stderr, "bench_link: a transaction was not accepted\n");
        return 1;
    }
    return 0;
}
