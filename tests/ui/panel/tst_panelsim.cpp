// SPDX-License-Identifier: MIT
// The control panel against r718-sim at real speed: what an opened panel puts on the wire.

#include "RecordingMessageService.h"
#include "SimLink.h"
#include "core/link/CalibratorLink.h"
#include "ui/panel/CCalibratorPanelDlg.h"

#include <QElapsedTimer>
#include <QTest>

class TestPanelSim : public QObject
{
    Q_OBJECT

private slots:
    void openingSequenceThenPolls();
};

void TestPanelSim::openingSequenceThenPolls()
{
    SimLink sim;
    RecordingMessageService& messages = sim.messages;
    QVERIFY2(sim.Started(), qPrintable(sim.LastError()));
    CalibratorLink& link = sim.link;

    CCalibratorPanelDlg panel(link, messages);
    panel.show();
    QTRY_VERIFY(sim.Frames().size() >= 3);
    QCOMPARE(sim.Frames().mid(0, 3), QStringList({"^I%", "^X%", "^S1%"}));
    QVERIFY(link.LinkAlive());

    // The poll timer runs: two polls within about a second and a half.
    QTRY_VERIFY_WITH_TIMEOUT(sim.Frames().count(QStringLiteral("^P%")) >= 2, 4000);
    const QStringList frames = sim.Frames();
    QCOMPARE(frames.mid(0, 3), QStringList({"^I%", "^X%", "^S1%"}));
    for (const QString& f : frames.mid(3))
        QCOMPARE(f, QStringLiteral("^P%"));

    messages.answers = {MessageAnswer::Yes};
    panel.close();
    QVERIFY(!panel.isVisible());
    QVERIFY(messages.Texts() ==
            QStringList{
                QStringLiteral("Czy chcesz zakończyć pracę z modułem sterowania kalibratora?")});
    // The poll stops with the window and the port is closed: the simulator sees no more polls.
    QVERIFY(sim.Settle());
    QVERIFY(!panel.PollTimer().isActive());
    QVERIFY(!link.PortOpen());
}

QTEST_MAIN(TestPanelSim)
#include "tst_panelsim.moc"
