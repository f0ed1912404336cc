// SPDX-License-Identifier: MIT
// Faults on the line at real speed: the real link and port against r718-sim, one transaction
// under each fault, then the port closed and opened again as a technician would.

#include "DataRows.h"
#include "PortProtocol.h"
#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/app/PortSettings.h"
#include "core/link/CalibratorLink.h"
#include "core/link/PortMap.h"
#include "core/link/SerialDevice.h"

#include <QRegularExpression>
#include <QTest>

#include <ctime>
#include <memory>

namespace {

const QString noLink = QStringLiteral("Brak komunikacji z portem COM.");
const QString noPort = QStringLiteral("Nie można otworzyć portu szeregowego.");
const QString fiveRecoveries = QStringLiteral("^I%^I%^I%^I%^I%");

QStringList Frames(const QString& joined)
{
    // "^C02%^I%" -> {"^C02%", "^I%"}
    QStringList frames;
    for (const QString& part : joined.split(QLatin1Char('%'), Qt::SkipEmptyParts))
        frames << part + QLatin1Char('%');
    return frames;
}

// The hang-ups the simulator logged, each with the part of a frame it cut ("-" for none).
QStringList HangUps(const QList<SimLogEntry>& log)
{
    QStringList cuts;
    for (const SimLogEntry& e : log) {
        if (e.action == QLatin1String("hangup"))
            cuts << e.frame;
    }
    return cuts;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private:
    SimProcess sim;
    std::unique_ptr<PortProtocol> link;

    void StartSim(const QStringList& controls)
    {
        QVERIFY2(sim.Start(), qPrintable(sim.LastError()));
        sim.MapPort(1);
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        QVERIFY(link->protocol.linkOpen);
        // A live reading first, so that a stale one would show.
        link->protocol.SendCommand(QStringLiteral("P"));
        QVERIFY(link->protocol.lastReply.startsWith(QLatin1String("^+")) ||
                link->protocol.lastReply.startsWith("^-"));
        for (const QString& c : controls)
            QVERIFY2(sim.Control(c), qPrintable(sim.LastError()));
    }

    // The port closed and opened again: the calibrator answers "I", "X" and a live "P".
    void VerifyReopenWorks()
    {
        const qsizetype before = sim.Frames().size();
        link->protocol.CloseCalibratorPort();
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        QVERIFY(link->protocol.linkOpen);
        link->protocol.SendCommand(QStringLiteral("I"));
        QCOMPARE(link->protocol.lastReply, QStringLiteral("^I%"));
        link->protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link->protocol.lastReply, QStringLiteral("^X%"));
        link->protocol.SendCommand(QStringLiteral("P"));
        static const QRegularExpression reading(QStringLiteral("^\\^[+-][0-9.]{7}%$"));
        QVERIFY2(reading.match(link->protocol.lastReply).hasMatch(),
                 qPrintable(link->protocol.lastReply));
        QCOMPARE(sim.Frames().mid(before), QStringList({"^I%", "^X%", "^P%"}));
        QVERIFY(link->protocol.linkOpen);
    }

private slots:
    void init() { link = std::make_unique<PortProtocol>(); }
    void cleanup()
    {
        link.reset();
        sim.Stop();
    }

