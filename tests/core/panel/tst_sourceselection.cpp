// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SourceFakes.h"

#include <QTest>

// Selection of the source function, range and sensor with its command sequences; the
// reference junction, the lead resistance, the parameter entries and the reset.
class TestSourceSelection : public QObject
{
    Q_OBJECT

private slots:
    void selectionCommands_data();
    void selectionCommands();
    void selectionResetsTheSetpointAndSteps();
    void familiesApplyWhatTheyShow();
    void thermocoupleWithToReference();
    void rtdWithLeadResistance();
    void leadResistanceEntryDecimals_data();
    void leadResistanceEntryDecimals();
    void cancelledEntriesKeepTheOldCaptionAndStillFollowUp();
    void stepSizeEntries();
    void resetAppliesTheCheckedRangeThenShows50mV();
};

void TestSourceSelection::selectionCommands_data()
{
    DataColumns<QString, QStringList, QString, QString, QString>("name", "sent", "rangeName",
                                                                 "unit", "zero");

    DataRow("50mV", "50mV", QStringList{"C01", "N+0.000"}, "50mV", "mV", "0.000");
    DataRow("500mV", "500mV", QStringList{"C02", "N+0.00"}, "500mV", "mV", "0.00");
    DataRow("2V", "2V", QStringList{"C03", "N+0.0000"}, "2V", "V", "0.0000");
    DataRow("12V", "12V", QStringList{"C05", "N+0.000"}, "12V", "V", "0.000");
    DataRow("Uauto", "Uauto", QStringList{"C00", "N+0.000"}, "Uauto (50mV)", "mV", "0.000");
    DataRow("22mA", "22mA", QStringList{"C06", "N+0.000"}, "22mA", "mA", "0.000");
    DataRow("400", "400", QStringList{"C120", "N+0.00"}, "400", "Ohm", "0.00");
    DataRow("4000", "4000", QStringList{"C121", "N+0.0"}, "4000", "Ohm", "0.0");
    DataRow("K, Tex", "K (NiCr-NiAl)", QStringList{"C62", "N+0.0"}, "K (NiCr-NiAl)", "°C", "0.0");
    DataRow("B, Tex", "B (PtRh30-PtRh6)", QStringList{"C65", "N+0.0"}, "B (PtRh30-PtRh6)", "°C",
            "0.0");
    DataRow("Pt100 (391)", "Pt100 (391)", QStringList{"C83", "N+0.00"}, "Pt100 (391)", "°C",
            "0.00");
    DataRow("Cu100", "Cu100", QStringList{"C102", "N+0.0"}, "Cu100", "°C", "0.0");
    DataRow("Ni100", "Ni100", QStringList{"C90", "N+0.0"}, "Ni100", "°C", "0.0");
}

void TestSourceSelection::selectionCommands()
{
    QFETCH(QString, name);
    QFETCH(QStringList, sent);
    QFETCH(QString, rangeName);
    QFETCH(QString, unit);
    QFETCH(QString, zero);

    SourceRig rig;
    rig.Select(name);
    QCOMPARE(rig.sender.sent.mid(rig.sender.sent.size() - sent.size()), sent);
    QCOMPARE(rig.state.sourceRangeName, rangeName);
    QCOMPARE(rig.state.sourceUnit, unit);
    QCOMPARE(rig.state.entryText, zero);
    QCOMPARE(rig.state.sentText, zero);
    QCOMPARE(rig.logic.DeltaCaption(), zero);
    QCOMPARE(rig.logic.MCaption(), zero);
    QCOMPARE(rig.shown.last().rangeName, rangeName);
}

void TestSourceSelection::selectionResetsTheSetpointAndSteps()
{
    SourceRig rig;
    rig.prompt.answers = {QStringLiteral("2"), QStringLiteral("3")};
    rig.logic.EnterDeltaStep();
    rig.logic.EnterMStep();
    rig.Keys(QStringLiteral("+/- 1 2 E O/S"));
    rig.Select(QStringLiteral("500mV"));
    QCOMPARE(rig.logic.Members().deltaStep, 0.0);
    QCOMPARE(rig.logic.Members().mStep, 0.0);
    QCOMPARE(rig.state.entryPositive, true);
    QCOMPARE(rig.state.sentPositive, true);
    QVERIFY(rig.state.showingSetting);
    QVERIFY(rig.state.operateOn); // operate is not touched by a selection
    // Typing, then a selection: the entry is dropped.
    rig.Keys(QStringLiteral("7"));
    rig.Select(QStringLiteral("2V"));
    QCOMPARE(rig.state.entryText, QStringLiteral("0.0000"));
    rig.Keys(QStringLiteral("E"));
    QCOMPARE(rig.sender.sent.last(), QStringLiteral("N+0.0000"));
}

