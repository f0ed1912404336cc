// SPDX-License-Identifier: MIT
// How promptly the program answers while it works: the control panel polls r718-sim, and a
// 5 ms timer on the GUI thread records how late each of its ticks comes (event-loop
// lateness: the time between two ticks less 5 ms).
//
//   bench_ui [seconds] [trials]     (default 30 s of polling, 50 keys; R718_SIM overrides the
//                                    simulator built with it; offscreen unless QT_QPA_PLATFORM)
//
// 1. The panel polls for `seconds`: lateness median, 99th percentile and maximum.
//    Targets: 99th percentile <= 16 ms, maximum <= 50 ms.
// 2. The same while a 20-range document with the table and both charts of every range is
//    printed to a PDF file. Target: maximum <= 250 ms.
// 3. Keypad to readout: a keypad key is pressed at a random moment of a poll (posted from
//    another thread, as the window system delivers it whatever the GUI thread is doing) and
//    timed from the key event to the source readout's repaint. Target: 90th percentile
//    <= 50 ms.
// 4. The transducer check window runs an automatic check (five points, one second of
//    settling, three readings each) against r718-sim's transmitter. Targets as in 1.

#include "BenchDocument.h"
#include "Child.h"
#include "RecordingMessageService.h"
#include "ui/transducer/CTransducerDlg.h"
#include "SimProcess.h"
#include "ui/base/DialogWorkProgress.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportCharts.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/panel/CCalibratorPanelDlg.h"
#include "ui/panel/CSourceDisplay.h"
#include "ui/panel/SourceHalf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t i = std::min(values.size() - 1, size_t(p / 100.0 * double(values.size())));
    return values[i];
}

