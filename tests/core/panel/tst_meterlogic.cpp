// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "MeterFakes.h"
#include "RecordingCommandSender.h"
#include "core/panel/MeasureLogic.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadoutContent.h"

#include <QTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(MeasureFamily)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {
const QString overRange = QString(6, QChar(0x2014));
}

class TestMeterLogic : public QObject
{
    Q_OBJECT

    RecordingCommandSender sender;
    FakeAveragingTimer timer;
    ScriptedPrompt prompt;
    PanelMeterState state;
    std::unique_ptr<MeasureLogic> logic;

    // One poll answered with the given reply.
    void Poll(const QString& reply)
    {
        sender.replies << reply;
        logic->PollReading();
    }
    // One poll for each reply, answered with it.
    void Poll(std::initializer_list<const char*> replies)
    {
        for (const char* reply : replies)
            Poll(QString::fromUtf8(reply));
    }
    QStringList Stats() const
    {
        const MeterStatistics& s = logic->Statistics();
        return {s.minText, s.maxText, s.spreadText, s.averageText};
    }

private slots:
    void init()
    {
        sender = RecordingCommandSender();
        timer = FakeAveragingTimer();
        prompt = ScriptedPrompt();
        state = PanelMeterState();
        state.meterText = QStringLiteral("left over");
        state.holdOn = true;
        logic = std::make_unique<MeasureLogic>(sender, timer, prompt, state);
        logic->Open();
    }

    void openingStateSendsNothing()
    {
        QCOMPARE(sender.sent, QStringList());
        QCOMPARE(state.meterText, QStringLiteral("0.000"));
        QCOMPARE(state.meterRangeName, QStringLiteral("25V"));
        QCOMPARE(state.meterUnit, QStringLiteral("V"));
        QVERIFY(state.meterPositive);
        QVERIFY(!state.holdOn);
        QCOMPARE(logic->MeterDecimals(), 3);
        QCOMPARE(logic->CheckedRange(), QStringLiteral("25V"));
        QCOMPARE(logic->Family(), MeasureFamily::Range);
        QCOMPARE(logic->AvgSeconds(), 10);
        QCOMPARE(logic->AveragingCaption(), QStringLiteral("10"));
        QCOMPARE(logic->LeadResistanceCaption(), QStringLiteral("0.00"));
        QVERIFY(!logic->LeadResistanceButtonEnabled());
        QCOMPARE(Stats(), QStringList({"0.000", "0.000", "0.000", "0.000"}));
        QVERIFY(!logic->Statistics().running);
    }