    // One "C02" under a fault. A link given up keeps no reply: the last one read was refused.
    void faultInATransaction_data()
    {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("wire");   // the frames the simulator received, run together
        QTest::addColumn<QString>("cut");    // the hang-ups logged, each with what it cut
        QTest::addColumn<bool>("linkAfter"); // link->protocol.linkOpen after the command
        QTest::addColumn<QString>("reply");
        DataRow("5 NAKs: the fifth recovery attempt gets through", QStringList{"nak 5"},
                "^C02%" + fiveRecoveries + "^C02%", QString(), true, "^C02%");
        DataRow("6 NAKs: one more than recovery absorbs", QStringList{"nak 6"},
                "^C02%" + fiveRecoveries, QString(), false, QString());
        DataRow("6 silences", QStringList{"silence 6"}, "^C02%" + fiveRecoveries, QString(), false,
                QString());
        DataRow("6 garbage replies", QStringList{"garbage 6"}, "^C02%" + fiveRecoveries, QString(),
                false, QString());
        DataRow("reply in three pieces within the read window", QStringList{"split 1 100"}, "^C02%",
                QString(), true, "^C02%");
        // "^" + "C0" within the window, "2%" after it: recovery reads the tail together
        // with the answer to "^I%", and the resend is answered whole.
        DataRow("reply tail after the read window", QStringList{"split 1 300"}, "^C02%^I%^C02%",
                QString(), true, "^C02%");
        DataRow("device gone after the first bytes of the frame", QStringList{"hangup-mid frame"},
                QString(), "^C", false, QString());
        DataRow("device gone before the reply", QStringList{"hangup-mid reply"}, "^C02%", "-",
                false, QString());
        // "^I%" is answered, then the line goes: the resend fails on the dead port.
        DataRow("device gone during recovery", QStringList{"nak 1", "hangup-after 2"}, "^C02%^I%",
                "-", false, QString());
    }
    void faultInATransaction()
    {
        QFETCH(QStringList, controls);
        QFETCH(QString, wire);
        QFETCH(QString, cut);
        QFETCH(bool, linkAfter);
        QFETCH(QString, reply);
        RecordingMessageService& messages = link->messages;
        StartSim(controls);
        const qsizetype before = sim.Frames().size();

        link->protocol.SendCommand(QStringLiteral("C02"));
        QCOMPARE(sim.Frames().mid(before), Frames(wire));
        QCOMPARE(HangUps(sim.Log()), cut.isEmpty() ? QStringList() : QStringList{cut});
        QCOMPARE(link->protocol.linkOpen, linkAfter);
        QCOMPARE(link->protocol.lastReply, reply);
        if (linkAfter) {
            QVERIFY(messages.messages.isEmpty());
            QVERIFY(!link->protocol.noLinkReported);
        } else {
            QVERIFY(messages.OnlyError(noLink));
            QVERIFY(link->protocol.noLinkReported);
            // A dead port is closed, so that the next open really opens the device again.
            if (!cut.isEmpty())
                QVERIFY(!link->port.IsOpen());
            // Dropped: nothing more reaches the wire, and no second message.
            const qsizetype frames = sim.Frames().size();
            link->protocol.SendCommand(QStringLiteral("P"));
            QTest::qWait(50);
            QCOMPARE(sim.Frames().size(), frames);
        }

        VerifyReopenWorks();
        QCOMPARE(messages.messages.size(), linkAfter ? 0 : 1);
    }

    // Replies that come after the 400 ms read. Set-point and reading change together, so a
    // reply taken for the next command's shows: every reading accepted is the one of its own
    // poll, never an acknowledgement. A reply or two late cost one recovery; a calibrator
    // that is always late is given up with the message, not read one poll behind.
    void lateReplies_data()
    {
        DataColumns<QString, bool>("late", "givenUp");
        DataRow("one reply 450 ms late", "late 450", false);
        DataRow("one reply 1 s late", "late 1000", false);
        DataRow("two replies 450 ms late", "late 450 2", false);
        DataRow("two replies 1 s late", "late 1000 2", false);
        DataRow("every reply 450 ms late", "late 450 forever", true);
        DataRow("every reply 700 ms late", "late 700 forever", true);
    }
    void lateReplies()
    {
        QFETCH(QString, late);
        QFETCH(bool, givenUp);
        RecordingMessageService& messages = link->messages;
        StartSim({QStringLiteral("noise off")});
        // 12 V out in operate, read back in the 25 V range; the late replies start with a poll.
        for (const char* c : {"C05", "M04", "S1", "N+1.000"})
            link->protocol.SendCommand(QString::fromLatin1(c));
        QVERIFY2(sim.Control(late), qPrintable(sim.LastError()));
        for (int volts = 1; volts <= 3 && link->protocol.linkOpen; ++volts) {
            if (volts > 1)
                link->protocol.SendCommand(QStringLiteral("N+%1.000").arg(volts));
            if (link->protocol.linkOpen)
                link->protocol.SendCommand(QStringLiteral("P"));
            if (link->protocol.linkOpen)
                QCOMPARE(link->protocol.lastReply, QStringLiteral("^+00%1.000%").arg(volts));
        }
        QCOMPARE(link->protocol.linkOpen, !givenUp);
        QCOMPARE(messages.Texts(), givenUp ? QStringList{noLink} : QStringList());
        QVERIFY2(sim.Control(QStringLiteral("late off")), qPrintable(sim.LastError()));
        // The frames that came in while the calibrator was late are answered and logged before
        // the next control line is.
        QVERIFY2(sim.Control(QStringLiteral("ping")), qPrintable(sim.LastError()));
        VerifyReopenWorks();
    }

