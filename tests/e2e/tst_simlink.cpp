// SPDX-License-Identifier: MIT
// The calibrator link at real speed against r718-sim on a pseudo-terminal. How it recovers
// from NAKs, garbage and silence, and gives up with one message, is tested on virtual time
// (tst_calibratorprotocol).

#include "DataRows.h"
#include "PortProtocol.h"
#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/link/PortMap.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"

#include <QTest>
#include <QThread>

#include <memory>

namespace {

const QString noLink = QStringLiteral("Brak komunikacji z portem COM.");

} // namespace

class TestSimLink : public QObject
{
    Q_OBJECT

private:
    SimProcess sim;
    std::unique_ptr<PortProtocol> link;

    void StartSim(const QStringList& options = {})
    {
        QVERIFY2(sim.Start(options), qPrintable(sim.LastError()));
        sim.MapPort(1);
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        QVERIFY(link->protocol.linkOpen);
    }

private slots:
    void init() { link = std::make_unique<PortProtocol>(); }
    void cleanup()
    {
        link.reset();
        sim.Stop();
    }

    void plainCommandIsAccepted()
    {
        RecordingMessageService& messages = link->messages;
        StartSim();
        link->protocol.SendCommand(QStringLiteral("C01"));
        QCOMPARE(link->protocol.lastReply, QStringLiteral("^C01%"));
        QVERIFY(link->protocol.linkOpen);
        QCOMPARE(sim.Frames(), QStringList{"^C01%"});
        QVERIFY(messages.messages.isEmpty());
    }

    void pollReading_data()
    {
        DataColumns<QStringList, QString>("commands", "control");
        QTest::addColumn<double>("value");  // signed, in the measure range's unit
        QTest::addColumn<QString>("shown"); // the readout's text when it is a mark
        DataRow("12.5 mV looped back into the 25 V range",
                QStringList{"C01", "N+12.500", "S1", "M04"}, QString(), 0.0125, QString());
        DataRow("negative millivolts", QStringList{"C01", "N-40.000", "S1", "M01"}, QString(),
                -40.0, QString());
        DataRow("over-range", QStringList{}, "over-range on", 0.0, QString(6, QChar(0x2014)));
    }
    void pollReading()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, control);
        QFETCH(double, value);
        QFETCH(QString, shown);
        StartSim();
        if (!control.isEmpty())
            QVERIFY2(sim.Control(control), qPrintable(sim.LastError()));
        for (const QString& c : commands) {
            link->protocol.SendCommand(c);
            QCOMPARE(link->protocol.lastReply, '^' + c + '%');
        }
        link->protocol.SendCommand(QStringLiteral("P"));
        // The panel's own reading of the reply.
        PanelMeterState panel;
        ParseReading(link->protocol.lastReply, 3, panel);
        if (!shown.isEmpty()) {
            QCOMPARE(panel.meterText, shown);
            return;
        }
        // Within the noise and the last digit of the range.
        QVERIFY2(qAbs(SignedReading(panel) - value) <= 0.0025,
                 qPrintable(link->protocol.lastReply));
    }

    void portClosedAndOpenedAgain()
    {
        StartSim();
        link->protocol.SendCommand(QStringLiteral("X"));
        link->protocol.CloseCalibratorPort();
        QThread::msleep(50);
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        link->protocol.SendCommand(QStringLiteral("S1"));
        QCOMPARE(link->protocol.lastReply, QStringLiteral("^S1%"));
        QCOMPARE(sim.Frames(), QStringList({"^X%", "^S1%"}));
    }

    void reopenAfterHangUp()
    {
        RecordingMessageService& messages = link->messages;
        StartSim();
        link->protocol.SendCommand(QStringLiteral("X"));
        QVERIFY2(sim.Control(QStringLiteral("hangup")), qPrintable(sim.LastError()));
        // The line is gone under the open port: the link is dropped with one message.
        link->protocol.SendCommand(QStringLiteral("C01"));
        QCOMPARE(messages.Texts(), QStringList{noLink});
        QVERIFY(!link->protocol.linkOpen);

        link->protocol.CloseCalibratorPort();
        QVERIFY(link->protocol.OpenCalibratorPort(1, PortDevicePath(1)));
        link->protocol.SendCommand(QStringLiteral("S1"));
        QCOMPARE(link->protocol.lastReply, QStringLiteral("^S1%"));
        const QList<SimLogEntry> log = sim.Log();
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.first().frame, QStringLiteral("^X%"));
        QCOMPARE(log.last().frame, QStringLiteral("^S1%"));
        QVERIFY(std::any_of(log.begin(), log.end(),
                            [](const SimLogEntry& e) { return e.action == "hangup"; }));
    }
};

QTEST_GUILESS_MAIN(TestSimLink)
#include "tst_simlink.moc"
