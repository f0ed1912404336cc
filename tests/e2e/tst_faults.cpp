// SPDX-License-Identifier: MIT
// Faults on the line at real speed: the real link and port against r718-sim, one transaction
// under each fault, then the port closed and opened again as a technician would. Only what
// needs a real line is here, once each: replies split by the line, hang-ups, the late replies
// and the vanished device of the simulator. How the protocol recovers from NAKs, silence,
// garbage, late replies and port errors is tested on virtual time (tst_calibratorprotocol).

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

    // The port closed and opened again: the calibrator answers a live "P".
    void VerifyReopenWorks()
    {
        const qsizetype before = sim.Frames().size();
        link->protocol.CloseCalibratorPort();
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        QVERIFY(link->protocol.linkOpen);
        link->protocol.SendCommand(QStringLiteral("P"));
        static const QRegularExpression reading(QStringLiteral("^\\^[+-][0-9.]{7}%$"));
        QVERIFY2(reading.match(link->protocol.lastReply).hasMatch(),
                 qPrintable(link->protocol.lastReply));
        QCOMPARE(sim.Frames().mid(before), QStringList{"^P%"});
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
        DataRow("reply in three pieces within the read window", QStringList{"split 1 100"}, "^C02%",
                QString(), true, "^C02%");
        // "^" + "C0" within the window, "2%" after it: recovery reads the tail together
        // with the answer to "^I%", and the resend is answered whole.
        DataRow("reply tail after the read window", QStringList{"split 1 300"}, "^C02%^I%^C02%",
                QString(), true, "^C02%");
        DataRow("device gone after the first bytes of the frame", QStringList{"hangup-mid frame"},
                QString(), "^C", false, QString());
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
            QVERIFY2(sim.Control(QStringLiteral("ping")), qPrintable(sim.LastError()));
            QCOMPARE(sim.Frames().size(), frames);
        }

        VerifyReopenWorks();
        QCOMPARE(messages.messages.size(), linkAfter ? 0 : 1);
    }

    // A reply that comes after the 400 ms read: the late bytes wait in the real port's input
    // and must be cleared out, never taken for the next frame's reply (every acknowledgement
    // is its own command's, so a reply taken for another command's shows). Late replies of
    // every kind, and a calibrator always late, are tested on virtual time.
    void lateReply()
    {
        RecordingMessageService& messages = link->messages;
        StartSim({QStringLiteral("late 450")});
        for (const char* c : {"C05", "M04"}) {
            link->protocol.SendCommand(QString::fromLatin1(c));
            QCOMPARE(link->protocol.lastReply, QStringLiteral("^%1%").arg(QLatin1String(c)));
        }
        QCOMPARE(sim.Frames().mid(1, 2), QStringList({"^C05%", "^I%"})); // the first one late
        QVERIFY(link->protocol.linkOpen);
        QVERIFY(messages.messages.isEmpty());
        VerifyReopenWorks();
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
        QCOMPARE(sim.Frames().mid(1), QStringList({"^M04%", "^X%", "^P%"}));
        QCOMPARE(messages.Texts(), QStringList({noLink, noPort}));
    }

    // The device goes while the port lies idle: the program does not spin on the dead
    // descriptor, and the next command that reaches the port finds the fault.
    void deviceGoneWhileIdle()
    {
        RecordingMessageService& messages = link->messages;
        StartSim({});
        QVERIFY2(sim.Control(QStringLiteral("hangup")), qPrintable(sim.LastError()));
        const qsizetype frames = sim.Frames().size();
        const std::clock_t cpu = std::clock();
        QTest::qWait(1000);
        const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QVERIFY2(cpuSeconds < 0.2, qPrintable(QString::number(cpuSeconds)));
        QVERIFY(link->port.IsOpen()); // still held, as a handle to a vanished device
        QVERIFY(link->protocol.linkOpen);
        QVERIFY(messages.messages.isEmpty());

        link->protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(sim.Frames().size(), frames);
        QCOMPARE(messages.Texts(), QStringList{noLink});
        QVERIFY(!link->protocol.linkOpen);
        QCOMPARE(link->protocol.lastReply, QString());
        QVERIFY(!link->port.IsOpen());
        VerifyReopenWorks();
        QCOMPARE(messages.Texts(), QStringList{noLink});
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
