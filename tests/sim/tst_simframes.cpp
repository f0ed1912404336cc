// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "SimEngine.h"
#include "SimFrameLog.h"

#include <QTest>

class TestSimFrames : public QObject
{
    Q_OBJECT

private slots:
    void parser_data()
    {
        DataColumns<QList<QByteArray>, QList<QByteArray>>("reads", "frames");
        using L = QList<QByteArray>;
        DataRow("one frame", L{"^C01%"}, L{"^C01%"});
        DataRow("byte by byte", L{"^", "C", "0", "1", "%"}, L{"^C01%"});
        DataRow("two frames in one read", L{"^I%^X%"}, L{"^I%", "^X%"});
        DataRow("noise before the frame", L{"x%\x15^P%"}, L{"^P%"});
        DataRow("a caret starts over", L{"^C0", "^P%"}, L{"^P%"});
        DataRow("empty frame", L{"^%"}, L{"^%"});
        DataRow("overlong frame is dropped",
                L{"^" + QByteArray(SimFrameParser::maxCommandLength + 1, '1') + "%^X%"}, L{"^X%"});
        DataRow("longest frame", L{"^" + QByteArray(40, '1') + "%"},
                L{"^" + QByteArray(40, '1') + "%"});
    }
    void parser()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QList<QByteArray>, frames);
        SimFrameParser parser;
        QList<QByteArray> got;
        for (const QByteArray& r : reads)
            got += parser.Feed(r);
        QCOMPARE(got, frames);
    }

    void faultSequence_data()
    {
        DataColumns<QStringList, QStringList>("controls", "actions");
        DataRow("none", QStringList{}, QStringList{"answer", "answer"});
        DataRow("two NAKs", QStringList{"nak 2"}, QStringList{"nak", "nak", "answer"});
        DataRow("silence before NAK", QStringList{"nak 1", "silence 1"},
                QStringList{"silence", "nak", "answer"});
        DataRow("garbage last", QStringList{"garbage 1", "nak 1"},
                QStringList{"nak", "garbage", "answer"});
        DataRow("silence forever", QStringList{"silence forever"},
                QStringList{"silence", "silence", "silence", "silence", "silence", "silence"});
        DataRow("silence off ends it", QStringList{"silence forever", "silence off"},
                QStringList{"answer"});
        DataRow("clear", QStringList{"nak 3", "garbage 2", "clear"}, QStringList{"answer"});
        DataRow("upper case", QStringList{"NAK 1"}, QStringList{"nak", "answer"});
    }
    void faultSequence()
    {
        QFETCH(QStringList, controls);
        QFETCH(QStringList, actions);
        SimEngine engine;
        for (const QString& c : controls)
            QCOMPARE(engine.plan.Apply(c), QString());
        QStringList got;
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const QList<SimFrameResult> r = engine.Feed("^X%", 0);
            QCOMPARE(r.size(), 1);
            got << QString::fromLatin1(ActionName(r[0].action));
        }
        QCOMPARE(got, actions);
    }

    // Refused with the reason in Polish; the control words stay as they are.
    void badControlLines_data()
    {
        DataColumns<QString, QString>("line", "reason");
        DataRow("count missing", "nak", "nieznany wiersz sterujący: nak");
        DataRow("negative count", "silence -1", "silence wymaga liczby ramek");
        DataRow("count not a number", "garbage many", "garbage wymaga liczby ramek");
        DataRow("switch without on or off", "over-range maybe", "over-range przyjmuje on albo off");
        DataRow("unknown", "explode", "nieznany wiersz sterujący: explode");
        DataRow("too many words", "nak 1 2", "za dużo słów w wierszu sterującym: nak 1 2");
        DataRow("split without a count", "split", "nieznany wiersz sterujący: split");
        DataRow("split pause not a number", "split 1 soon",
                "split przyjmuje przerwę od 0 do 10000 ms");
        DataRow("hang-up point unknown", "hangup-mid later",
                "hangup-mid przyjmuje frame, reply albo off");
        DataRow("late without a delay", "late", "nieznany wiersz sterujący: late");
        DataRow("late count not a number", "late 450 often",
                "late przyjmuje liczbę odpowiedzi albo forever");
        DataRow("empty", "  ", "pusty wiersz sterujący");
    }
    void badControlLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        SimFaultPlan plan;
        QCOMPARE(plan.Apply(line), reason);
        QCOMPARE(plan.NextFrame(), SimAction::Answer);
    }

    void replies()
    {
        SimEngine engine;
        engine.plan.Apply(QStringLiteral("nak 1"));
        engine.plan.Apply(QStringLiteral("garbage 50"));
        QCOMPARE(engine.Feed("^C01%", 0).at(0).reply, QByteArray(1, SimInstrument::nak));
        // Garbage is never accepted: no acknowledgement in it, and no NAK either.
        for (int i = 0; i < 50; ++i) {
            const QByteArray g = engine.Feed("^P%", 0).at(0).reply;
            QVERIFY(!g.isEmpty());
            QVERIFY2(!g.contains('%') && !g.contains(SimInstrument::nak), g.constData());
        }
        const SimFrameResult answered = engine.Feed("^C02%", 0).at(0);
        QCOMPARE(answered.action, SimAction::Answer);
        QCOMPARE(answered.reply, QByteArray("^C02%"));
        QCOMPARE(engine.instrument.SourceCode(), QByteArray("02"));
        engine.plan.Apply(QStringLiteral("silence 1"));
        QCOMPARE(engine.Feed("^P%", 0).at(0).reply, QByteArray());
    }

    void forcedRangeReachesThePoll()
    {
        SimEngine engine;
        QCOMPARE(engine.plan.Apply(QStringLiteral("over-range on")), QString());
        QCOMPARE(engine.Feed("^P%", 0).at(0).reply, QByteArray("^+~~~~~~~%"));
        // The last one asked for wins.
        engine.plan.Apply(QStringLiteral("under-range on"));
        QCOMPARE(engine.Feed("^P%", 0).at(0).reply, QByteArray("^-_______%"));
        engine.plan.Apply(QStringLiteral("under-range off"));
        QVERIFY(!engine.Feed("^P%", 0).at(0).reply.contains('_'));
    }

    void hangUpAfterFrames()
    {
        SimEngine engine;
        engine.plan.Apply(QStringLiteral("hangup-after 2"));
        QList<SimFrameResult> r = engine.Feed("^I%", 0);
        QVERIFY(!r.at(0).hangUp);
        // The second frame is answered, then the line goes: the third is lost with it.
        r = engine.Feed("^X%^S1%", 0);
        QCOMPARE(r.size(), 1);
        QVERIFY(r.at(0).hangUp);
        QCOMPARE(r.at(0).reply, QByteArray("^X%"));
        QVERIFY(!engine.Feed("^S1%", 0).at(0).hangUp);
        QVERIFY(!engine.plan.TakeHangUpRequest());
        engine.plan.Apply(QStringLiteral("hangup"));
        QVERIFY(engine.plan.TakeHangUpRequest());
        QVERIFY(!engine.plan.TakeHangUpRequest());
    }

    void splitReplies()
    {
        SimEngine engine;
        QCOMPARE(engine.plan.Apply(QStringLiteral("split 2 300")), QString());
        // A one-byte reply cannot be split and does not use a split up.
        QCOMPARE(engine.Feed("^Z%", 0).at(0).splitPauseMs, 0);
        QCOMPARE(engine.Feed("^I%", 0).at(0).splitPauseMs, 300);
        QCOMPARE(engine.plan.Apply(QStringLiteral("split 5")), QString()); // keeps 300 ms
        QCOMPARE(engine.Feed("^X%", 0).at(0).splitPauseMs, 300);
        engine.plan.Apply(QStringLiteral("clear"));
        QCOMPARE(engine.Feed("^X%", 0).at(0).splitPauseMs, 0);
    }

    // Late replies: counted ones are used up by replies only, "forever" until "late off".
    void lateReplies()
    {
        SimEngine engine;
        QCOMPARE(engine.plan.Apply(QStringLiteral("late 450 2")), QString());
        QCOMPARE(engine.plan.Apply(QStringLiteral("silence 1")), QString());
        QList<int> late;
        for (int i = 0; i < 4; ++i)
            late << engine.Feed("^X%", 0).at(0).lateMs;
        QCOMPARE(late, QList<int>({0, 450, 450, 0}));
        QCOMPARE(engine.plan.Apply(QStringLiteral("late 1000")), QString());
        QCOMPARE(engine.Feed("^X%^X%", 0).at(1).lateMs, 0);
        QCOMPARE(engine.plan.Apply(QStringLiteral("late 1000 forever")), QString());
        QCOMPARE(engine.Feed("^X%^X%^X%", 0).at(2).lateMs, 1000);
        QCOMPARE(engine.plan.Apply(QStringLiteral("late off")), QString());
        QCOMPARE(engine.Feed("^X%", 0).at(0).lateMs, 0);
    }

    void hangUpInTheMiddle()
    {
        SimEngine engine;
        QCOMPARE(engine.plan.Apply(QStringLiteral("hangup-mid frame")), QString());
        // "^" alone does not cut; the next byte does, and the rest of the frame is lost.
        QVERIFY(engine.Feed("^", 0).isEmpty());
        QList<SimFrameResult> r = engine.Feed("C01%", 0);
        QCOMPARE(r.size(), 1);
        QVERIFY(r[0].partial && r[0].hangUp);
        QCOMPARE(r[0].frame, QByteArray("^C"));
        QVERIFY(engine.Feed("01%", 0).isEmpty());

        QCOMPARE(engine.plan.Apply(QStringLiteral("hangup-mid reply")), QString());
        r = engine.Feed("^C01%^X%", 0);
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0].frame, QByteArray("^C01%"));
        QVERIFY(r[0].hangUp && !r[0].partial && r[0].reply.isEmpty());
        // Used up: the next frame is answered.
        r = engine.Feed("^X%", 0);
        QCOMPARE(r.at(0).reply, QByteArray("^X%"));
        QVERIFY(!r.at(0).hangUp);

        QVERIFY(!engine.plan.TakePlugInRequest());
        QCOMPARE(engine.plan.Apply(QStringLiteral("plug-in")), QString());
        QVERIFY(engine.plan.TakePlugInRequest());
        QCOMPARE(engine.plan.Apply(QStringLiteral("stay-away on")), QString());
        QVERIFY(engine.plan.stayAway);
    }

    void logEscapes()
    {
        QCOMPARE(SimFrameLog::Escape(QByteArray("^P%\x15\t\\")), QByteArray("^P%\\x15\\x09\\x5c"));
    }
};

QTEST_GUILESS_MAIN(TestSimFrames)
#include "tst_simframes.moc"