void TestSourceSelection::familiesApplyWhatTheyShow()
{
    SourceRig rig;
    // Opening: RANGE with "50 mV" checked. T/C applies the selected thermocouple with the
    // checked junction (Tex), RTD the selected thermometer, RANGE the checked radio.
    rig.logic.ChooseFamily(SourceFamily::Thermocouple);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C63", "N+0.0"}));
    QVERIFY(!rig.logic.ToButtonEnabled());
    rig.logic.ChooseColdJunction(ColdJunction::Tin);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C43", "N+0.0"}));
    rig.logic.ChooseFamily(SourceFamily::Rtd);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C82", "N+0.00"}));
    QVERIFY(!rig.logic.LeadResistanceButtonEnabled());
    rig.logic.ChooseFamily(SourceFamily::Range);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C01", "N+0.000"}));
    // Back to T/C: the junction chosen before is kept.
    rig.logic.ChooseFamily(SourceFamily::Thermocouple);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C43", "N+0.0"}));
}

void TestSourceSelection::thermocoupleWithToReference()
{
    SourceRig rig;
    rig.Select(QStringLiteral("K (NiCr-NiAl)"));
    rig.logic.ChooseColdJunction(ColdJunction::To);
    QVERIFY(rig.logic.ToButtonEnabled());
    QCOMPARE(rig.sender.sent.mid(rig.sender.sent.size() - 3),
             QStringList({"C22", "N+0.0", "T0.00"}));
    rig.prompt.answers = {QStringLiteral("23.5")};
    rig.sender.TakeSent();
    rig.logic.EnterColdJunctionTemperature();
    QCOMPARE(rig.prompt.requests.last().caption, QStringLiteral("To = "));
    QCOMPARE(rig.prompt.requests.last().unit, QStringLiteral("°C"));
    QCOMPARE(rig.prompt.requests.last().low, 0.0);
    QCOMPARE(rig.prompt.requests.last().high, 60.0);
    QCOMPARE(rig.prompt.requests.last().initial, QStringLiteral("0.0"));
    QCOMPARE(rig.logic.ToCaption(), QStringLiteral("23.5"));
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C22", "N+0.0", "T23.50"}));

    rig.logic.SelectThermocouple(0);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C23", "N+0.0", "T23.50"}));
    QCOMPARE(rig.state.sourceRangeName, QStringLiteral("R (PtRh13-Pt)"));
    // Tex again: no "T".
    rig.logic.ChooseColdJunction(ColdJunction::Tex);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C63", "N+0.0"}));
}

void TestSourceSelection::rtdWithLeadResistance()
{
    SourceRig rig;
    rig.Select(QStringLiteral("Pt500"));
    rig.sender.TakeSent();
    rig.logic.SetLeadResistance(true);
    QVERIFY(rig.logic.LeadResistanceButtonEnabled());
    QCOMPARE(rig.sender.TakeSent(), QStringList({"R0.00"}));
    rig.prompt.answers = {QStringLiteral("24.5")};
    rig.logic.EnterLeadResistance();
    QCOMPARE(rig.prompt.requests.last().caption, QStringLiteral("RL = "));
    QCOMPARE(rig.prompt.requests.last().unit, QStringLiteral("Ohm"));
    QCOMPARE(rig.prompt.requests.last().high, 50.0);
    QCOMPARE(rig.prompt.requests.last().initial, QStringLiteral("0.00"));
    QCOMPARE(rig.sender.TakeSent(), QStringList({"R24.5"})); // Pt500 has one decimal

    rig.logic.SelectRtd(0);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C82", "N+0.00", "R24.50"}));
    rig.logic.SetLeadResistance(false);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"R00.00"}));
    rig.logic.SelectRtd(0);
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C82", "N+0.00"}));
    // The entry with the box cleared sends "R00.00".
    rig.prompt.answers = {QStringLiteral("10")};
    rig.logic.EnterLeadResistance();
    QCOMPARE(rig.sender.TakeSent(), QStringList({"R00.00"}));
    QCOMPARE(rig.logic.LeadResistanceCaption(), QStringLiteral("10.0"));
}

void TestSourceSelection::leadResistanceEntryDecimals_data()
{
    DataColumns<QString, QString, QString, QString>("sensor", "typed", "caption", "sent");
    DataRow("Pt100 (385), 24.5", "Pt100 (385)", "24.5", "24.5", "R24.50");
    DataRow("Pt500, 24.5", "Pt500", "24.5", "24.5", "R24.5");
    DataRow("Pt100 (385), 7", "Pt100 (385)", "7", "7.0", "R7.00");
    DataRow("Cu100, 12.34", "Cu100", "12.34", "12.3", "R12.3");
}

