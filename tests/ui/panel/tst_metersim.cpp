// SPDX-License-Identifier: MIT
// The measure half of an opened panel against r718-sim at real speed: the poll keeps its
// cadence while readings reach the readout, HOLD and the statistics.

#include "Child.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "SimLink.h"
#include "core/link/CalibratorLink.h"
#include "core/link/NumberText.h"
#include "ui/controls/ColorButton.h"
#include "ui/panel/CCalibratorPanelDlg.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/CParamDlg.h"
#include "ui/panel/MeterHalf.h"
#include "ui/panel/SourceHalf.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestMeterSim : public QObject
{
    Q_OBJECT

private slots:
    void pollCadenceWithReadingsHoldAndStatistics();
};

namespace {

double Value(const ReadoutContent& shown)
{
    const double magnitude = ParseNumber(shown.valueText);
    return shown.positive ? magnitude : -magnitude;
}

} // namespace

void TestMeterSim::pollCadenceWithReadingsHoldAndStatistics()
{
    SimLink sim;
    RecordingMessageService& messages = sim.messages;
    QVERIFY2(sim.Started(), qPrintable(sim.LastError()));
    CalibratorLink& link = sim.link;

    CCalibratorPanelDlg panel(link, messages);
    panel.show();
    QTRY_COMPARE(sim.Frames().mid(0, 3), QStringList({"^I%", "^X%", "^S1%"}));
    QVERIFY(link.LinkAlive());
    MeterHalf* meter = Child<MeterHalf>(panel, "meterHalf");
    auto field = [meter](const char* name) { return Child<QLabel>(meter, name)->text(); };

    // Source -12.5 mV, looped back into the 50 mV measure range (four commands and a poll
    // queued).
    Child<QAbstractButton>(panel, "sourceRange_50mV")->click();
    for (const char* key : {"Sign", "1", "2", "Point", "5", "Enter"})
        Child<ColorButton>(panel, QStringLiteral("sourceKey_") + QLatin1String(key))->click();
    Child<QAbstractButton>(meter, "meterRange_50mV")->click();
    QTRY_VERIFY_WITH_TIMEOUT(
        qAbs(Value(Child<CMeterDisplay>(meter, "meterDisplay")->Shown()) + 12.5) < 0.1, 6000);
    QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().unit, QStringLiteral("mV"));

    // A four-second averaging window (the default is ten), entered as the operator does.
    bool paramDialogSeen = false;
    OnModal<CParamDlg>(paramDialogSeen, [](CParamDlg* dialog) {
        Child<QLineEdit>(dialog, "valueEdit")->setText(QStringLiteral("4"));
        dialog->accept();
    });
    Child<ColorButton>(meter, "meterAvgButton")->click();
    QVERIFY(paramDialogSeen);
    QTest::keyClick(&panel, Qt::Key_R);
    const qsizetype entriesAtReset = sim.Log().size();

    // Two seconds of live readings (four polls logged), then HOLD until the averaging window
    // ends.
    const auto pollsSinceReset = [&sim, entriesAtReset] {
        return sim.Log().mid(entriesAtReset).size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(pollsSinceReset() >= 4, 4000);
    QVERIFY(qAbs(ParseNumber(field("meterMin")) + 12.5) < 0.1);
    QVERIFY(qAbs(ParseNumber(field("meterMax")) + 12.5) < 0.1);
    QVERIFY(ParseNumber(field("meterMin")) <= ParseNumber(field("meterMax")));
    QCOMPARE(field("meterAverage"), QStringLiteral("0.000")); // the window is still open

    QTest::keyClick(&panel, Qt::Key_H);
    const ReadoutContent held = Child<CMeterDisplay>(meter, "meterDisplay")->Shown();
    QCOMPARE(held.statusWord, QStringLiteral("HOLD"));
    const QString spreadAtHold = field("meterSpread");
    QTRY_VERIFY_WITH_TIMEOUT(field("meterAverage") != QStringLiteral("0.000"), 5000);

    // The readout stayed on the held text while the statistics took the new readings.
    QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().valueText, held.valueText);
    QCOMPARE(Child<CMeterDisplay>(meter, "meterDisplay")->Shown().statusWord,
             QStringLiteral("HOLD"));
    const double average = ParseNumber(field("meterAverage"));
    QVERIFY2(qAbs(average + 12.5) < 0.1, qPrintable(field("meterAverage")));
    QVERIFY(ParseNumber(field("meterSpread")) >= ParseNumber(spreadAtHold));

    // Nothing but polls since the Reset, one every 500 ms: 8 in four seconds, give or take
    // one. The simulator's log may trail the wire by a moment on a busy machine: wait for
    // four seconds of it.
    QList<SimLogEntry> log;
    QTRY_VERIFY_WITH_TIMEOUT((log = sim.Log().mid(entriesAtReset)).size() > 1 &&
                                 log.last().seconds >= log.first().seconds + 4.0,
                             5000);
    int polls = 0;
    for (const SimLogEntry& entry : log) {
        QCOMPARE(entry.frame, QStringLiteral("^P%"));
        if (entry.seconds < log.first().seconds + 4.0)
            ++polls;
    }
    QVERIFY2(log.last().seconds >= log.first().seconds + 4.0, "the run was too short");
    const double meanMs = 1000.0 * (log.last().seconds - log.first().seconds) / (log.size() - 1);
    qInfo("polls in the four seconds after Reset: %d, mean interval %.1f ms", polls, meanMs);
    QVERIFY2(polls >= 7 && polls <= 9, qPrintable(QString::number(polls)));
    QVERIFY(messages.messages.isEmpty());

    messages.answers = {MessageAnswer::Yes};
    panel.close();
}

QTEST_MAIN(TestMeterSim)
#include "tst_metersim.moc"
