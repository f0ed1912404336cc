// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FakeLink.h"
#include "HeldLine.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <optional>
#include <thread>

// The link object on its worker thread, on a scripted line: the order of the windows'
// commands, windows that end with commands queued, a link given up with commands queued, the
// program ending under a transaction (the wait that keeps the windows painted: tst_linkwait).

namespace {

const QString noLinkText = QStringLiteral("Brak komunikacji z portem COM.");

} // namespace

class TestCalibratorLink : public QObject
{
    Q_OBJECT

private slots:
    // One handler's commands stay together; the windows' commands go out in the order posted,
    // each reply back on the GUI thread.
    void commandsOfAllWindowsInPostingOrder()
    {
        FakeLink line;
        HeldLine held(line.device, "^I%");
        LinkSession panel(line.link);
        LinkSession other(line.link);
        QStringList replies;
        auto note = [&replies](const QString& what) {
            return [&replies, what](const QString&) {
                QCOMPARE(QThread::currentThread(), qApp->thread());
                replies << what;
            };
        };
        panel.Open(1);
        panel.Send(QStringLiteral("I"), note("I"));
        QVERIFY(held.Running());
        other.Send(QStringLiteral("P"), note("P"));
        panel.Send(QStringLiteral("C01"), note("C01"));
        panel.Send(QStringLiteral("N+0.000"), note("N+0.000"));
        other.Send(QStringLiteral("P"), note("P"));
        held.Release();
        panel.WaitUntilSent();
        other.WaitUntilSent();
        QCOMPARE(line.device.Written(), QByteArray("^I%^P%^C01%^N+0.000%^P%"));
        QCOMPARE(replies, QStringList({"I", "P", "C01", "N+0.000", "P"}));
        QVERIFY(panel.LinkAlive());
        QVERIFY(line.messages.messages.isEmpty());
    }

    // A poll that waits for the line is overtaken by the commands posted after it, which keep
    // their order; a poll already on the wire is not.
    void commandsGoAheadOfAWaitingPoll_data()
    {
        DataColumns<bool, QByteArray, QStringList>("pollRunning", "wire", "replies");
        DataRow("poll waiting behind a command", false, QByteArray("^C01%^N+1.000%^S1%^P%"),
                QStringList{"N+1.000", "S1", "P"});
        DataRow("poll on the wire", true, QByteArray("^P%^N+1.000%^S1%"),
                QStringList{"P", "N+1.000", "S1"});
    }
    void commandsGoAheadOfAWaitingPoll()
    {
        QFETCH(bool, pollRunning);
        QFETCH(QByteArray, wire);
        QFETCH(QStringList, replies);
        FakeLink line;
        HeldLine held(line.device, pollRunning ? "^P%" : "^C01%");
        LinkSession panel(line.link);
        LinkSession other(line.link);
        QStringList done;
        auto note = [&done](const QString& what) {
            return [&done, what](const QString&) { done << what; };
        };
        panel.Open(1);
        if (!pollRunning)
            other.Send(QStringLiteral("C01"));
        panel.Poll(QStringLiteral("P"), note("P"));
        QVERIFY(held.Running());
        other.Send(QStringLiteral("N+1.000"), note("N+1.000"));
        panel.Send(QStringLiteral("S1"), note("S1"));
        held.Release();
        panel.WaitUntilSent();
        other.WaitUntilSent();
        QCOMPARE(line.device.Written(), wire);
        QCOMPARE(done, replies);
    }

    // A window that ends drops its queued commands; its transaction ends before its next
    // frame (here: the recovery after a silent read); the port closes; its callbacks never
    // come. The next window's commands go out as usual.
    void windowEndedWithCommandsQueued()
    {
        FakeLink line;
        HeldLine held(line.device, "^P%");
        held.reply = false;
        std::optional<HeldLine> again;
        int called = 0;
        {
            LinkSession panel(line.link);
            panel.Open(1);
            panel.Send(QStringLiteral("P"), [&called](const QString&) { ++called; });
            QVERIFY(held.Running());
            panel.Send(QStringLiteral("C01"), [&called](const QString&) { ++called; });
            panel.Send(QStringLiteral("N+1.000"), [&called](const QString&) { ++called; });
            panel.End();
            held.Release();
            panel.WaitUntilSent();
            QCOMPARE(line.device.Written(), QByteArray("^P%"));
            QVERIFY(!line.device.IsOpen());
            QVERIFY(line.messages.messages.isEmpty());

            // A window that ends and is gone at once, with a command queued behind a running
            // one: the same, and its port is closed all the same.
            held.reply = true;
            panel.Open(1);
            panel.Send(QStringLiteral("X"));
            panel.WaitUntilSent();
            line.device.ClearRecords();
            again.emplace(line.device, "^S1%");
            panel.Send(QStringLiteral("S1"), [&called](const QString&) { ++called; });
            QVERIFY(again->Running());
            panel.Send(QStringLiteral("S0"), [&called](const QString&) { ++called; });
            panel.End();
        }
        again->Release();
        LinkSession next(line.link);
        next.Open(1);
        next.Send(QStringLiteral("I"));
        next.WaitUntilSent();
        QCOMPARE(line.device.Written(), QByteArray("^S1%^I%"));
        QCOMPARE(line.device.opens.size(), 1); // opened anew: the port had been closed
        QCOMPARE(called, 0);
    }