    // A NAK storm outlasts the technician's first reopen: the port opened anew tells of the
    // second failure too; once the storm is over the link works again.
    void stormOutlastingAReopen()
    {
        RecordingMessageService& messages = link->messages;
        StartSim({QStringLiteral("nak 12")});
        link->protocol.SendCommand(QStringLiteral("S1"));
        QVERIFY(!link->protocol.linkOpen);
        link->protocol.CloseCalibratorPort();
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        link->protocol.SendCommand(QStringLiteral("I"));
        QVERIFY(!link->protocol.linkOpen);
        QCOMPARE(sim.Frames().mid(1), Frames("^S1%" + fiveRecoveries + "^I%" + fiveRecoveries));
        QCOMPARE(messages.Texts(), (QStringList{noLink, noLink}));

        VerifyReopenWorks();
        QCOMPARE(messages.Texts(), (QStringList{noLink, noLink}));
    }

    // The device vanishes under the transaction and stays away: the port settings' OK (open,
    // "X", close, through the program's link on its thread) fails with its own message until
    // the device is back at the same path.
    void deviceAwayUntilPluggedIn()
    {
        RecordingMessageService& messages = link->messages;
        StartSim({QStringLiteral("stay-away on"), QStringLiteral("hangup-mid reply")});
        link->protocol.SendCommand(QStringLiteral("M04"));
        QVERIFY(!link->protocol.linkOpen);
        QCOMPARE(link->protocol.lastReply, QString());
        QVERIFY(!link->port.IsOpen());
        QCOMPARE(messages.Texts(), QStringList{noLink});

        link->protocol.CloseCalibratorPort();
        CalibratorLink program(messages);
        QVERIFY(!PortSettings::ApplyPortChoice(program, 0));
        QVERIFY(!program.LinkAlive());
        QCOMPARE(messages.Texts(), QStringList({noLink, noPort}));
        QVERIFY(messages.IsErrorBox(1));

        QVERIFY2(sim.Control(QStringLiteral("plug-in")), qPrintable(sim.LastError()));
        QVERIFY(PortSettings::ApplyPortChoice(program, 0));
        QVERIFY(program.LinkAlive());
        QVERIFY(!program.PortOpen());
        const SimLogEntry x = sim.Log().last();
        QCOMPARE(x.frame, QStringLiteral("^X%"));
        QCOMPARE(x.action, QStringLiteral("answer"));
        QCOMPARE(x.reply, QStringLiteral("^X%"));
        VerifyReopenWorks();
        QCOMPARE(sim.Frames().mid(1), QStringList({"^M04%", "^X%", "^I%", "^X%", "^P%"}));
        QCOMPARE(messages.Texts(), QStringList({noLink, noPort}));
    }

    // The device goes while the port lies idle: the program does not spin on the dead
    // descriptor, and the next command that reaches the port finds the fault.
    void deviceGoneWhileIdle_data()
    {
        QTest::addColumn<bool>("dropFirst"); // the link was given up before the device went
        DataRow("link in use", false);
        DataRow("link already given up", true);
    }
    void deviceGoneWhileIdle()
    {
        QFETCH(bool, dropFirst);
        RecordingMessageService& messages = link->messages;
        StartSim(dropFirst ? QStringList{"silence forever"} : QStringList{});
        if (dropFirst) {
            link->protocol.SendCommand(QStringLiteral("C01"));
            QVERIFY(!link->protocol.linkOpen);
            QVERIFY(sim.Control(QStringLiteral("silence off")));
        }
        QVERIFY2(sim.Control(QStringLiteral("hangup")), qPrintable(sim.LastError()));
        const qsizetype frames = sim.Frames().size();
        const std::clock_t cpu = std::clock();
        QTest::qWait(1500);
        const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QVERIFY2(cpuSeconds < 0.3, qPrintable(QString::number(cpuSeconds)));
        QVERIFY(link->port.IsOpen()); // still held, as a handle to a vanished device
        QCOMPARE(link->protocol.linkOpen, !dropFirst);
        QCOMPARE(messages.messages.size(), dropFirst ? 1 : 0);

        link->protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(sim.Frames().size(), frames);
        QCOMPARE(messages.Texts(), QStringList{noLink});
        QVERIFY(!link->protocol.linkOpen);
        if (!dropFirst) {
            QCOMPARE(link->protocol.lastReply, QString());
            QVERIFY(!link->port.IsOpen());
        }
        VerifyReopenWorks();
        QCOMPARE(messages.Texts(), QStringList{noLink});
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
