// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SourceFakes.h"

#include <QTest>

// The keypad of the source half: the append rule, the sign, enter with its limits, CE and
// operate/standby, with the exact frames and what the readout showed.
class TestSourceEntry : public QObject
{
    Q_OBJECT

private slots:
    void keypad_data();
    void keypad();
    void refusedSetpointKeepsTheOneInForce();
    void cancelEntryResendsWithItsSign();
    void operateStandby();
    void givenUpLinkMarksTheSetpointNotSent();
    void openingStateSendsNothing();
};

void TestSourceEntry::keypad_data()
{
    QTest::addColumn<QString>("range"); // empty: the opening state (50 mV)
    DataColumns<QString, QStringList>("keys", "sent");
    QTest::addColumn<QString>("readout"); // sign and value at the last repaint

    const QString over = QStringLiteral(" ——————");
    const QString under = QStringLiteral("-______");
    DataRow("seventh key refused", "", "1 2 . 5 6 7 8", QStringList(), " 12.567");
    DataRow("seventh key refused, then E", "", "1 2 . 5 6 7 8 E", QStringList{"N+12.567"},
            " 12.567");
    DataRow("0 0 5 stays 0", "", "0 0 5", QStringList(), " 0");
    DataRow("0 . 0 5 E", "", "0 . 0 5 E", QStringList{"N+0.050"}, " 0.050");
    DataRow("point first", "", ".", QStringList(), " 0.");
    DataRow("second point ignored", "", ". . 5 .", QStringList(), " 0.5");
    DataRow("point after digits", "", "1 2 . 5 . 3", QStringList(), " 12.53");
    DataRow("+/- alone shows the sign only", "", "+/-", QStringList(), "-");
    DataRow("+/- then E sends plus zero", "", "+/- E", QStringList{"N+0.000"}, " 0.000");
    DataRow("+/- 0 E sends plus zero", "", "+/- 0 E", QStringList{"N+0.000"}, " 0.000");
    DataRow("12.5 in 50 mV", "", "1 2 . 5 E", QStringList{"N+12.500"}, " 12.500");
    DataRow("negative entry", "", "+/- 5 4 . 9 9 E", QStringList{"N-54.990"}, "-54.990");
    DataRow("limit itself accepted", "", "5 5 E", QStringList{"N+55.000"}, " 55.000");
    DataRow("56 refused", "", "5 6 E", QStringList(), over);
    DataRow("-60 refused", "", "+/- 6 0 E", QStringList(), under);
    DataRow("E twice sends once", "", "5 E E", QStringList{"N+5.000"}, " 5.000");
    DataRow("E with nothing typed sends nothing", "", "E", QStringList(), "");
    DataRow("extra decimals cut", "500mV", "1 . 2 3 4 E", QStringList{"N+1.23"}, " 1.23");
    DataRow("+/- ignored in 400", "400", "+/- 5 E", QStringList{"N+5.00"}, " 5.00");
    DataRow("+/- ignored in 4000", "4000", "+/- +/- 5 E", QStringList{"N+5.0"}, " 5.0");
    DataRow("400 limit", "400", "4 0 1 E", QStringList(), over);
    DataRow("22 mA negative", "22mA", "+/- 2 4 . 2 E", QStringList{"N-24.200"}, "-24.200");
    // Thermocouple ranges are not symmetric: the lower limit is its own.
    DataRow("K -300 below the lower limit", "K (NiCr-NiAl)", "+/- 3 0 0 E", QStringList(), under);
    DataRow("K -270 at the lower limit", "K (NiCr-NiAl)", "+/- 2 7 0 E", QStringList{"N-270.0"},
            "-270.0");
    DataRow("K 1371 above", "K (NiCr-NiAl)", "1 3 7 1 E", QStringList(), over);
    DataRow("R -51 below", "R (PtRh13-Pt)", "+/- 5 1 E", QStringList(), under);
    DataRow("Pt100 -200.5 below", "Pt100 (385)", "+/- 2 0 0 . 5 E", QStringList(), under);
    DataRow("Pt100 -199.99", "Pt100 (385)", "+/- 1 9 9 . 9 9 E", QStringList{"N-199.99"},
            "-199.99");
}

void TestSourceEntry::keypad()
{
    QFETCH(QString, range);
    QFETCH(QString, keys);
    QFETCH(QStringList, sent);
    QFETCH(QString, readout);

    SourceRig rig;
    if (!range.isEmpty())
        rig.Select(range);
    rig.sender.TakeSent();
    rig.shown.clear();
    rig.Keys(keys);
    QCOMPARE(rig.sender.sent, sent);
    QCOMPARE(rig.Readout(), readout);
}

