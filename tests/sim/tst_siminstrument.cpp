// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SimInstrument.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"
#include "core/panel/SourceRangeTable.h"

#include "core/link/NumberText.h"

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
        DataColumns<QByteArray, bool>("command", "accepted");
        DataRow("first command", QByteArray("I"), true);
        DataRow("port test", QByteArray("X"), true);
        DataRow("operate", QByteArray("S1"), true);
        DataRow("standby", QByteArray("S0"), true);
        DataRow("50 mV", QByteArray("C01"), true);
        DataRow("automatic voltage", QByteArray("C00"), true);
        DataRow("4000 ohm", QByteArray("C121"), true);
        DataRow("K fixed junction", QByteArray("C22"), true);
        DataRow("B external junction", QByteArray("C65"), true);
        DataRow("S internal junction", QByteArray("C40"), true);
        DataRow("Cu100", QByteArray("C102"), true);
        DataRow("Ni100", QByteArray("C90"), true);
        DataRow("value with plus", QByteArray("N+12.500"), true);
        DataRow("value with minus", QByteArray("N-0.001"), true);
        DataRow("value without sign", QByteArray("N5"), true);
        DataRow("reference temperature", QByteArray("T23.50"), true);
        DataRow("lead resistance off", QByteArray("R00.00"), true);
        DataRow("measure lead resistance", QByteArray("Q24.50"), true);
        DataRow("measure 25 V", QByteArray("M04"), true);
        DataRow("measure external junction", QByteArray("M131"), true);
        DataRow("measure frequency", QByteArray("M130"), true);
        DataRow("empty frame", QByteArray(), false);
        DataRow("unknown source code", QByteArray("C07"), false);
        DataRow("source code of a measure range", QByteArray("C04"), false);
        DataRow("unknown measure code", QByteArray("M05"), false);
        DataRow("operate 2", QByteArray("S2"), false);
        DataRow("value without digits", QByteArray("N+"), false);
        DataRow("value with letters", QByteArray("N12a"), false);
        DataRow("value with two points", QByteArray("N1.2.3"), false);
        DataRow("value with comma", QByteArray("N1,5"), false);
        DataRow("unknown letter", QByteArray("Z"), false);
        DataRow("poll with argument", QByteArray("P1"), false);
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
        DataColumns<QList<QByteArray>, int, double>("commands", "kind", "value");
        const int value = int(SimReading::Kind::Value);
        const int over = int(SimReading::Kind::OverRange);
        const int under = int(SimReading::Kind::UnderRange);
        using L = QList<QByteArray>;
        DataRow("millivolts into the 25 V range", L{"C01", "N+12.500", "S1", "M04"}, value, 0.0125);
        DataRow("standby reads zero", L{"C01", "N+12.500", "S0", "M04"}, value, 0.0);
        DataRow("power-on is standby", L{"C01", "N+12.500", "M04"}, value, 0.0);
        DataRow("negative millivolts", L{"C01", "N-40.000", "S1", "M01"}, value, -40.0);
        DataRow("volts into millivolts", L{"C03", "N+0.1234", "S1", "M02"}, value, 123.4);
        DataRow("12 V beyond the 2 V range", L{"C05", "N+13.000", "S1", "M03"}, over, 0.0);
        DataRow("-12 V below the 2 V range", L{"C05", "N-13.000", "S1", "M03"}, under, 0.0);
        DataRow("current loop", L{"C06", "N+12.000", "S1", "M06"}, value, 12.0);
        DataRow("resistance", L{"C121", "N+1500.0", "S1", "M121"}, value, 1500.0);
        DataRow("resistance beyond 400 ohm", L{"C121", "N+1500.0", "S1", "M120"}, over, 0.0);
        DataRow("thermocouple loop-back", L{"C22", "T20.00", "N+100.0", "S1", "M42"}, value, 100.0);
        DataRow("thermocouple as millivolts", L{"C42", "N+100.0", "S1", "M01"}, value, 4.1);
        DataRow("K thermocouple read as J", L{"C42", "N+100.0", "S1", "M41"}, value,
                100 * 0.0410 / 0.0545);
        DataRow("Pt100 as resistance", L{"C82", "N+100.00", "S1", "M120"}, value, 138.5);
        DataRow("resistance as Pt100", L{"C120", "N+138.50", "S1", "M82"}, value, 100.0);
        DataRow("B thermocouple below its range", L{"C45", "N+100.0", "S1", "M45"}, under, 0.0);
        DataRow("automatic range starts in millivolts", L{"C00", "N+5.000", "S1", "M01"}, value,
                5.0);
        DataRow("automatic range in the 2 V sub-range", L{"C00", "N+0.5495", "S1", "M02"}, value,
                549.5);
        DataRow("automatic range stays in volts for the 12 V sub-range",
                L{"C00", "N+2.8000", "N+5.000", "S1", "M04"}, value, 5.0);
        DataRow("automatic range back to millivolts", L{"C00", "N+2.8000", "N+100.00", "S1", "M01"},
                over, 0.0);
        DataRow("automatic measure range in millivolts", L{"C05", "N+12.000", "S1", "M00"}, value,
                12000.0);
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
        DataColumns<double, int, QByteArray>("value", "decimals", "reply");
        QTest::addColumn<double>("shown"); // what the panel makes of it, signed
        DataRow("positive", 12.5, 3, QByteArray("^+012.500%"), 12.5);
        DataRow("negative", -40.0, 3, QByteArray("^-040.000%"), -40.0);
        DataRow("four decimals", 2.75, 4, QByteArray("^+02.7500%"), 2.75);
        DataRow("zero", 0.0, 2, QByteArray("^+0000.00%"), 0.0);
        DataRow("negative that rounds to zero has no minus", -0.0004, 3, QByteArray("^+000.000%"),
                0.0);
        DataRow("decimals that do not fit are dropped", 12345.678, 3, QByteArray("^+12345.7%"),
                12345.7);
        DataRow("whole number with a point", 123456.4, 1, QByteArray("^+123456.%"), 123456.0);
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
