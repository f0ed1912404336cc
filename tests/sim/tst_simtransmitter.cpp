// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SimEngine.h"

#include <QTest>

#include <cmath>

namespace {

// The engine with the K transmitter's set-point applied and the output polled at `seconds`.
QByteArray ReadingAt(SimEngine& engine, const QByteArray& setpoint, double seconds)
{
    for (const QByteArray& c : {QByteArray("C42"), QByteArray("M06"), QByteArray("S1"), setpoint})
        engine.instrument.Handle(c, seconds);
    return engine.instrument.Handle("P", seconds);
}

} // namespace

class TestSimTransmitter : public QObject
{
    Q_OBJECT

private slots:
    // The steady output: transfer function, zero and span errors, as the "P" reply carries it.
    void steadyOutput_data()
    {
        DataColumns<QString, QString, QString>("settings", "setpoint", "reply");
        DataRow("linear without error", "in=0:500 out=4:20", "N125.0", "^+008.000%");
        DataRow("zero error at 0 %", "in=0:500,out=4:20,zero=0.5", "N0.0", "^+004.080%");
        DataRow("zero and span at 25 %", "in=0:500 out=4:20 zero=0.5 span=-0.2", "N125.0",
                "^+008.072%");
        DataRow("square root at 25 %", "in=0:500 out=4:20 function=sqrt", "N125.0", "^+012.000%");
        DataRow("reversed output at 75 %", "in=0:500 out=20:4", "N375.0", "^+008.000%");
    }
    void steadyOutput()
    {
        QFETCH(QString, settings);
        QFETCH(QString, setpoint);
        QFETCH(QString, reply);
        SimEngine engine;
        engine.instrument.SetNoise(false);
        QCOMPARE(engine.Control(QStringLiteral("transmitter ") + settings), QString());
        QCOMPARE(ReadingAt(engine, setpoint.toLatin1(), 0), reply.toLatin1());
    }

    void trimKeepsTheRest()
    {
        SimEngine engine;
        engine.instrument.SetNoise(false);
        QCOMPARE(engine.Control(QStringLiteral("transmitter in=0:500 out=4:20 zero=0.5")),
                 QString());
        QCOMPARE(engine.Control(QStringLiteral("transmitter zero=0")), QString());
        QCOMPARE(ReadingAt(engine, "N500.0", 0), QByteArray("^+020.000%"));
        QCOMPARE(engine.Control(QStringLiteral("transmitter off")), QString());
        QVERIFY(!engine.instrument.Transmitter().On());
    }

    // After a step the output has come 1 − 1/e of the way in one time constant.
    void firstOrderLag()
    {
        SimEngine engine;
        engine.instrument.SetNoise(false);
        QCOMPARE(engine.Control(QStringLiteral("transmitter in=0:500 out=4:20 lag=2")), QString());
        ReadingAt(engine, "N0.0", 0);
        engine.instrument.Handle("N500.0", 0);
        const double expected = 4 + 16 * (1 - std::exp(-1.0));
        QCOMPARE(engine.instrument.Measure(2).value, expected);
        QVERIFY(qAbs(engine.instrument.Measure(60).value - 20) < 1e-9);
    }

    // An alarm unit on a 4-20 mA input: its contact reads 10 V from 12.5 mA up, and 0 V again
    // from 11.5 mA down; between the two it keeps its state.
    void switchWithDeadband()
    {
        SimEngine engine;
        engine.instrument.SetNoise(false);
        QCOMPARE(engine.Control(QStringLiteral("transmitter in=4:20 out=0:10 switch=12.5:11.5")),
                 QString());
        for (const QByteArray& c : {QByteArray("C06"), QByteArray("M04"), QByteArray("S1")})
            engine.instrument.Handle(c, 0);
        const QList<QPair<QByteArray, QByteArray>> course = {{"N12.400", "^+000.000%"},
                                                             {"N12.500", "^+010.000%"},
                                                             {"N11.600", "^+010.000%"},
                                                             {"N11.500", "^+000.000%"},
                                                             {"N12.000", "^+000.000%"}};
        for (const auto& [setpoint, reply] : course) {
            engine.instrument.Handle(setpoint, 0);
            QCOMPARE(engine.instrument.Handle("P", 0), reply);
        }
        QCOMPARE(engine.Control(QStringLiteral("transmitter switch=off")), QString());
        engine.instrument.Handle("N12.000", 0);
        QCOMPARE(engine.instrument.Handle("P", 0), QByteArray("^+005.000%"));
    }

    void refused_data()
    {
        DataColumns<QString, QString>("line", "error");
        DataRow("unknown setting", "transmitter gain=2",
                "nieznane ustawienie przetwornika \"gain=2\"");
        DataRow("range without a colon", "transmitter in=500",
                "błędne ustawienie przetwornika \"in=500\"");
        DataRow("equal range ends", "transmitter out=4:4",
                "błędne ustawienie przetwornika \"out=4:4\"");
        DataRow("negative lag", "transmitter lag=-1", "błędne ustawienie przetwornika \"lag=-1\"");
        DataRow("nothing", "transmitter", "brak ustawień przetwornika");
        DataRow("switch without a reset", "transmitter switch=12",
                "błędne ustawienie przetwornika \"switch=12\"");
    }
    void refused()
    {
        QFETCH(QString, line);
        QFETCH(QString, error);
        SimEngine engine;
        QCOMPARE(engine.Control(line), error);
        QVERIFY(!engine.instrument.Transmitter().On());
    }
};

QTEST_GUILESS_MAIN(TestSimTransmitter)
#include "tst_simtransmitter.moc"