void TestSourceEntry::refusedSetpointKeepsTheOneInForce()
{
    SourceRig rig;
    rig.Keys(QStringLiteral("+/- 1 0 E"));
    rig.Keys(QStringLiteral("5 6 E"));
    QCOMPARE(rig.shown.last().valueText, QStringLiteral("——————"));
    // The set-point in force is back in the state, shown at the next repaint.
    QCOMPARE(rig.state.entryText, QStringLiteral("10.000"));
    QCOMPARE(rig.state.entryPositive, false);
    QVERIFY(rig.state.showingSetting);
    QVERIFY(!rig.state.digitsStarted);
    // The next key starts a new entry.
    rig.Keys(QStringLiteral("3 E"));
    QCOMPARE(rig.sender.sent, QStringList({"N-10.000", "N+3.000"}));
}

void TestSourceEntry::cancelEntryResendsWithItsSign()
{
    SourceRig rig;
    rig.Keys(QStringLiteral("+/- 1 0 E 3 4"));
    QCOMPARE(rig.Readout(), QStringLiteral(" 34"));
    rig.Keys(QStringLiteral("CE"));
    QCOMPARE(rig.sender.sent, QStringList({"N-10.000", "N-10.000"}));
    QCOMPARE(rig.Readout(), QStringLiteral("-10.000"));
    QVERIFY(rig.state.showingSetting);
    // CE with nothing typed sends the set-point again as well.
    rig.Keys(QStringLiteral("CE"));
    QCOMPARE(rig.sender.sent.last(), QStringLiteral("N-10.000"));
}

void TestSourceEntry::operateStandby()
{
    SourceRig rig;
    QVERIFY(!rig.state.operateOn);
    rig.Keys(QStringLiteral("O/S"));
    QCOMPARE(rig.shown.last().statusWord, QStringLiteral("OPR"));
    rig.Keys(QStringLiteral("+/- O/S"));
    QCOMPARE(rig.sender.sent, QStringList({"S1", "S0"}));
    QCOMPARE(rig.shown.last().statusWord, QStringLiteral("STD"));
    // An empty entry (after "+/-") shows the set-point in force again.
    QCOMPARE(rig.shown.last().valueText, QStringLiteral("0.000"));
}

// After the link is given up the set-point shown never reached the calibrator: "BRAK" takes
// the place of "OPR"/"STD" until the port is opened again.
void TestSourceEntry::givenUpLinkMarksTheSetpointNotSent()
{
    SourceRig rig;
    rig.Keys(QStringLiteral("O/S"));
    rig.sender.alive = false;
    rig.Keys(QStringLiteral("1 2 E"));
    QCOMPARE(rig.shown.last().valueText, QStringLiteral("12.000"));
    QCOMPARE(rig.shown.last().statusWord, QStringLiteral("BRAK"));
    rig.sender.alive = true; // the port opened again
    rig.logic.Open();
    QCOMPARE(rig.shown.last().statusWord, QStringLiteral("STD"));

    // A link given up under a poll shows as soon as the panel hears of it.
    rig.sender.alive = false;
    rig.logic.NoteLinkState();
    QCOMPARE(rig.shown.last().statusWord, QStringLiteral("BRAK"));
}

void TestSourceEntry::openingStateSendsNothing()
{
    SourceRig rig;
    QCOMPARE(rig.sender.sent, QStringList());
    QCOMPARE(rig.state.entryText, QStringLiteral("0.000"));
    QCOMPARE(rig.state.sourceRangeName, QStringLiteral("50mV"));
    QCOMPARE(rig.state.sourceUnit, QStringLiteral("mV"));
    QCOMPARE(rig.logic.CheckedRange(), QStringLiteral("50mV"));
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("0.000"));
    QCOMPARE(rig.logic.ToCaption(), QStringLiteral("0.0"));
    QCOMPARE(rig.logic.LeadResistanceCaption(), QStringLiteral("0.00"));
    QCOMPARE(rig.logic.Junction(), ColdJunction::Tex);
    QCOMPARE(rig.logic.Members().sourceMax, 55.0);
    QCOMPARE(rig.logic.Members().sourceMin, -55.0);
}

QTEST_GUILESS_MAIN(TestSourceEntry)
#include "tst_sourceentry.moc"
