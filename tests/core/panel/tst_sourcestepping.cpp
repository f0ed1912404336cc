// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SourceFakes.h"
#include "core/panel/AutoSubrange.h"

#include <QTest>

// The step keys in fixed ranges and in "Uauto" with its four voltage sub-ranges, with the
// exact frames each key sends.
class TestSourceStepping : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void stepWhileTypingDoesNothing();
    void subrangeChangeRecaptionsTheStepSizes();
    void autoSubrangeChoice_data();
    void autoSubrangeChoice();
};

void TestSourceStepping::steps_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("delta"); // Δ step size typed in its entry, empty: none
    QTest::addColumn<QString>("setup"); // keys run before the frames are recorded
    DataColumns<QString, QStringList>("keys", "sent");
    QTest::addColumn<QString>("rangeName"); // shown at the end

    DataRow("54.990 up", "50mV", "", "5 4 . 9 9 E", "up", QStringList{"N+54.991"}, "50mV");
    DataRow("55.000 up re-sends", "50mV", "", "5 5 E", "up", QStringList{"N+55.000"}, "50mV");
    DataRow("54.999 up reaches the limit", "50mV", "", "5 4 . 9 9 9 E", "up up",
            QStringList{"N+55.000", "N+55.000"}, "50mV");
    DataRow("-54.990 fast down re-sends", "50mV", "", "+/- 5 4 . 9 9 E", "DOWN",
            QStringList{"N-54.990"}, "50mV");
    DataRow("-0.001 up, up", "50mV", "", "+/- 0 . 0 0 1 E", "up up",
            QStringList{"N+0.000", "N+0.001"}, "50mV");
    DataRow("0 down goes negative", "50mV", "", "", "down", QStringList{"N-0.001"}, "50mV");
    DataRow("fast up in 500mV", "500mV", "", "1 E", "UP", QStringList{"N+2.00"}, "500mV");
    DataRow("delta zero re-sends", "50mV", "", "", "+D -D +M -M",
            QStringList{"N+0.000", "N+0.000", "N+0.000", "N+0.000"}, "50mV");
    DataRow("delta 2 past the limit", "50mV", "2", "5 4 E", "+D -D",
            QStringList{"N+54.000", "N+52.000"}, "50mV");
    DataRow("400 cannot go below zero", "400", "", "", "down UP", QStringList{"N+0.00", "N+1.00"},
            "400");
    DataRow("K thermocouple lower limit", "K (NiCr-NiAl)", "", "+/- 2 6 9 . 9 E", "down down",
            QStringList{"N-270.0", "N-270.0"}, "K (NiCr-NiAl)");

    // "Uauto": the set-point picks its sub-range.
    DataRow("Uauto 5000 E", "Uauto", "", "", "5 0 0 0 E", QStringList{"N+5.000"}, "Uauto (12V)");
    DataRow("Uauto 0.01 E in 2V", "Uauto", "", "1 0 0 0 E", "0 . 0 1 E", QStringList{"N+10.00"},
            "Uauto (500mV)");
    DataRow("Uauto 13.200 V up", "Uauto", "", "1 3 2 0 0 E", "up", QStringList{"N+13.200"},
            "Uauto (12V)");
    DataRow("Uauto -13.200 V down", "Uauto", "", "+/- 1 3 2 0 0 E", "down", QStringList{"N-13.200"},
            "Uauto (12V)");
    DataRow("Uauto 540.00 fast up stays", "Uauto", "", "5 4 0 E", "UP", QStringList{"N+541.00"},
            "Uauto (500mV)");
    DataRow("Uauto 549.50 fast up to 2V", "Uauto", "", "5 4 9 . 5 E", "UP", QStringList{"N+0.5495"},
            "Uauto (2V)");
    DataRow("Uauto 549.50 fast up twice", "Uauto", "", "5 4 9 . 5 E", "UP UP",
            QStringList{"N+0.5495", "N+0.5595"}, "Uauto (2V)");
    DataRow("Uauto run 54, 55.000, 55.00, 56.00", "Uauto", "1", "5 4 E", "+D +D +D",
            QStringList{"N+55.000", "N+55.00", "N+56.00"}, "Uauto (500mV)");
    DataRow("Uauto negative run away from zero", "Uauto", "1", "+/- 5 4 E", "-D -D",
            QStringList{"N-55.000", "N-55.00"}, "Uauto (500mV)");
    // Towards zero across a sub-range edge, the set-point lands on the new sub-range's limit.
    DataRow("Uauto 0.5600 V fast down into 500mV", "Uauto", "", "5 6 0 E", "DOWN",
            QStringList{"N+550.00"}, "Uauto (500mV)");
    DataRow("Uauto 2.760 V up and down stays in 12V", "Uauto", "", "2 7 6 0 E", "UP DOWN",
            QStringList{"N+2.860", "N+2.760"}, "Uauto (12V)");
    DataRow("Uauto 2.751 V fast down into 2V", "Uauto", "", "2 7 5 1 E", "DOWN",
            QStringList{"N+2.7500"}, "Uauto (2V)");
    DataRow("Uauto -0.001 up", "Uauto", "", "+/- 0 . 0 0 1 E", "up up",
            QStringList{"N+0.000", "N+0.001"}, "Uauto (50mV)");
    DataRow("Uauto above 13.2 V refused", "Uauto", "", "", "1 3 2 0 1 E", QStringList(),
            "Uauto (50mV)");
}

