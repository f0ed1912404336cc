// SPDX-License-Identifier: MIT
// The control panel when the line fails while it polls: one message, no stale reading, a panel
// that still answers, and live readings again once the panel is closed and opened on a line
// that works. A calibrator that stops answering is the simulated one on virtual time (the
// protocol gives the link up at once); the device that hangs up or is pulled out is r718-sim
// on its pseudo-terminal at real speed.

#include "Child.h"
#include "DataRows.h"
#include "RecordingMessageService.h"
#include "SimLink.h"
#include "SimulatedCalibrator.h"
#include "core/link/CalibratorLink.h"
#include "core/link/NumberText.h"
#include "core/link/SerialDevice.h"
#include "ui/controls/ColorButton.h"
#include "ui/panel/CCalibratorPanelDlg.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/CSourceDisplay.h"
#include "ui/panel/MeterHalf.h"
#include "ui/panel/SourceHalf.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

const QString noLink = QStringLiteral("Brak komunikacji z portem COM.");
const QString noPort = QStringLiteral("Nie można otworzyć portu szeregowego.");
const QString closing =
    QStringLiteral("Czy chcesz zakończyć pracę z modułem sterowania kalibratora?");

// An error box stays up for a while, running its own event loop as a modal box does, so that
// the poll timer keeps firing under it. Counts the frames that reach the line meanwhile
// (`frameCount` set before the first box).
class ModalMessages : public RecordingMessageService
{
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override
    {
        const MessageAnswer answer =
            RecordingMessageService::Show(text, caption, icon, buttons, owner);
        if (icon == MessageIcon::Error) {
            const qsizetype before = frameCount();
            QTest::qWait(boxUpMs);
            framesUnderBox += frameCount() - before;
        }
        return answer;
    }

    static constexpr int boxUpMs = 700; // longer than a poll interval
    qsizetype framesUnderBox = 0;
    std::function<qsizetype()> frameCount;
};

double Value(const ReadoutContent& shown)
{
    const double magnitude = ParseNumber(shown.valueText);
    return shown.positive ? magnitude : -magnitude;
}

// Keypad keys by what they are: "7", "Point", "Enter"...
void Keys(CCalibratorPanelDlg& panel, const QStringList& keys)
{
    for (const QString& key : keys)
        Child<ColorButton>(panel, QStringLiteral("sourceKey_") + key)->click();
}

void Close(CCalibratorPanelDlg& panel, ModalMessages& messages)
{
    messages.answers = {MessageAnswer::Yes};
    panel.close();
    QVERIFY(!panel.isVisible());
    QCOMPARE(messages.messages.last().text, closing);
}

// Everything posted to the link so far carried out, and what reached the line taken in.
bool Settle(SimLink& line)
{
    return line.Settle();
}
bool Settle(SimulatedLink& line)
{
    line.Settle();
    return true;
}

// The panel opened on `sim`, a fault while it polls, and the panel opened again after the
// fault healed (see the data columns).
template <typename Line> void FaultWhilePolling(Line& sim, ModalMessages& messages);

} // namespace

class TestPanelFaults : public QObject
{
    Q_OBJECT

private slots:
    void faultWhilePolling_data();
    void faultWhilePolling();
};

void TestPanelFaults::faultWhilePolling_data()
{
    DataColumns<QStringList, QStringList>("fault", "heal");
    QTest::addColumn<QStringList>("wire"); // what reaches the line from the fault on
    QTest::addColumn<bool>("away");        // the device stays away until plugged in
    QTest::addColumn<QStringList>("keys"); // keypad keys that meet the fault first; none: a poll
    QTest::addColumn<bool>("realLine");    // r718-sim on its pseudo-terminal, else on virtual time
    const QStringList recovery{"^I%", "^I%", "^I%", "^I%", "^I%"};
    // The set-point fails while the poll timer runs on under the error box.
    DataRow("silence for ever, met by a set-point", QStringList{"silence forever"},
            QStringList{"silence off"}, QStringList{"^N+1.000%"} + recovery, false,
            QStringList{"1", "Enter"}, false);
    DataRow("NAK storm, met by a poll", QStringList{"nak 40"}, QStringList{"clear"},
            QStringList{"^P%"} + recovery, false, QStringList{}, false);
    DataRow("device gone before a poll's reply", QStringList{"hangup-mid reply"}, QStringList{},
            QStringList{"^P%"}, false, QStringList{}, true);
    DataRow("adapter pulled between polls, back when plugged in",
            QStringList{"stay-away on", "hangup"}, QStringList{"plug-in"}, QStringList{}, true,
            QStringList{}, true);
}

void TestPanelFaults::faultWhilePolling()
{
    QFETCH(bool, realLine);
    ModalMessages messages;
    if (realLine) {
        SimLink sim({}, 1, &messages);
        QVERIFY2(sim.Started(), qPrintable(sim.LastError()));
        FaultWhilePolling(sim, messages);
    } else {
        SimulatedLink sim(1, &messages);
        FaultWhilePolling(sim, messages);
    }
}