    void selection_data()
    {
        QTest::addColumn<MeasureFamily>("family");
        QTest::addColumn<QString>("range"); // radio name, or the list index for sensors
        DataColumns<QString, QString, QString, QString, QString>("command", "text", "name", "unit",
                                                                 "zero");

        const auto R = MeasureFamily::Range;
        const auto TC = MeasureFamily::Thermocouple;
        const auto RTD = MeasureFamily::Rtd;
        DataRow("50mV", R, "50mV", "M01", "0.000", "50mV", "mV", "0.000");
        DataRow("500mV", R, "500mV", "M02", "0.00", "500mV", "mV", "0.00");
        DataRow("2V", R, "2V", "M03", "0.0000", "2V", "V", "0.0000");
        DataRow("25V", R, "25V", "M04", "0.000", "25V", "V", "0.000");
        DataRow("Uauto", R, "Uauto", "M00", "0.000", "Uauto", "mV", "0.000");
        DataRow("22mA", R, "22mA", "M06", "0.000", "22mA", "mA", "0.000");
        DataRow("400", R, "400", "M120", "0.00", "400", "Ohm", "0.00");
        DataRow("4000", R, "4000", "M121", "0.0", "4000", "Ohm", "0.0");
        DataRow("f", R, "frequency", "M130", "0.000", "frequency", "Hz", "0.000");
        DataRow("Tex keeps its format, reads one decimal", R, "Tex", "M131", "0.000", "Tex", "°C",
                "0.0");
        const QStringList tcCodes = {"M43", "M40", "M45", "M41", "M44", "M46", "M42"};
        const QStringList tcNames = {"R (PtRh13-Pt)", "S (PtRh10-Pt)", "B (PtRh30-PtRh6)",
                                     "J (Fe-CuNi)",   "T (Cu-CuNi)",   "E (NiCr-CuNi)",
                                     "K (NiCr-NiAl)"};
        for (int i = 0; i < tcNames.size(); ++i)
            DataRow(qPrintable(tcNames[i]), TC, QString::number(i), tcCodes[i], "0.0", tcNames[i],
                    "°C", "0.0");
        DataRow("Pt100 (385)", RTD, "0", "M82", "0.00", "Pt100 (385)", "°C", "0.00");
        DataRow("Pt100 (391)", RTD, "1", "M83", "0.00", "Pt100 (391)", "°C", "0.00");
        DataRow("Pt500", RTD, "2", "M85", "0.0", "Pt500", "°C", "0.0");
        DataRow("Pt1000", RTD, "3", "M86", "0.0", "Pt1000", "°C", "0.0");
        DataRow("Cu100", RTD, "4", "M102", "0.0", "Cu100", "°C", "0.0");
        DataRow("Ni100", RTD, "5", "M90", "0.0", "Ni100", "°C", "0.0");
    }
    void selection()
    {
        QFETCH(MeasureFamily, family);
        QFETCH(QString, range);
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QFETCH(QString, zero);

        // Statistics running with a negative reading before the selection.
        Poll(QStringLiteral("P-1.500%"));
        logic->ResetStatistics();
        Poll(QStringLiteral("P2.000%"));
        QCOMPARE(Stats(), QStringList({"-1.500", "2.000", "3.500", "0.000"}));
        sender.TakeSent();

        logic->ChooseFamily(family);
        if (family == MeasureFamily::Range)
            logic->CheckRange(range);
        else if (family == MeasureFamily::Thermocouple)
            logic->SelectThermocouple(range.toInt());
        else
            logic->SelectRtd(range.toInt());

        QCOMPARE(sender.sent.last(), command);
        QCOMPARE(state.meterText, text);
        QCOMPARE(state.meterRangeName, name);
        QCOMPARE(state.meterUnit, unit);
        QVERIFY(state.meterPositive);
        QCOMPARE(Stats(), QStringList({zero, zero, zero, zero}));
        QVERIFY(!logic->Statistics().running);

        // The averaging stops at the next poll, and readings no longer count.
        QVERIFY(timer.running);
        Poll(QStringLiteral("P9.0%"));
        QVERIFY(!timer.running);
        QCOMPARE(Stats(), QStringList({zero, zero, zero, zero}));
    }

    void familyRangeWithoutCheckedRadioSendsNothing()
    {
        // A T/C sensor chosen: the family change applies the selected list entry.
        logic->ChooseFamily(MeasureFamily::Thermocouple);
        QCOMPARE(sender.TakeSent(), QStringList({"M43"}));
        logic->SelectThermocouple(6);
        QCOMPARE(sender.TakeSent(), QStringList({"M42"}));
        // Back to the range family: the radio still checked (25 V) is applied.
        logic->ChooseFamily(MeasureFamily::Range);
        QCOMPARE(sender.TakeSent(), QStringList({"M04"}));
        logic->ChooseFamily(MeasureFamily::Rtd);
        QCOMPARE(sender.TakeSent(), QStringList({"M82"}));
    }

    void statisticsFollowReadings()
    {
        Poll(QStringLiteral("P2.000%"));
        logic->ResetStatistics();
        QCOMPARE(Stats(), QStringList({"2.000", "2.000", "0.000", "0.000"}));
        QVERIFY(timer.running);
        QCOMPARE(timer.periodMs, 10000);

        Poll({"P1.000%", "P3.000%", "P2.000%"});
        QCOMPARE(Stats(), QStringList({"1.000", "3.000", "2.000", "0.000"}));
        QCOMPARE(logic->Statistics().readingCount, 3);
        QCOMPARE(logic->Statistics().lastReading, 2.0);
    }