void TestSourceSelection::leadResistanceEntryDecimals()
{
    QFETCH(QString, sensor);
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    QFETCH(QString, sent);
    SourceRig rig;
    rig.Select(sensor);
    rig.logic.SetLeadResistance(true);
    rig.sender.TakeSent();
    rig.prompt.answers = {typed};
    rig.logic.EnterLeadResistance();
    QCOMPARE(rig.logic.LeadResistanceCaption(), caption);
    QCOMPARE(rig.sender.TakeSent(), QStringList{sent});
}

void TestSourceSelection::cancelledEntriesKeepTheOldCaptionAndStillFollowUp()
{
    SourceRig rig;
    rig.Select(QStringLiteral("J (Fe-CuNi)"));
    rig.logic.ChooseColdJunction(ColdJunction::To);
    rig.sender.TakeSent();
    rig.logic.EnterColdJunctionTemperature(); // cancelled
    QCOMPARE(rig.logic.ToCaption(), QStringLiteral("0.0"));
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C21", "N+0.0", "T0.00"}));

    rig.Select(QStringLiteral("Pt100 (385)"));
    rig.logic.SetLeadResistance(true);
    rig.sender.TakeSent();
    rig.logic.EnterLeadResistance(); // cancelled: the old caption "0.00" is taken again
    QCOMPARE(rig.logic.LeadResistanceCaption(), QStringLiteral("0.0"));
    QCOMPARE(rig.sender.TakeSent(), QStringList({"R0.00"}));
}

void TestSourceSelection::stepSizeEntries()
{
    SourceRig rig;
    rig.Select(QStringLiteral("2V"));
    rig.prompt.answers = {QStringLiteral("0.1"), QStringLiteral("1.23456")};
    rig.logic.EnterDeltaStep();
    QCOMPARE(rig.prompt.requests.last().caption, QStringLiteral("Delta = "));
    QCOMPARE(rig.prompt.requests.last().unit, QString());
    QCOMPARE(rig.prompt.requests.last().high, 2.75);
    QCOMPARE(rig.prompt.requests.last().initial, QStringLiteral("0.0000"));
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("0.1000"));
    QCOMPARE(rig.logic.Members().deltaStep, 0.1);
    rig.logic.EnterMStep();
    QCOMPARE(rig.prompt.requests.last().caption, QStringLiteral("M = "));
    // A text of more than six characters stays as typed, and so does the step.
    QCOMPARE(rig.logic.MCaption(), QStringLiteral("1.23456"));
    QCOMPARE(rig.logic.Members().mStep, 1.23456);
    rig.logic.EnterMStep(); // cancelled
    QCOMPARE(rig.logic.Members().mStep, 1.23456);
    QCOMPARE(rig.sender.sent, QStringList({"C03", "N+0.0000"}));
}

void TestSourceSelection::resetAppliesTheCheckedRangeThenShows50mV()
{
    SourceRig rig;
    rig.Select(QStringLiteral("12V"));
    rig.Select(QStringLiteral("Pt100 (385)"));
    rig.logic.SetLeadResistance(true);
    rig.prompt.answers = {QStringLiteral("5")};
    rig.logic.EnterDeltaStep();
    rig.sender.TakeSent();
    rig.logic.ResetHalf();
    // The range radio still checked from before goes out, then the panel shows 50 mV at zero.
    QCOMPARE(rig.sender.TakeSent(), QStringList({"C05", "N+0.000"}));
    QCOMPARE(rig.logic.Family(), SourceFamily::Range);
    QCOMPARE(rig.logic.CheckedRange(), QStringLiteral("50mV"));
    QCOMPARE(rig.state.sourceRangeName, QStringLiteral("50mV"));
    QCOMPARE(rig.state.entryText, QStringLiteral("0.000"));
    QCOMPARE(rig.logic.Members().deltaStep, 0.0);
    QCOMPARE(rig.logic.DeltaCaption(), QStringLiteral("0.000"));
    QCOMPARE(rig.logic.SourceRlOn(), false);
    QCOMPARE(rig.logic.LeadResistanceChecked(), false);
    QCOMPARE(rig.logic.Junction(), ColdJunction::Tex);
    QCOMPARE(rig.logic.ThermocoupleIndex(), 0);
    QCOMPARE(rig.logic.RtdIndex(), 0);
}

QTEST_GUILESS_MAIN(TestSourceSelection)
#include "tst_sourceselection.moc"