// Runs the event loop for `ms` (and until `done` says so, then 100 ms more for the tick that
// comes after the work) while a 5 ms precise timer records how late each tick comes.
std::vector<double> Lateness(int ms, const std::function<bool()>& done = {})
{
    std::vector<double> late;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    Clock::time_point last = Clock::now();
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        late.push_back(std::max(0.0, MsSince(last, now) - 5.0));
        last = now;
    });
    QElapsedTimer elapsed;
    elapsed.start();
    ticker.start();
    while (elapsed.elapsed() < ms || (done && !done()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (done) {
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 100)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return late;
}

void PrintLateness(const char* what, const std::vector<double>& late, double p99Target,
                   double maxTarget)
{
    const double p99 = Percentile(late, 99);
    const double max = late.empty() ? 0 : *std::max_element(late.begin(), late.end());
    std::printf("%-44s median %7.2f  p99 %7.2f  max %7.2f ms  (%zu ticks)", what,
                Percentile(late, 50), p99, max, late.size());
    if (p99Target > 0)
        std::printf("  p99 %s", p99 <= p99Target ? "OK" : "OVER");
    std::printf("  max %s\n", max <= maxTarget ? "OK" : "OVER");
    std::fflush(stdout);
}


// Prints every range with the table and both charts to `path`, as "Drukuj..." does (the
// event loop running between pages); calls `finished` when the file is complete.
void PrintDocument(const MeterCheckSession& session, const QString& path, MessageService& messages,
                   const std::function<void()>& finished)
{
    DialogWorkProgress progress(nullptr, QStringLiteral("Drukowanie"));
    PdfFileJobs jobs;
    PrintOptions options;
    options.printTable = true;
    options.printPointsChart = true;
    options.printErrorsChart = true;
    options.printScope = RangeScope::All;
    const std::unique_ptr<ReportChartPrinter> charts =
        CreateReportChartPrinter(session.document, messages);
    PrintReport(options, session, jobs, charts.get(), SystemReportClock(), messages, &progress);
    progress.Done();
    jobs.Save(path, session.documentName, messages);
    finished();
}

// Times keypad keys from the key event to the next repaint of the source readout.
class KeyTimer : public QObject
{
public:
    KeyTimer(QWidget* target, QWidget* readout) : target(target), readout(readout)
    {
        target->installEventFilter(this);
        readout->installEventFilter(this);
    }

    // Presses the keys one after another, each after a random pause of 0-500 ms (a random
    // moment of the 500 ms poll); returns the latencies in ms.
    std::vector<double> Run(const std::vector<int>& keys)
    {
        latency.clear();
        // The key events name the keyboard they come from; it is made on this thread first.
        QInputDevice::primaryKeyboard();
        std::atomic<bool> stop{false};
        std::thread presser([&] {
            std::mt19937 random(718);
            std::uniform_int_distribution<int> pause(0, 500);
            for (int key : keys) {
                std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
                if (stop)
                    return;
                delivered = false;
                painted = false;
                pressedAt = Clock::now();
                const QString text = key >= Qt::Key_0 && key <= Qt::Key_9
                                         ? QString(QChar('0' + (key - Qt::Key_0)))
                                         : QString();
                QCoreApplication::postEvent(
                    target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
                while (!painted && !stop)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        QElapsedTimer guard;
        guard.start();
        while (latency.size() < keys.size() && guard.elapsed() < qint64(keys.size()) * 3000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        stop = true;
        presser.join();
        return latency;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target && event->type() == QEvent::KeyPress) {
            delivered = true;
        } else if (watched == readout && event->type() == QEvent::Paint && delivered && !painted) {
            latency.push_back(MsSince(pressedAt, Clock::now()));
            painted = true;
        }
        return false;
    }

private:
    QWidget* target;
    QWidget* readout;
    std::atomic<bool> delivered{false};
    std::atomic<bool> painted{false};
    Clock::time_point pressedAt; // written before the key is posted, read after it arrives
    std::vector<double> latency;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("R718_SIM"))
        qputenv("R718_SIM", R718_SIM_DEFAULT);
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const int trials = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
    FillCalFunctionTable();
    RecordingMessageService messages; // the closing question and any error, answered at once

    SimProcess sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "bench_ui: %s\n", qPrintable(sim.LastError()));
        return 1;
    }
    sim.MapPort(1);
    CalibratorLink link(messages);
    link.SetPortNumber(1);

    std::printf("bench_ui: control panel against r718-sim; lateness of a 5 ms timer on the GUI "
                "thread\n");
    bool ok = true;
    {
        CCalibratorPanelDlg panel(link, messages);
        panel.show();
        panel.activateWindow();
        Lateness(1500); // the opening commands

        PrintLateness(qPrintable(QStringLiteral("polling %1 s").arg(seconds)),
                      Lateness(seconds * 1000), 16, 50);

        QTemporaryDir dir;
        // Set R718_BENCH_KEEP to keep the PDF file for a look.
        if (!qEnvironmentVariableIsEmpty("R718_BENCH_KEEP")) {
            dir.setAutoRemove(false);
            std::printf("files kept in %s\n", qPrintable(dir.path()));
        }
        MeterCheckSession session;
        FillBenchDocument(session.document, 20); // the table and both charts of 20 ranges
        const QString pdf = dir.filePath("bench.pdf");
        bool printed = false;
        QElapsedTimer printTime;
        qint64 printMs = 0;
        QTimer::singleShot(100, [&] {
            printTime.start();
            PrintDocument(session, pdf, messages, [&] {
                printMs = printTime.elapsed();
                printed = true;
            });
        });
        const std::vector<double> printing = Lateness(0, [&] { return printed; });
        const QString what = QStringLiteral("printing 20 ranges, both charts (%1 s)")
                                 .arg(double(printMs) / 1000.0, 0, 'f', 1);
        PrintLateness(qPrintable(what), printing, 0, 250);
        ok = ok && QFileInfo(pdf).size() > 0;

        // Digits, and "CE" now and then so that every key changes the readout.
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && (focus == &panel || panel.isAncestorOf(focus)) ? focus : &panel;
        std::vector<int> keys;
        for (int i = 0; int(keys.size()) < trials; ++i)
            keys.push_back(i % 6 == 5 ? int(Qt::Key_Backspace) : int(Qt::Key_1) + i % 6);
        KeyTimer timer(target, Child<CSourceDisplay>(panel, "sourceDisplay"));
        const std::vector<double> latency = timer.Run(keys);
        const double p90 = Percentile(latency, 90);
        std::printf("%-44s median %7.2f  p90 %7.2f  max %7.2f ms  (%zu keys)  p90 %s\n",
                    "keypad key to source readout", Percentile(latency, 50), p90,
                    latency.empty() ? 0.0 : *std::max_element(latency.begin(), latency.end()),
                    latency.size(), p90 <= 50 ? "OK" : "OVER");
        ok = ok && latency.size() == keys.size();
    }
    {
        // The check needs the transmitter between the thermocouple source and the current input.
        ok = ok && sim.Control(QStringLiteral("transmitter in=0:500 out=4:20 zero=0.4 lag=0.5"));
        CTransducerDlg window(link, messages);
        window.show();
        Lateness(1500); // the opening commands
        for (auto* label : window.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Czas ustalania [s]:"))
                qobject_cast<QLineEdit*>(label->buddy())->setText(QStringLiteral("1"));
        }
        bool ended = false;
        QObject::connect(&window.Session(), &TransducerSession::runEnded, [&] { ended = true; });
        QElapsedTimer runTime;
        runTime.start();
        Child<QPushButton>(window, "asFoundButton")->click();
        const std::vector<double> running = Lateness(0, [&] { return ended; });
        PrintLateness(qPrintable(QStringLiteral("transducer check, 5 points (%1 s)")
                                     .arg(double(runTime.elapsed()) / 1000.0, 0, 'f', 1)),
                      running, 16, 50);
        ok = ok && window.Session().Document().asFound.points.size() == 5;
        window.Session().SetModified(false); // no closing question
    }
    for (const QString& text : messages.Texts()) {
        if (text != QStringLiteral("Czy chcesz zakończyć pracę z modułem sterowania kalibratora?"))
            std::printf("message: %s\n", qPrintable(text));
    }
    return ok ? 0 : 1;
}
