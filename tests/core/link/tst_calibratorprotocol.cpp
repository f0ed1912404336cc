// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FakeLink.h"
#include "FakeSerialDevice.h"
#include "LaggingCalibrator.h"
#include "RecordingMessageService.h"
#include "core/link/CalibratorProtocol.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <optional>

// The calibrator protocol on a scripted port and virtual time: exact bytes on the wire, the
// pauses between them, acknowledgement, recovery and the messages the user sees.

namespace {

const QString noPortText = QStringLiteral("Nie można otworzyć portu szeregowego.");
// The device that COM<n> stands for here, as the link would have looked it up.
QString Device(int port)
{
    return QStringLiteral("/dev/ttyUSB%1").arg(port - 1);
}
const QString noLinkText = QStringLiteral("Brak komunikacji z portem COM.");

// The lines of the link trace written while it lives, without their times, instead of on
// standard error.
class TraceCapture
{
public:
    TraceCapture()
    {
        instance = this;
        previous = qInstallMessageHandler(Take);
        QLoggingCategory::setFilterRules(QStringLiteral("r718.link.debug=true"));
    }
    ~TraceCapture()
    {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        instance = nullptr;
    }

    QStringList lines;
    bool timesWellFormed = true; // every line begins with the time of day, to the millisecond

private:
    static void Take(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (qstrcmp(context.category, "r718.link") != 0) {
            instance->previous(type, context, message);
            return;
        }
        static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
        instance->timesWellFormed = instance->timesWellFormed && time.match(message).hasMatch();
        instance->lines << message.mid(13);
    }

    static inline TraceCapture* instance = nullptr;
    QtMessageHandler previous = nullptr;
};

// The empty reads after which replies still owed are no longer waited for.
QList<QByteArray> Quiet()
{
    return QList<QByteArray>(LinkProtocol::quietReadsToForgive, QByteArray());
}

QByteArray Repeat(const QByteArray& bytes, int times)
{
    QByteArray all;
    for (int i = 0; i < times; ++i)
        all += bytes;
    return all;
}

} // namespace

class TestCalibratorProtocol : public QObject
{
    Q_OBJECT

private:
    std::optional<FakeProtocol> opened;

    // A fresh fake link of the test's with COM1 open, the records of the opening forgotten.
    FakeProtocol& OpenedLink()
    {
        opened.reset(); // its message service goes before the new one comes
        opened.emplace();
        [this] {
            QVERIFY(opened->protocol.OpenCalibratorPort(1, Device(1)));
            QVERIFY(opened->protocol.linkOpen);
        }();
        opened->device.ClearRecords();
        return *opened;
    }

    static void VerifyErrorBox(const RecordingMessageService& messages, const QString& text)
    {
        QVERIFY(messages.OnlyError(text));
        QCOMPARE(messages.messages[0].buttons, MessageButtons::Ok);
    }

private slots:
    void cleanup() { opened.reset(); }

    void openAppliesTheLineSettingsAndTimeouts()
    {
        FakeProtocol link;
        QVERIFY(link.protocol.OpenCalibratorPort(3, Device(3)));
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(link.device.IsOpen());
        QCOMPARE(link.device.opens.size(), 1);
        // The device the caller named, 9600 8N1 without flow control; the read waits 400 ms
        // in all (a write never times out: SerialDevice.h).
        const FakeSerialDevice::OpenRecord& o = link.device.opens[0];
        QCOMPARE(o.path, Device(3));
        QCOMPARE(o.settings.baudRate, 9600);
        QCOMPARE(o.settings.parity, QSerialPort::NoParity);
        QCOMPARE(o.settings.dataBits, QSerialPort::Data8);
        QCOMPARE(o.settings.stopBits, QSerialPort::OneStop);
        QCOMPARE(o.settings.flowControl, QSerialPort::NoFlowControl);
        QCOMPARE(o.settings.readTimeoutMs, 400);
        QVERIFY(link.messages.messages.isEmpty());
        QVERIFY(link.device.writes.isEmpty());
    }