void TestSourceStepping::steps()
{
    QFETCH(QString, range);
    QFETCH(QString, delta);
    QFETCH(QString, setup);
    QFETCH(QString, keys);
    QFETCH(QStringList, sent);
    QFETCH(QString, rangeName);

    SourceRig rig;
    rig.Select(range);
    if (!delta.isEmpty()) {
        rig.prompt.answers = {delta};
        rig.logic.EnterDeltaStep();
    }
    rig.Keys(setup);
    rig.sender.TakeSent();
    rig.Keys(keys);
    QCOMPARE(rig.sender.sent, sent);
    QCOMPARE(rig.state.sourceRangeName, rangeName);
    if (!sent.isEmpty()) {
        // The readout shows what was sent last, and it is the set-point in force.
        QCOMPARE(rig.Readout().mid(1), sent.last().mid(2));
        QCOMPARE(rig.state.sentText, sent.last().mid(2));
        QCOMPARE(rig.state.sentPositive, sent.last().at(1) == QLatin1Char('+'));
        QVERIFY(rig.state.showingSetting);
    }
}

void TestSourceStepping::stepWhileTypingDoesNothing()
{
    for (const QString& range : {QStringLiteral("50mV"), QStringLiteral("Uauto")}) {
        SourceRig rig;
        rig.Select(range);
        rig.Keys(QStringLiteral("1 2"));
        rig.sender.TakeSent();
        rig.shown.clear();
        rig.Keys(QStringLiteral("up down UP DOWN +D -D +M -M"));
        QCOMPARE(rig.sender.sent, QStringList());
        QCOMPARE(rig.shown.size(), 0);
        QCOMPARE(rig.state.entryText, QStringLiteral("12"));
        // "+/-" before any digit counts as typing as well.
        rig.Keys(QStringLiteral("CE +/- up"));
        QCOMPARE(rig.sender.sent, QStringList({"N+0.000"}));
    }
}

void TestSourceStepping::subrangeChangeRecaptionsTheStepSizes()
{
    SourceRig rig;
    rig.Select(QStringLiteral("Uauto"));
    rig.prompt.answers = {QStringLiteral("1"), QStringLiteral("0.5")};
    rig.logic.EnterDeltaStep();
    rig.logic.EnterMStep();
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("1.000"));
    rig.Keys(QStringLiteral("1 0 0 0 E"));
    QCOMPARE(rig.state.sourceRangeName, QStringLiteral("Uauto (2V)"));
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("1.0000"));
    QCOMPARE(rig.logic.MCaption(), QStringLiteral("0.5000"));
    // The step keeps its number: 1 now means 1 V.
    rig.sender.TakeSent();
    rig.Keys(QStringLiteral("+D"));
    QCOMPARE(rig.sender.sent, QStringList({"N+2.0000"}));
    rig.Keys(QStringLiteral("+D"));
    QCOMPARE(rig.state.sourceRangeName, QStringLiteral("Uauto (12V)"));
    QCOMPARE(rig.sender.sent.last(), QStringLiteral("N+2.000"));
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("1.000"));
    QCOMPARE(rig.state.sourceUnit, QStringLiteral("V"));
}

void TestSourceStepping::autoSubrangeChoice_data()
{
    DataColumns<QString, QString, QString, QString>("unit", "text", "rangeName", "textAfter");

    DataRow("mV 0", "mV", "0", "Uauto (50mV)", "0");
    DataRow("mV 55", "mV", "55", "Uauto (50mV)", "55");
    DataRow("mV 55.01", "mV", "55.01", "Uauto (500mV)", "55.01");
    DataRow("mV 550", "mV", "550", "Uauto (500mV)", "550");
    DataRow("mV 550.5", "mV", "550.5", "Uauto (2V)", "0.5505");
    DataRow("mV 2750", "mV", "2750", "Uauto (2V)", "2.7500");
    DataRow("mV 2751", "mV", "2751", "Uauto (12V)", "2.751");
    DataRow("mV 13200", "mV", "13200", "Uauto (12V)", "13.200");
    DataRow("mV 13201 unchanged", "mV", "13201", "start", "13201");
    DataRow("V 13.2", "V", "13.2", "Uauto (12V)", "13.2");
    DataRow("V 2.75", "V", "2.75", "Uauto (2V)", "2.75");
    DataRow("V 0.56", "V", "0.56", "Uauto (2V)", "0.56");
    DataRow("V 0.55", "V", "0.55", "Uauto (500mV)", "550.00");
    DataRow("V 0.006", "V", "0.006", "Uauto (500mV)", "6.00");
    DataRow("V 0.0055", "V", "0.0055", "Uauto (50mV)", "5.500");
    DataRow("V 0 unchanged", "V", "0", "start", "0");
    DataRow("V 13.3 unchanged", "V", "13.3", "start", "13.3");
    DataRow("V negative keeps its sign", "V", "-0.01", "Uauto (500mV)", "-10.00");
}

void TestSourceStepping::autoSubrangeChoice()
{
    QFETCH(QString, unit);
    QFETCH(QString, text);
    QFETCH(QString, rangeName);
    QFETCH(QString, textAfter);

    PanelSourceState state;
    SourceMembers members;
    state.sourceRangeName = QStringLiteral("start");
    state.sourceUnit = unit;
    state.entryText = text;
    const bool changed = SelectAutoSubrange(state, members);
    QCOMPARE(changed, rangeName != QLatin1String("start"));
    QCOMPARE(state.sourceRangeName, rangeName);
    QCOMPARE(state.entryText, textAfter);
}

QTEST_GUILESS_MAIN(TestSourceStepping)
#include "tst_sourcestepping.moc"