    // The calibrator stops answering while commands wait: one message, on the GUI thread;
    // the waiting commands reach nothing and report the link given up; a new opening of the
    // port brings it back.
    void linkGivenUpWithCommandsQueued()
    {
        FakeLink line;
        HeldLine held(line.device, "^C01%");
        held.reply = false;
        LinkSession meterCheck(line.link);
        meterCheck.Open(1);
        QList<bool> aliveAfter;
        auto note = [&] { return [&](const QString&) { aliveAfter << meterCheck.LinkAlive(); }; };
        meterCheck.Send(QStringLiteral("C01"), note());
        QVERIFY(held.Running());
        meterCheck.Send(QStringLiteral("N+1.000"), note());
        meterCheck.Send(QStringLiteral("P"), note());
        held.Release();
        QVERIFY(!meterCheck.WaitUntilSent());
        QCOMPARE(line.device.Written(), QByteArray("^C01%^I%^I%^I%^I%^I%"));
        QCOMPARE(aliveAfter, QList<bool>({false, false, false}));
        QCOMPARE(line.messages.Texts(), QStringList{noLinkText});
        QCOMPARE(line.messages.messages[0].thread, qApp->thread());

        meterCheck.Send(QStringLiteral("S1"));
        meterCheck.WaitUntilSent();
        QCOMPARE(line.device.Written(), QByteArray("^C01%^I%^I%^I%^I%^I%"));

        held.reply = true;
        meterCheck.Close();
        meterCheck.Open(1);
        meterCheck.Send(QStringLiteral("S1"));
        QVERIFY(meterCheck.WaitUntilSent());
        QVERIFY(line.device.Written().endsWith("^I%^S1%"));
        QCOMPARE(line.messages.messages.size(), 1);
    }

    // The device of a port is looked up as the window posts its open: a change of the port
    // map while the open waits behind a transaction does not change what is opened.
    void deviceLookedUpWhenTheOpenIsPosted()
    {
        FakeLink line;
        HeldLine held(line.device, "^P%");
        const auto unset = qScopeGuard([] { qunsetenv("R718_COM1"); });
        qputenv("R718_COM1", "/dev/ttyUSB0");
        LinkSession panel(line.link);
        panel.Open(1);
        panel.Send(QStringLiteral("P"));
        QVERIFY(held.Running());
        panel.Close();
        panel.Open(1);
        qputenv("R718_COM1", "/dev/ttyUSB1");
        held.Release();
        panel.WaitUntilSent();
        QCOMPARE(line.device.opens.size(), 2);
        QCOMPARE(line.device.opens[0].path, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(line.device.opens[1].path, QStringLiteral("/dev/ttyUSB0"));
    }

    // The program ends while a transaction runs and more wait: the queued ones are dropped,
    // the running one ends before its next frame, the port is closed and the thread ends.
    void programEndsUnderATransaction()
    {
        FakeLine line;
        HeldLine held(line.device, "^P%");
        held.reply = false;
        std::thread later;
        {
            CalibratorLink link(line.messages, &line.device, &line.clock);
            LinkSession panel(link);
            panel.Open(1);
            panel.Send(QStringLiteral("P"));
            QVERIFY(held.Running());
            panel.Send(QStringLiteral("C01"));
            later = std::thread([&held] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                held.Release();
            });
        }
        later.join();
        QCOMPARE(line.device.Written(), QByteArray("^P%"));
        QVERIFY(!line.device.IsOpen());
        QVERIFY(line.messages.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCalibratorLink)
#include "tst_calibratorlink.moc"
