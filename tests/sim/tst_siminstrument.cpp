// SPDX-License-Identifier: MIT
#include "SimInstrument.h"
#include "panel/MeasureRangeTable.h"
#include "panel/PanelState.h"
#include "panel/ReadingParser.h"
#include "panel/SourceRangeTable.h"

#include "link/NumberText.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The reading the control panel makes of a reply.
PanelMeterState AsPanel(const QByteArray& reply, int decimals)
{
    PanelMeterState state;
    ParseReading(QString::fromLatin1(reply), decimals, state);
    return state;
}

SimInstrument Prepared(const QList<QByteArray>& commands)
{
    SimInstrument instrument;
    instrument.SetNoise(false);
    for (const QByteArray& c : commands) {
        const QByteArray reply = instrument.Handle(c, 0);
        if (reply.contains(SimInstrument::nak))
            qWarning("set-up command refused: %s", c.constData());
    }
    return instrument;
}

} // namespace

class TestSimInstrument : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("first command") << QByteArray("I") << true;
        QTest::newRow("port test") << QByteArray("X") << true;
        QTest::newRow("operate") << QByteArray("S1") << true;
        QTest::newRow("standby") << QByteArray("S0") << true;
        QTest::newRow("50 mV") << QByteArray("C01") << true;
        QTest::newRow("automatic voltage") << QByteArray("C00") << true;
        QTest::newRow("4000 ohm") << QByteArray("C121") << true;
        QTest::newRow("K fixed junction") << QByteArray("C22") << true;
        QTest::newRow("B external junction") << QByteArray("C65") << true;
        QTest::newRow("S internal junction") << QByteArray("C40") << true;
        QTest::newRow("Cu100") << QByteArray("C102") << true;
        QTest::newRow("Ni100") << QByteArray("C90") << true;
        QTest::newRow("value with plus") << QByteArray("N+12.500") << true;
        QTest::newRow("value with minus") << QByteArray("N-0.001") << true;
        QTest::newRow("value without sign") << QByteArray("N5") << true;
        QTest::newRow("reference temperature") << QByteArray("T23.50") << true;
        QTest::newRow("lead resistance off") << QByteArray("R00.00") << true;
        QTest::newRow("measure lead resistance") << QByteArray("Q24.50") << true;
        QTest::newRow("measure 25 V") << QByteArray("M04") << true;
        QTest::newRow("measure external junction") << QByteArray("M131") << true;
        QTest::newRow("measure frequency") << QByteArray("M130") << true;
        QTest::newRow("empty frame") << QByteArray() << false;
        QTest::newRow("unknown source code") << QByteArray("C07") << false;
        QTest::newRow("source code of a measure range") << QByteArray("C04") << false;
        QTest::newRow("unknown measure code") << QByteArray("M05") << false;
        QTest::newRow("operate 2") << QByteArray("S2") << false;
        QTest::newRow("value without digits") << QByteArray("N+") << false;
        QTest::newRow("value with letters") << QByteArray("N12a") << false;
        QTest::newRow("value with two points") << QByteArray("N1.2.3") << false;
        QTest::newRow("value with comma") << QByteArray("N1,5") << false;
        QTest::newRow("unknown letter") << QByteArray("Z") << false;
        QTest::newRow("poll with argument") << QByteArray("P1") << false;
    }
    void commands()
    {
        QFETCH(QByteArray, command);
        QFETCH(bool, accepted);
        SimInstrument instrument;
        const QByteArray reply = instrument.Handle(command, 0);
        if (accepted)
            QCOMPARE(reply, '^' + command + '%');
        else
            QCOMPARE(reply, QByteArray(1, SimInstrument::nak));
    }

    void stateFollowsCommands()
    {
        SimInstrument instrument = Prepared({"C22", "T23.50", "N+100.0", "S1", "M82", "Q0.00"});
        QCOMPARE(instrument.SourceCode(), QByteArray("22"));
        QCOMPARE(instrument.ReferenceTemperature(), 23.5);
        QCOMPARE(instrument.SetPoint(), 100.0);
        QVERIFY(instrument.Operate());
        QCOMPARE(instrument.MeasureCode(), QByteArray("82"));
        // A refused command changes nothing.
        instrument.Handle("C07", 0);
        instrument.Handle("N12a", 0);
        QCOMPARE(instrument.SourceCode(), QByteArray("22"));
        QCOMPARE(instrument.SetPoint(), 100.0);
        // A new selection starts from zero, as the panel expects.
        instrument.Handle("C01", 0);
        QCOMPARE(instrument.SetPoint(), 0.0);
    }

    void reading_data()
    {
        QTest::addColumn<QList<QByteArray>>("commands");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        const int value = int(SimReading::Kind::Value);
        const int over = int(SimReading::Kind::OverRange);
        const int under = int(SimReading::Kind::UnderRange);
        using L = QList<QByteArray>;
        QTest::newRow("millivolts into the 25 V range")
            << L{"C01", "N+12.500", "S1", "M04"} << value << 0.0125;
        QTest::newRow("standby reads zero") << L{"C01", "N+12.500", "S0", "M04"} << value << 0.0;
        QTest::newRow("power-on is standby") << L{"C01", "N+12.500", "M04"} << value << 0.0;
        QTest::newRow("negative millivolts") << L{"C01", "N-40.000", "S1", "M01"} << value << -40.0;
        QTest::newRow("volts into millivolts")
            << L{"C03", "N+0.1234", "S1", "M02"} << value << 123.4;
        QTest::newRow("12 V beyond the 2 V range")
            << L{"C05", "N+13.000", "S1", "M03"} << over << 0.0;
        QTest::newRow("-12 V below the 2 V range")
            << L{"C05", "N-13.000", "S1", "M03"} << under << 0.0;
        QTest::newRow("current loop") << L{"C06", "N+12.000", "S1", "M06"} << value << 12.0;
        QTest::newRow("resistance") << L{"C121", "N+1500.0", "S1", "M121"} << value << 1500.0;
        QTest::newRow("resistance beyond 400 ohm")
            << L{"C121", "N+1500.0", "S1", "M120"} << over << 0.0;
        QTest::newRow("thermocouple loop-back")
            << L{"C22", "T20.00", "N+100.0", "S1", "M42"} << value << 100.0;
        QTest::newRow("thermocouple as millivolts")
            << L{"C42", "N+100.0", "S1", "M01"} << value << 4.1;
        QTest::newRow("K thermocouple read as J")
            << L{"C42", "N+100.0", "S1", "M41"} << value << 100 * 0.0410 / 0.0545;
        QTest::newRow("Pt100 as resistance")
            << L{"C82", "N+100.00", "S1", "M120"} << value << 138.5;
        QTest::newRow("resistance as Pt100")
            << L{"C120", "N+138.50", "S1", "M82"} << value << 100.0;
        QTest::newRow("B thermocouple below its range")
            << L{"C45", "N+100.0", "S1", "M45"} << under << 0.0;
        QTest::newRow("automatic range starts in millivolts")
            << L{"C00", "N+5.000", "S1", "M01"} << value << 5.0;
        QTest::newRow("automatic range in the 2 V sub-range")
            << L{"C00", "N+0.5495", "S1", "M02"} << value << 549.5;
        QTest::newRow("automatic range stays in volts for the 12 V sub-range")
            << L{"C00", "N+2.8000", "N+5.000", "S1", "M04"} << value << 5.0;
        QTest::newRow("automatic range back to millivolts")
            << L{"C00", "N+2.8000", "N+100.00", "S1", "M01"} << over << 0.0;
        QTest::newRow("automatic measure range in millivolts")
            << L{"C05", "N+12.000", "S1", "M00"} << value << 12000.0;
    }
    void reading()
    {
        QFETCH(QList<QByteArray>, commands);
        QFETCH(int, kind);
        QFETCH(double, value);
        SimInstrument instrument = Prepared(commands);
        const SimReading r = instrument.Measure(10);
        QCOMPARE(int(r.kind), kind);
        if (r.kind == SimReading::Kind::Value)
            QVERIFY2(qAbs(r.value - value) < 1e-9, qPrintable(QString::number(r.value)));
    }

    void unseenInputDrifts()
    {
        // A voltage source is not seen by the current range: it reads its own slow value.
        SimInstrument instrument = Prepared({"C01", "N+12.500", "S1", "M06"});
        const double first = instrument.Measure(0).value;
        const double later = instrument.Measure(20).value;
        QVERIFY(first != later);
        QVERIFY(qAbs(first - 12.0) <= 0.02 && qAbs(later - 12.0) <= 0.02);
    }

    void noiseIsSmall()
    {
        SimInstrument instrument = Prepared({"C01", "N+12.500", "S1", "M01"});
        instrument.SetNoise(true);
        QSet<QByteArray> replies;
        for (int i = 0; i < 40; ++i) {
            const QByteArray reply = instrument.Handle("P", 1);
            replies.insert(reply);
            QVERIFY2(qAbs(SignedReading(AsPanel(reply, 3)) - 12.5) <= 0.003, reply.constData());
        }
        QVERIFY2(replies.size() > 1, "the reading never moved");
    }

    void forcedRange()
    {
        SimInstrument instrument = Prepared({"C01", "N+1.000", "S1", "M01"});
        instrument.SetForcedRange(SimForcedRange::Over);
        QCOMPARE(instrument.Handle("P", 0), QByteArray("^+~~~~~~~%"));
        QCOMPARE(AsPanel("^+~~~~~~~%", 3).meterText, QString(6, QChar(0x2014)));
        instrument.SetForcedRange(SimForcedRange::Under);
        QCOMPARE(instrument.Handle("P", 0), QByteArray("^-_______%"));
        QCOMPARE(AsPanel("^-_______%", 3).meterText, QStringLiteral("______"));
        instrument.SetForcedRange(SimForcedRange::None);
        QCOMPARE(instrument.Handle("P", 0), QByteArray("^+001.000%"));
    }

    void replyFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("shown"); // what the panel makes of it, signed
        QTest::newRow("positive") << 12.5 << 3 << QByteArray("^+012.500%") << 12.5;
        QTest::newRow("negative") << -40.0 << 3 << QByteArray("^-040.000%") << -40.0;
        QTest::newRow("four decimals") << 2.75 << 4 << QByteArray("^+02.7500%") << 2.75;
        QTest::newRow("zero") << 0.0 << 2 << QByteArray("^+0000.00%") << 0.0;
        QTest::newRow("negative that rounds to zero has no minus")
            << -0.0004 << 3 << QByteArray("^+000.000%") << 0.0;
        QTest::newRow("decimals that do not fit are dropped")
            << 12345.678 << 3 << QByteArray("^+12345.7%") << 12345.7;
        QTest::newRow("whole number with a point")
            << 123456.4 << 1 << QByteArray("^+123456.%") << 123456.0;
    }
    void replyFormat()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QByteArray, reply);
        QFETCH(double, shown);
        SimReading r;
        r.value = value;
        r.decimals = decimals;
        QCOMPARE(SimInstrument::ReadingReply(r), reply);
        const PanelMeterState panel = AsPanel(reply, decimals);
        QCOMPARE(panel.meterText, FormatFixed(qAbs(shown), decimals));
        QCOMPARE(SignedReading(panel), shown);
    }

    void tooWideIsOverRange()
    {
        SimReading r;
        r.value = 12345678;
        r.decimals = 1;
        QCOMPARE(SimInstrument::ReadingReply(r), QByteArray("^+~~~~~~~%"));
        r.value = -12345678;
        QCOMPARE(SimInstrument::ReadingReply(r), QByteArray("^-_______%"));
    }

    void everyPanelCommandIsAccepted()
    {
        SimInstrument instrument;
        QStringList commands;
        for (const SourceRange& row : SourceRangeTable()) {
            for (const QString& code : row.codes)
                commands << code << QStringLiteral("N+") + row.format
                         << QStringLiteral("N-") + FormatFixed(-row.min, row.decimals)
                         << QStringLiteral("T23.50") << QStringLiteral("R24.50");
        }
        for (const MeasureRange& row : MeasureRangeTable::Rows())
            commands << row.command << QStringLiteral("Q0.00") << QStringLiteral("P");
        commands << QStringLiteral("R00.00") << QStringLiteral("Q00.00");
        QVERIFY(commands.size() > 100);
        for (const QString& c : commands) {
            const QByteArray reply = instrument.Handle(c.toLatin1(), 0);
            QVERIFY2(reply.contains('%') && !reply.contains(SimInstrument::nak), qPrintable(c));
        }
    }

    void everyMeasureFunctionAnswersInForm()
    {
        const QRegularExpression form(
            QStringLiteral("^\\^[+-][0-9.]{7}%$|^\\^\\+~{7}%$|^\\^-_{7}%$"));
        for (const char* code :
             {"00", "01", "02", "03", "04", "06", "120", "121", "130", "131", "43", "40",
              "45", "41", "44", "46", "42", "82", "83",  "85",  "86",  "102", "90"}) {
            SimInstrument instrument;
            QCOMPARE(instrument.Handle("M" + QByteArray(code), 0), "^M" + QByteArray(code) + '%');
            for (double t : {0.0, 30.0, 61.5}) {
                const QByteArray reply = instrument.Handle("P", t);
                QVERIFY2(form.match(QString::fromLatin1(reply)).hasMatch(),
                         qPrintable(QStringLiteral("M%1: %2").arg(code, reply)));
                QCOMPARE(reply.indexOf('%'), 9);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSimInstrument)
#include "tst_siminstrument.moc"