    void statisticsCountRangeMarksAsZero()
    {
        Poll(QStringLiteral("P-2.500%"));
        logic->ResetStatistics();
        QCOMPARE(Stats(), QStringList({"-2.500", "-2.500", "0.000", "0.000"}));
        Poll(QStringLiteral("P~~~~~~%"));
        QCOMPARE(state.meterText, overRange);
        Poll(QStringLiteral("P-0.500%"));
        QCOMPARE(Stats(), QStringList({"-2.500", "0.000", "2.500", "0.000"}));
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("-0.250"));
    }

    void averageOfConsecutiveWindows()
    {
        logic->ResetStatistics();
        Poll({"P1.000%", "P2.000%", "P4.000%"});
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("2.333"));
        QCOMPARE(logic->Statistics().readingCount, 0);
        // The next window starts from zero: only its own readings count.
        Poll({"P10.000%", "P11.000%"});
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("2.333"));
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("10.500"));
        // MIN and MAX still cover everything since Reset.
        QCOMPARE(Stats().mid(0, 3), QStringList({"0.000", "11.000", "11.000"}));
        QVERIFY(timer.running);
    }

    void emptyWindowShowsLastAverage()
    {
        logic->ResetStatistics();
        // No reading yet: zero, never NaN.
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("0.000"));
        Poll({"P1.000%", "P-4.000%"});
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("-1.500"));
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("-1.500"));
        QVERIFY(std::isfinite(logic->Statistics().readingSum));
        // A new Reset forgets the old windows.
        logic->ResetStatistics();
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("0.000"));
        // A window ending after a new selection shows zero in the new format.
        Poll(QStringLiteral("P3.000%"));
        logic->CheckRange(QStringLiteral("2V"));
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("0.0000"));
    }

    void resetRestartsTheWindowWithNewT()
    {
        logic->ResetStatistics();
        QCOMPARE(timer.starts, 1);
        prompt.answers << QStringLiteral("2.5");
        logic->EnterAveragingTime();
        QCOMPARE(logic->AveragingCaption(), QStringLiteral("2.5"));
        QCOMPARE(logic->AvgSeconds(), 2);
        QCOMPARE(timer.periodMs, 10000); // the new t waits for the next Reset
        logic->ResetStatistics();
        QCOMPARE(timer.starts, 2);
        QCOMPARE(timer.periodMs, 2000);
        QCOMPARE(prompt.requests.size(), 1);
        QCOMPARE(prompt.requests[0].caption, QStringLiteral("t (AVR) = "));
        QCOMPARE(prompt.requests[0].unit, QStringLiteral("s"));
        QCOMPARE(prompt.requests[0].low, 1.0);
        QCOMPARE(prompt.requests[0].high, 99.0);
        QCOMPARE(prompt.requests[0].initial, QStringLiteral("10"));
        // Cancelled: the old caption stays and gives t again.
        logic->EnterAveragingTime();
        QCOMPARE(prompt.requests[1].initial, QStringLiteral("2.5"));
        QCOMPARE(logic->AveragingCaption(), QStringLiteral("2.5"));
        QCOMPARE(logic->AvgSeconds(), 2);
        QCOMPARE(sender.sent, QStringList());
    }

    void holdFreezesReadoutOnly()
    {
        logic->ResetStatistics();
        Poll(QStringLiteral("P1.000%"));
        logic->SwitchHold();
        QVERIFY(state.holdOn);
        QCOMPARE(state.heldText, QStringLiteral("1.000"));
        Poll({"P5.000%", "P-2.000%"});
        QCOMPARE(state.heldText, QStringLiteral("1.000"));
        QCOMPARE(state.meterText, QStringLiteral("2.000"));
        QVERIFY(!state.meterPositive);
        QCOMPARE(Stats().mid(0, 3), QStringList({"-2.000", "5.000", "7.000"}));
        QCOMPARE(sender.sent, QStringList({"P", "P", "P"}));
        logic->SwitchHold();
        QVERIFY(!state.holdOn);
        QCOMPARE(state.heldText, QStringLiteral("2.000"));
    }

    void leadResistance_data()
    {
        DataColumns<int, bool, std::optional<QString>, QString, QStringList>(
            "rtd", "checked", "answer", "caption", "commands");
        DataRow("24.5 in Pt100 (385)", 0, true, std::optional<QString>("24.5"), "24.5",
                QStringList({"Q0.00", "Q24.50"}));
        DataRow("24.5 in Pt500 goes with one decimal", 2, true, std::optional<QString>("24.5"),
                "24.5", QStringList({"Q0.0", "Q24.5"}));
        DataRow("box cleared sends zero text", 0, false, std::optional<QString>("24.5"), "24.5",
                QStringList({"Q00.00", "Q00.00"}));
        DataRow("cancel re-sends the old value", 0, true, std::optional<QString>(), "0.0",
                QStringList({"Q0.00", "Q0.00"}));
        DataRow("caption cut to one decimal, value as typed", 1, true,
                std::optional<QString>("12.37"), "12.3", QStringList({"Q0.00", "Q12.37"}));
    }
    void leadResistance()
    {
        QFETCH(int, rtd);
        QFETCH(bool, checked);
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, caption);
        QFETCH(QStringList, commands);

        logic->ChooseFamily(MeasureFamily::Rtd);
        logic->SelectRtd(rtd);
        sender.TakeSent();
        logic->SetLeadResistance(checked);
        QCOMPARE(logic->LeadResistanceButtonEnabled(), checked);
        if (answer)
            prompt.answers << answer;
        logic->EnterLeadResistance();
        QCOMPARE(sender.TakeSent(), commands);
        QCOMPARE(logic->LeadResistanceCaption(), caption);
        QCOMPARE(prompt.requests.size(), 1);
        QCOMPARE(prompt.requests[0].caption, QStringLiteral("RL = "));
        QCOMPARE(prompt.requests[0].unit, QStringLiteral("Ohm"));
        QCOMPARE(prompt.requests[0].low, 0.0);
        QCOMPARE(prompt.requests[0].high, 50.0);
        QCOMPARE(prompt.requests[0].initial, QStringLiteral("0.00"));

        // A new selection does not send "Q" again.
        logic->SelectRtd(3);
        QCOMPARE(sender.TakeSent(), QStringList({"M86"}));
    }

    void uautoShowsMillivoltsWithThreeDecimals_data()
    {
        DataColumns<QString, QString>("reply", "text");
        DataRow("calibrator in 50 mV", "P12.34567%", "12.346");
        DataRow("calibrator in 12 V", "P5.0000%", "5.000");
        DataRow("calibrator in 500 mV", "P-123.45%", "123.450");
    }
    void uautoShowsMillivoltsWithThreeDecimals()
    {
        QFETCH(QString, reply);
        QFETCH(QString, text);
        logic->CheckRange(QStringLiteral("Uauto"));
        QCOMPARE(sender.TakeSent(), QStringList({"M00"}));
        Poll(reply);
        QCOMPARE(state.meterText, text);
        QCOMPARE(state.meterUnit, QStringLiteral("mV"));
        QCOMPARE(state.meterRangeName, QStringLiteral("Uauto"));
    }

    // The reading is asked for as a poll, which the operator's commands may overtake.
    void readingIsAskedForAsAPoll()
    {
        Poll(QStringLiteral("P1.000%"));
        QCOMPARE(sender.polls, QStringList{"P"});
        QCOMPARE(sender.TakeSent(), QStringList{"P"});
    }

    void droppedLinkParsesTheLastReplyAgain()
    {
        logic->ResetStatistics();
        Poll(QStringLiteral("P-1.250%"));
        logic->PollReading(); // no new reply: the old one stays in place
        QCOMPARE(state.meterText, QStringLiteral("1.250"));
        QVERIFY(!state.meterPositive);
        QCOMPARE(logic->Statistics().readingCount, 2);
    }

    // Once the link is given up no measurement takes place: the readout shows a mark that is
    // no number and no range mark, "BRAK" stands where "HOLD" would, and the statistics
    // count nothing, until the port is opened again.
    void givenUpLinkShowsNoMeasurement()
    {
        Poll(QStringLiteral("P2.000%"));
        logic->ResetStatistics();
        Poll(QStringLiteral("P3.000%"));
        const QStringList stats = Stats();

        sender.alive = false;
        Poll({"", ""});
        ReadoutContent shown = MeterReadoutContent(state);
        QCOMPARE(shown.valueText, QStringLiteral("- - - -"));
        QVERIFY(shown.valueText != overRange && shown.valueText != QStringLiteral("______"));
        QVERIFY(shown.positive);
        QCOMPARE(shown.statusWord, QStringLiteral("BRAK"));
        QCOMPARE(Stats(), stats);
        QCOMPARE(logic->Statistics().readingCount, 1);
        logic->EndAveragingWindow();
        QCOMPARE(logic->Statistics().averageText, QStringLiteral("3.000"));
        // A new range, HOLD and a panel opened on a port that failed show no number either.
        logic->CheckRange(QStringLiteral("2V"));
        logic->SwitchHold();
        shown = MeterReadoutContent(state);
        QCOMPARE(shown.valueText, QStringLiteral("- - - -"));
        QCOMPARE(shown.rangeName, QStringLiteral("2V"));
        QCOMPARE(shown.statusWord, QStringLiteral("BRAK"));
        logic->Open();
        QCOMPARE(MeterReadoutContent(state).valueText, QStringLiteral("- - - -"));

        sender.alive = true; // the port opened again
        logic->Open();
        Poll(QStringLiteral("P1.500%"));
        shown = MeterReadoutContent(state);
        QCOMPARE(shown.valueText, QStringLiteral("1.500"));
        QCOMPARE(shown.statusWord, QString());
    }

    void resetHalfAppliesCheckedRadioThenShows25V()
    {
        logic->CheckRange(QStringLiteral("2V"));
        logic->ChooseFamily(MeasureFamily::Rtd);
        logic->SetLeadResistance(true);
        prompt.answers << QStringLiteral("10");
        logic->EnterLeadResistance();
        prompt.answers << QStringLiteral("3");
        logic->EnterAveragingTime();
        logic->ResetStatistics();
        Poll(QStringLiteral("P1.00%"));
        logic->SwitchHold();
        sender.TakeSent();

        logic->ResetHalf();
        QCOMPARE(sender.TakeSent(), QStringList({"M03"}));
        QCOMPARE(logic->Family(), MeasureFamily::Range);
        QCOMPARE(logic->CheckedRange(), QStringLiteral("25V"));
        QCOMPARE(state.meterText, QStringLiteral("0.000"));
        QCOMPARE(state.meterRangeName, QStringLiteral("25V"));
        QCOMPARE(state.meterUnit, QStringLiteral("V"));
        QCOMPARE(logic->MeterDecimals(), 3);
        QVERIFY(!state.holdOn);
        QVERIFY(logic->LeadResistanceChecked());
        QCOMPARE(logic->MeterRl(), 0.0);
        QCOMPARE(logic->LeadResistanceCaption(), QStringLiteral("0.00"));
        QCOMPARE(logic->AvgSeconds(), 10);
        QCOMPARE(logic->AveragingCaption(), QStringLiteral("10"));
        QCOMPARE(Stats(), QStringList({"0.000", "0.000", "0.000", "0.000"}));
        QVERIFY(!logic->Statistics().running);
        Poll(QStringLiteral("P1.000%"));
        QVERIFY(!timer.running);
    }

    void closingStopsAveragingUntilNextReset()
    {
        logic->ResetStatistics();
        logic->StopAveraging();
        QVERIFY(!timer.running);
        Poll(QStringLiteral("P1.000%"));
        QVERIFY(!timer.running);
        QCOMPARE(logic->Statistics().maxText, QStringLiteral("1.000"));
        logic->ResetStatistics();
        QVERIFY(timer.running);
    }
};

QTEST_GUILESS_MAIN(TestMeterLogic)
#include "tst_meterlogic.moc"