    void commandGoesOutFramedByteByByte()
    {
        FakeProtocol& link = OpenedLink();
        link.device.replies = {"%"};
        link.protocol.SendCommand(QStringLiteral("C02"));

        QCOMPARE(link.device.Written(), QByteArray("^C02%"));
        QCOMPARE(link.device.writes.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(link.device.writes[i].bytes.size(), 1);
            QCOMPARE(link.device.writes[i].at, qint64(20 * i));
        }
        // The pause follows the last byte too; the read then waits its full 400 ms.
        QCOMPARE(link.device.readTimes, QList<qint64>{100});
        QCOMPARE(link.device.readCount, 1);
        QCOMPARE(link.clock.now, qint64(500));
        QCOMPARE(link.clock.sleeps, QList<int>(5, 20));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("%"));
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(link.messages.messages.isEmpty());
    }

    void replyAcceptance_data()
    {
        DataColumns<QByteArray, bool>("reply", "accepted");
        DataRow("percent alone", QByteArray("%"), true);
        DataRow("reading with percent", QByteArray("+12.345 mV%"), true);
        DataRow("percent not at the end", QByteArray("%ok"), true);
        DataRow("percent and NAK", QByteArray("%\x15"), false);
        DataRow("NAK before percent", QByteArray("\x15%"), false);
        DataRow("NAK alone", QByteArray("\x15"), false);
        DataRow("no percent", QByteArray("OK"), false);
        DataRow("nothing", QByteArray(), false);
        DataRow("percent behind a zero byte", QByteArray("12\0%", 4), true);
    }
    void replyAcceptance()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, accepted);
        FakeProtocol& link = OpenedLink();
        link.device.replies = {reply}; // then silence
        link.protocol.SendCommand(QStringLiteral("P"));

        if (accepted) {
            QCOMPARE(link.device.Written(), QByteArray("^P%"));
            QCOMPARE(link.device.readCount, 1);
            QVERIFY(link.protocol.linkOpen);
            QVERIFY(link.messages.messages.isEmpty());
        } else {
            // Five recovery frames, each read answered by silence, then the message.
            QCOMPARE(link.device.Written(), "^P%" + Repeat("^I%", 5));
            QCOMPARE(link.device.readCount, 6);
            QVERIFY(!link.protocol.linkOpen);
            QVERIFY(link.protocol.noLinkReported);
            VerifyErrorBox(link.messages, noLinkText);
            // Frame 60 ms + read 400 ms, five times over after the command's own 460 ms.
            QCOMPARE(link.clock.now, qint64(60 + 400 + 5 * (60 + 400)));
        }
    }

    void silenceIsRejectedAfterAnEarlierGoodReply()
    {
        FakeProtocol& link = OpenedLink();
        link.device.replies = {"12.5%"};
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("12.5%"));
        QVERIFY(link.messages.messages.isEmpty());

        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.device.Written(), "^P%^P%" + Repeat("^I%", 5));
        QCOMPARE(link.protocol.lastReply, QString());
        QVERIFY(!link.protocol.linkOpen);
        VerifyErrorBox(link.messages, noLinkText);
    }

    void recovery_data()
    {
        DataColumns<QList<QByteArray>, QByteArray, bool, QString>("replies", "wire", "success",
                                                                  "reply");

        // A frame left unanswered (an empty read) owes its reply: before the command goes out
        // again the line must stay quiet for a few reads, the calibrator having dropped it.
        const QByteArray frame("^S1%");
        const QList<QByteArray> quiet = Quiet();
        DataRow("first attempt", QList<QByteArray>{"\x15", "^I%", "%"}, frame + "^I%" + frame, true,
                "%");
        DataRow("fifth attempt",
                QList<QByteArray>{"", "", "", "", "", "^I%"} + quiet + QList<QByteArray>{"1%"},
                frame + Repeat("^I%", 5) + frame, true, "1%");
        DataRow("recovery acknowledged but resend refused each time",
                QList<QByteArray>{"", "^I%"} + quiet + QList<QByteArray>{"\x15", "^I%", "", "^I%"} +
                    quiet + QList<QByteArray>{"x", "^I%"} + quiet +
                    QList<QByteArray>{"%\x15", "^I%", ""},
                frame + Repeat("^I%" + frame, 5), false, "");
        // The last refused reply looks like a reading; it must not be taken for one.
        DataRow("noise in the last read", QList<QByteArray>{"", "", "", "", "", "+12.5"},
                frame + Repeat("^I%", 5), false, "");
        QList<QByteArray> refusedResends{""};
        for (int attempt = 1; attempt <= 5; ++attempt)
            refusedResends << "^I%" << quiet << (attempt < 5 ? "" : "ok%");
        DataRow("refused resends then success in the fifth attempt", refusedResends,
                frame + Repeat("^I%" + frame, 5), true, "ok%");
        // A NAK owes nothing: recovery goes on at once.
        const QByteArray nak("\x15");
        DataRow("five NAKs, the fifth recovery attempt answered",
                QList<QByteArray>(5, nak) + QList<QByteArray>{"^I%", "^S1%"},
                frame + Repeat("^I%", 5) + frame, true, "^S1%");
        DataRow("garbage, then recovered",
                QList<QByteArray>{"J7#q!x", "^I%"} + quiet + QList<QByteArray>{"%"},
                frame + "^I%" + frame, true, "%");
        DataRow("six NAKs", QList<QByteArray>(6, nak), frame + Repeat("^I%", 5), false, "");
        DataRow("six garbage replies", QList<QByteArray>(6, "J7#q!x"), frame + Repeat("^I%", 5),
                false, "");
    }
    void recovery()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QByteArray, wire);
        QFETCH(bool, success);
        QFETCH(QString, reply);
        FakeProtocol& link = OpenedLink();
        link.protocol.noLinkReported = true; // an earlier episode's message
        link.device.replies = replies;
        link.protocol.SendCommand(QStringLiteral("S1"));

        QCOMPARE(link.device.Written(), wire);
        QCOMPARE(link.protocol.lastReply, reply);
        QCOMPARE(link.protocol.linkOpen, success);
        // A success in recovery ends the episode; a failure shows nothing more this episode.
        QCOMPARE(link.protocol.noLinkReported, !success);
        QVERIFY(link.messages.messages.isEmpty());
        for (const FakeSerialDevice::WriteRecord& w : link.device.writes)
            QCOMPARE(w.bytes.size(), 1);
        QCOMPARE(link.clock.sleeps, QList<int>(wire.size(), 20));
    }

    void linkDownWritesNothingAndKeepsTheReply()
    {
        FakeProtocol& link = OpenedLink();
        link.protocol.linkOpen = false;
        link.protocol.lastReply = QStringLiteral("+1.000%");
        link.device.replies = {"%"};
        link.protocol.SendCommand(QStringLiteral("P"));
        QVERIFY(link.device.writes.isEmpty());
        QCOMPARE(link.device.readCount, 0);
        QCOMPARE(link.protocol.lastReply, QStringLiteral("+1.000%"));
        QCOMPARE(link.clock.now, qint64(0));
        QVERIFY(link.messages.messages.isEmpty());
    }

    void messageOncePerEpisode()
    {
        FakeProtocol& link = OpenedLink();
        link.protocol.SendCommand(QStringLiteral("X")); // silence: the episode starts
        VerifyErrorBox(link.messages, noLinkText);
        QVERIFY(!link.protocol.linkOpen);

        // The dropped link sends nothing, even though the port is still open.
        link.device.ClearRecords();
        link.protocol.SendCommand(QStringLiteral("X"));
        QVERIFY(link.device.writes.isEmpty());

        // Within one opening a later failure is not told again.
        QVERIFY(link.protocol.OpenCalibratorPort(1, Device(1))); // still open: nothing changes
        link.protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link.messages.messages.size(), 1);

        // A port opened anew starts a new episode: the window that opened it is told again,
        // so its commands are never dropped without a word (meter check, port test).
        QVERIFY(link.protocol.CloseCalibratorPort());
        QVERIFY(link.protocol.OpenCalibratorPort(1, Device(1)));
        QVERIFY(!link.protocol.noLinkReported);
        link.protocol.SendCommand(QStringLiteral("X"));
        QVERIFY(!link.protocol.linkOpen);
        QCOMPARE(link.messages.Texts(), QStringList({noLinkText, noLinkText}));

        // A success during recovery ends the episode; the next failure is reported again.
        QVERIFY(link.protocol.CloseCalibratorPort());
        QVERIFY(link.protocol.OpenCalibratorPort(1, Device(1)));
        link.device.replies = QList<QByteArray>{"", "^I%"} + Quiet() + QList<QByteArray>{"%"};
        link.protocol.noLinkReported = true;
        link.protocol.SendCommand(QStringLiteral("X"));
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(!link.protocol.noLinkReported);
        link.protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link.messages.Texts(), QStringList({noLinkText, noLinkText, noLinkText}));
    }

    void openOnAnOpenPortChangesNothing()
    {
        FakeProtocol& link = OpenedLink();
        link.protocol.SendCommand(QStringLiteral("I")); // fails: the link is dropped
        QVERIFY(!link.protocol.linkOpen);
        link.messages.messages.clear();

        QVERIFY(link.protocol.OpenCalibratorPort(2, Device(2)));
        QVERIFY(!link.protocol.linkOpen); // stays dropped until the port is closed and opened again
        QVERIFY(link.device.opens.isEmpty());
        QVERIFY(link.messages.messages.isEmpty());
    }

    void closeOnAClosedPort()
    {
        FakeProtocol link;
        QVERIFY(link.protocol.CloseCalibratorPort());
        QVERIFY(link.protocol.CloseCalibratorPort());
        QVERIFY(link.messages.messages.isEmpty());
        QVERIFY(!link.device.IsOpen());
    }

    void commandOnAClosedPortFailsSilently()
    {
        FakeProtocol& link = OpenedLink();
        link.protocol.lastReply = QStringLiteral("+2.000%");
        QVERIFY(link.protocol.CloseCalibratorPort());
        QVERIFY(link.protocol.linkOpen); // closing does not touch the flag
        link.protocol.SendCommand(QStringLiteral("S0"));
        QVERIFY(link.device.writes.isEmpty());
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(!link.protocol.noLinkReported);
        QCOMPARE(link.protocol.lastReply, QStringLiteral("+2.000%"));
        QVERIFY(link.messages.messages.isEmpty());
    }

    void portErrorDropsTheLink_data()
    {
        DataColumns<int, int, int, QByteArray>("failOnWrite", "failOnRead", "failOnDiscard",
                                               "firstReply");
        DataColumns<QByteArray, bool>("wire", "reportedBefore");
        // "^X%" is writes 1-3 and read 1; recovery "^I%" writes 4-6 and read 2; the resend
        // writes 7-9 and read 3. The input is cleared before each frame's last byte.
        const QByteArray nak("\x15");
        DataRow("first byte", 1, 0, 0, nak, QByteArray(), false);
        DataRow("last byte", 3, 0, 0, nak, QByteArray("^X"), false);
        DataRow("input cleared before the last byte", 0, 0, 1, nak, QByteArray("^X"), false);
        DataRow("first read", 0, 1, 0, nak, QByteArray("^X%"), false);
        DataRow("recovery frame", 5, 0, 0, nak, QByteArray("^X%^"), false);
        DataRow("recovery read", 0, 2, 0, nak, QByteArray("^X%^I%"), false);
        DataRow("resend", 8, 0, 0, nak, QByteArray("^X%^I%^"), false);
        DataRow("resend read", 0, 3, 0, nak, QByteArray("^X%^I%^X%"), false);
        // The first frame's reply is owed, and read for before the resend.
        DataRow("read for a reply owed", 0, 3, 0, QByteArray(), QByteArray("^X%^I%"), false);
        DataRow("message shown already in this episode", 0, 1, 0, nak, QByteArray("^X%"), true);
    }
    void portErrorDropsTheLink()
    {
        QFETCH(int, failOnWrite);
        QFETCH(int, failOnRead);
        QFETCH(int, failOnDiscard);
        QFETCH(QByteArray, firstReply);
        QFETCH(QByteArray, wire);
        QFETCH(bool, reportedBefore);
        FakeProtocol& link = OpenedLink();
        link.protocol.noLinkReported = reportedBefore;
        link.protocol.lastReply = QStringLiteral("^+0002.000%"); // a reading from before the fault
        link.device.failOnWrite = link.device.writeCount + failOnWrite;
        link.device.failOnRead = failOnRead;
        link.device.failOnDiscard =
            failOnDiscard > 0 ? link.device.discardCount + failOnDiscard : 0;
        link.device.replies = {firstReply, "^I%", "%"};
        const int closesBefore = link.device.closeCount;
        link.protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link.device.Written(), wire);
        // The old reading does not outlive the fault, and the port is closed.
        QCOMPARE(link.protocol.lastReply, QString());
        QVERIFY(!link.device.IsOpen());
        QCOMPARE(link.device.closeCount, closesBefore + 1);
        QVERIFY(!link.protocol.linkOpen);
        QVERIFY(link.protocol.noLinkReported);
        if (reportedBefore)
            QVERIFY(link.messages.messages.isEmpty());
        else
            VerifyErrorBox(link.messages, noLinkText);

        // Later commands are dropped without another word.
        link.device.ClearRecords();
        link.protocol.SendCommand(QStringLiteral("S1"));
        QVERIFY(link.device.writes.isEmpty());
        QCOMPARE(link.messages.messages.size(), reportedBefore ? 0 : 1);

        // Opening again really opens the device, and the link works.
        QVERIFY(link.protocol.OpenCalibratorPort(1, Device(1)));
        QCOMPARE(link.device.opens.size(), 1);
        QVERIFY(link.protocol.linkOpen);
        link.device.replies = {"^S1%"};
        link.protocol.SendCommand(QStringLiteral("S1"));
        QCOMPARE(link.device.Written(), QByteArray("^S1%"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("^S1%"));
        QCOMPARE(link.messages.messages.size(), reportedBefore ? 0 : 1);
    }

    // A reply that came too late for its read waits in the input. Nothing that comes in before
    // a frame is complete can answer it, and the frame that follows it cannot be sure of its
    // own reply: the transaction goes through recovery.
    void lateBytesNeverTakenForTheReply_data()
    {
        QTest::addColumn<qsizetype>("arrivesAfter"); // bytes of "^P%" written when it comes in
        DataRow("waiting before the frame", qsizetype(0));
        DataRow("coming in while the frame is paced out", qsizetype(2));
    }
    void lateBytesNeverTakenForTheReply()
    {
        QFETCH(qsizetype, arrivesAfter);
        FakeProtocol& link = OpenedLink();
        link.device.arrivals = {{arrivesAfter, "^I%"}};
        link.device.replies = {"^+001.000%", "^I%", "^+002.000%"};
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("^+002.000%"));
        QCOMPARE(link.device.Written(), QByteArray("^P%^I%^P%"));
        QVERIFY(link.messages.messages.isEmpty());
    }

    // The window that sent a command has gone: the transaction ends before its next frame,
    // never inside one, without a word and with the link as it was.
    void interruptedBetweenFrames_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<int>("allowed"); // checks that let the transaction go on
        QTest::addColumn<QByteArray>("wire");
        DataRow("before the first recovery frame", QList<QByteArray>{}, 0, QByteArray("^X%"));
        DataRow("before the resend", QList<QByteArray>{"", "%"}, 1, QByteArray("^X%^I%"));
    }
    void interruptedBetweenFrames()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, allowed);
        QFETCH(QByteArray, wire);
        FakeProtocol& link = OpenedLink();
        link.device.replies = replies;
        int checks = 0;
        link.protocol.interrupted = [&checks, allowed] { return checks++ >= allowed; };
        link.protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link.device.Written(), wire);
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(!link.protocol.noLinkReported);
        QVERIFY(link.messages.messages.isEmpty());
    }

    // The trace says what went over the line and what became of the transaction.
    void traceTellsTheOutcome_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<QByteArray>("late"); // waiting in the input before the frame
        DataColumns<int, QStringList>("failOnRead", "trace");
        const QString recovery = QStringLiteral("recovery attempt %1 of 5");
        DataRow("late reply discarded", QList<QByteArray>{"^+2.000%", "^I%", "^+2.000%"},
                QByteArray("^+1.000%\r"), 0,
                QStringList{"discarded before the frame's last byte: ^+1.000%<0D>", "sent ^P%",
                            "received ^+2.000%: not taken, the line was not clear before its "
                            "frame",
                            recovery.arg(1), "sent ^I%", "received ^I%: accepted", "sent ^P%",
                            "received ^+2.000%: accepted"});
        DataRow("NAK, then recovered",
                QList<QByteArray>{"\x15", "+", "%"} + Quiet() + QList<QByteArray>{"%"},
                QByteArray(), 0,
                QStringList{"sent ^P%", "received <15>: refused, NAK", recovery.arg(1), "sent ^I%",
                            "received +: refused, no %", recovery.arg(2), "sent ^I%",
                            "received %: accepted", "waiting for 1 reply owed by earlier frames",
                            "line quiet: the owed replies are not coming", "sent ^P%",
                            "received %: accepted"});
        QStringList givenUp{"sent ^P%", "received nothing: refused"};
        for (int attempt = 1; attempt <= 5; ++attempt)
            givenUp << recovery.arg(attempt) << "sent ^I%"
                    << "received nothing: refused";
        givenUp << "given up after 5 recovery attempts";
        DataRow("given up", QList<QByteArray>{}, QByteArray(), 0, givenUp);
        DataRow(
            "port error", QList<QByteArray>{}, QByteArray(), 1,
            QStringList{"sent ^P%", "port error: " + QString::fromLocal8Bit(std::strerror(EIO)) +
                                        "; port closed, link given up"});
    }
    void traceTellsTheOutcome()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QByteArray, late);
        QFETCH(int, failOnRead);
        QFETCH(QStringList, trace);
        FakeProtocol& link = OpenedLink();
        link.device.replies = replies;
        if (!late.isEmpty())
            link.device.arrivals = {{0, late}};
        link.device.failOnRead = failOnRead;
        TraceCapture captured;
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(captured.lines, trace);
        QVERIFY(captured.timesWellFormed);
    }

    // Replies that lag behind their frames, from on time to three reads late, from a
    // calibrator that answers each frame after the delay or one that is busy while it waits:
    // every reply taken is the one its own frame got, and when the replies come too late for
    // their reads the link is given up with the one message. With the second point's set-point
    // refused (and acknowledgements that all look alike, "<06>%") it is never taken.
    void lateRepliesNeverTakenForAnotherFrames_data()
    {
        DataColumns<int, bool, bool>("delayMs", "refuseSecondPoint", "busy");
        for (int delay = 0; delay <= 1200; delay += 50)
            for (const bool refuse : {false, true})
                for (const bool busy : {false, true})
                    QTest::addRow("%d ms%s%s", delay, refuse ? ", N4.000 refused" : "",
                                  busy ? ", busy while late" : "")
                        << delay << refuse << busy;
    }
    void lateRepliesNeverTakenForAnotherFrames()
    {
        QFETCH(int, delayMs);
        QFETCH(bool, refuseSecondPoint);
        QFETCH(bool, busy);
        RecordingMessageService messages;
        VirtualClock clock;
        int polls = 0;
        LaggingCalibrator calibrator(
            clock, delayMs,
            [&](const QByteArray& command) {
                if (command == "P")
                    return "^+00" + QByteArray::number(++polls) + ".000%";
                if (!refuseSecondPoint)
                    return '^' + command + '%';
                return QByteArray(command == "N4.000" ? "\x15%" : "\x06%");
            },
            busy);
        CalibratorProtocol protocol(calibrator, clock);
        protocol.notify = [&messages](CalibratorProtocol::Notice notice) {
            messages.ShowError(NoticeText(notice));
        };
        QVERIFY(protocol.OpenCalibratorPort(1, Device(1)));

        for (const char* command : {"I", "S1", "C05", "N2.000", "P", "N4.000", "P"}) {
            protocol.SendCommand(QString::fromLatin1(command));
            if (!protocol.linkOpen)
                break;
            QVERIFY2(qstrcmp(command, "N4.000") != 0 || !refuseSecondPoint,
                     "a refused set-point was taken");
            QCOMPARE(protocol.lastReply, QString::fromLatin1(calibrator.LastReplyTo(command)));
        }
        // On time the run completes; too late for the read, it stops with the message.
        if (delayMs <= 350 && !refuseSecondPoint)
            QVERIFY(protocol.linkOpen);
        QCOMPARE(messages.Texts(), protocol.linkOpen ? QStringList() : QStringList{noLinkText});
    }

    // A calibrator late with a reply or two, then on time again (busy while late, as
    // r718-sim is): the set-points and polls go on through recovery, no reading taken from
    // another frame, no message.
    void aFewLateRepliesThenOnTime_data()
    {
        DataColumns<int, int>("delayMs", "late");
        DataRow("one reply 450 ms late", 450, 1);
        DataRow("one reply 1 s late", 1000, 1);
        DataRow("two replies 450 ms late", 450, 2);
        DataRow("two replies 1 s late", 1000, 2);
    }
    void aFewLateRepliesThenOnTime()
    {
        QFETCH(int, delayMs);
        QFETCH(int, late);
        RecordingMessageService messages;
        VirtualClock clock;
        int volts = 1;
        LaggingCalibrator calibrator(
            clock, delayMs,
            [&volts](const QByteArray& command) {
                if (command.startsWith('N'))
                    volts = command.mid(2, 1).toInt();
                return command == "P" ? "^+00" + QByteArray::number(volts) + ".000%"
                                      : '^' + command + '%';
            },
            true);
        calibrator.lateReplies = 0;
        CalibratorProtocol protocol(calibrator, clock);
        protocol.notify = [&messages](CalibratorProtocol::Notice notice) {
            messages.ShowError(NoticeText(notice));
        };
        QVERIFY(protocol.OpenCalibratorPort(1, Device(1)));
        for (const char* c : {"C05", "M04", "S1", "N+1.000"})
            protocol.SendCommand(QString::fromLatin1(c));
        calibrator.lateReplies = late; // from the next poll on
        for (int v = 1; v <= 3; ++v) {
            if (v > 1)
                protocol.SendCommand(QStringLiteral("N+%1.000").arg(v));
            protocol.SendCommand(QStringLiteral("P"));
            QCOMPARE(protocol.lastReply, QStringLiteral("^+00%1.000%").arg(v));
        }
        QVERIFY(protocol.linkOpen);
        QVERIFY(messages.messages.isEmpty());
    }

    void zeroByteEndsTheReplyText()
    {
        FakeProtocol& link = OpenedLink();
        link.device.replies = {QByteArray("+1.25\0junk%", 11)};
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("+1.25"));
        QCOMPARE(link.device.readCount, 1); // the "%" behind the zero still acknowledges
    }

    void replyIsReadIntoFiftyBytes()
    {
        FakeProtocol& link = OpenedLink();
        const QByteArray fifty = QByteArray(49, '7') + '%';
        link.device.replies = QList<QByteArray>{fifty, QByteArray(50, '7') + '%', "%"} + Quiet() +
                              QList<QByteArray>{"%"};
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.protocol.lastReply, QString::fromLatin1(fifty));
        QCOMPARE(link.device.Written(), QByteArray("^P%"));

        // A "%" in the 51st byte is not read: the reply is refused and recovery runs.
        link.device.ClearRecords();
        link.protocol.SendCommand(QStringLiteral("P"));
        QCOMPARE(link.device.Written(), QByteArray("^P%^I%^P%"));
        QVERIFY(link.messages.messages.isEmpty());
    }

    void failedOpenIsReported_data()
    {
        DataColumns<int, int, int>("openError", "configureError", "failOnDiscard");
        QTest::addColumn<QString>("reason"); // in the message's detail
        DataRow("missing device", ENOENT, 0, 0, "nie jest podłączone");
        DataRow("port held by another program", EBUSY, 0, 0, "jest zajęte");
        DataRow("line settings refused", 0, EINVAL, 0,
                QString::fromLocal8Bit(std::strerror(EINVAL)));
        DataRow("input not cleared", 0, 0, 1, QString::fromLocal8Bit(std::strerror(EIO)));
    }
    void failedOpenIsReported()
    {
        QFETCH(int, openError);
        QFETCH(int, configureError);
        QFETCH(int, failOnDiscard);
        QFETCH(QString, reason);
        FakeProtocol link;
        link.protocol.linkOpen = true;
        link.device.openError = openError;
        link.device.configureError = configureError;
        link.device.failOnDiscard = failOnDiscard;
        QVERIFY(!link.protocol.OpenCalibratorPort(1, Device(1)));
        QVERIFY(!link.protocol.linkOpen);
        VerifyErrorBox(link.messages, noPortText);
        QVERIFY2(link.protocol.noticeDetail.contains(Device(1) + QStringLiteral(" (port COM1)")) &&
                     link.protocol.noticeDetail.contains(reason),
                 qPrintable(link.protocol.noticeDetail));
        // A port that opened but could not be set up is not left open half-configured.
        QVERIFY(!link.device.IsOpen());

        // The next open really tries again, and succeeds once the fault is gone.
        link.device.openError = link.device.configureError = link.device.failOnDiscard = 0;
        QVERIFY(link.protocol.OpenCalibratorPort(1, Device(1)));
        QCOMPARE(link.device.opens.size(), 2);
        QVERIFY(link.protocol.linkOpen);
        QCOMPARE(link.device.opens[1].settings.readTimeoutMs, 400);
        QCOMPARE(link.messages.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCalibratorProtocol)
#include "tst_calibratorprotocol.moc"