namespace {

template <typename Line> void FaultWhilePolling(Line& sim, ModalMessages& messages)
{
    QFETCH(QStringList, fault);
    QFETCH(QStringList, heal);
    QFETCH(QStringList, wire);
    QFETCH(bool, away);
    QFETCH(QStringList, keys);
    QFETCH(bool, realLine);
    messages.frameCount = [&sim] { return sim.Frames().size(); };
    CalibratorLink& link = sim.link;
    MeterHalf* meter = nullptr;

    {
        CCalibratorPanelDlg panel(link, messages);
        panel.show();
        QTRY_VERIFY(sim.Frames().size() >= 3);
        QVERIFY(link.LinkAlive());
        meter = Child<MeterHalf>(panel, "meterHalf");
        if (realLine) {
            // At real speed a live reading at the opening's 0 V in the 25 V range will do.
            QTRY_VERIFY_WITH_TIMEOUT(sim.Frames().contains(QStringLiteral("^P%")), 3000);
            QVERIFY(Settle(sim));
            QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().statusWord, QString());
        } else {
            // +40 mV out, read back in the 500 mV measure range (four commands and a poll
            // queued).
            Child<QAbstractButton>(panel, "sourceRange_50mV")->click();
            Keys(panel, {"4", "0", "Enter"});
            Child<QAbstractButton>(meter, "meterRange_500mV")->click();
            QTRY_VERIFY_WITH_TIMEOUT(
                qAbs(Value(Child<CMeterDisplay>(meter, "meterDisplay")->Shown()) - 40.0) < 0.1,
                3000);
        }

        const qsizetype mark = sim.Frames().size();
        for (const QString& c : fault)
            QVERIFY(sim.Control(c));
        Keys(panel, keys);
        QTRY_VERIFY_WITH_TIMEOUT(!link.LinkAlive(), 6000);
        // The panel polls on, but nothing more reaches the line.
        QSignalSpy polls(&panel.PollTimer(), &QTimer::timeout);
        QTRY_VERIFY(polls.size() >= 2);
        QVERIFY(Settle(sim));
        QCOMPARE(sim.Frames().mid(mark), wire);
        QCOMPARE(messages.Errors(), QStringList{noLink});
        QCOMPARE(messages.framesUnderBox, 0);
        QVERIFY(panel.PollTimer().isActive());
        // No stale reading and no zero that looks live: the readout says that nothing is
        // measured, and the source readout that its set-point does not reach the calibrator.
        QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().valueText,
                 QStringLiteral("- - - -"));
        QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().statusWord,
                 QStringLiteral("BRAK"));
        QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().rangeName,
                 realLine ? QStringLiteral("25V") : QStringLiteral("500mV"));
        QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().statusWord,
                 QStringLiteral("BRAK"));

        // The panel still answers: a set-point is taken and shown, and goes nowhere.
        const qsizetype dead = sim.Frames().size();
        Keys(panel, {"1", "2", "Enter"});
        QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().valueText,
                 QStringLiteral("12.000"));
        QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().statusWord,
                 QStringLiteral("BRAK"));
        QVERIFY(Settle(sim));
        QCOMPARE(sim.Frames().size(), dead);
        Close(panel, messages);
        QTRY_VERIFY(!link.PortOpen());
    }

    if (away) {
        // Opened while the device is still away: the port cannot be opened; the panel works
        // on its own and says nothing more about the link.
        CCalibratorPanelDlg panel(link, messages);
        panel.show();
        QTRY_COMPARE(messages.Errors(), QStringList({noLink, noPort}));
        QVERIFY(!link.LinkAlive());
        QSignalSpy polls(&panel.PollTimer(), &QTimer::timeout);
        QVERIFY(polls.wait());
        QVERIFY(Settle(sim));
        QCOMPARE(Child<CMeterDisplay>(panel, "meterDisplay")->Shown().valueText,
                 QStringLiteral("- - - -"));
        QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().statusWord,
                 QStringLiteral("BRAK"));
        Close(panel, messages);
    }

    for (const QString& c : heal)
        QVERIFY(sim.Control(c));
    const qsizetype mark = sim.Frames().size();
    {
        CCalibratorPanelDlg panel(link, messages);
        panel.show();
        QTRY_VERIFY(sim.Frames().size() >= mark + 3);
        QVERIFY(link.LinkAlive());
        QCOMPARE(sim.Frames().mid(mark, 3), QStringList({"^I%", "^X%", "^S1%"}));
        // Live again: a new set-point shows in the reading (at real speed, a reading).
        if (realLine) {
            QTRY_VERIFY_WITH_TIMEOUT(sim.Frames().mid(mark).contains(QStringLiteral("^P%")), 3000);
            QVERIFY(Settle(sim));
            QVERIFY(Child<CMeterDisplay>(panel, "meterDisplay")->Shown().valueText !=
                    QStringLiteral("- - - -"));
        } else {
            Keys(panel, {"2", "5", "Enter"});
            QTRY_VERIFY_WITH_TIMEOUT(
                qAbs(Value(Child<CMeterDisplay>(panel, "meterDisplay")->Shown()) - 25.0) < 0.1,
                3000);
            QVERIFY(sim.Frames().mid(mark).contains(QStringLiteral("^N+25.000%")));
        }
        QCOMPARE(Child<CMeterDisplay>(panel, "meterDisplay")->Shown().statusWord, QString());
        QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().statusWord,
                 QStringLiteral("OPR"));
        Close(panel, messages);
    }
    QCOMPARE(messages.Errors(), away ? QStringList({noLink, noPort}) : QStringList{noLink});
}

} // namespace

QTEST_MAIN(TestPanelFaults)
#include "tst_panelfaults.moc"
