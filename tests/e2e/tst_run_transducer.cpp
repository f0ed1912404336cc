// SPDX-License-Identifier: MIT
// r718-run transducer against r718-sim's transmitter: the table and JSON, the file written,
// the exit codes.

#include "DataRows.h"
#include "SimProcess.h"
#include "TransducerTestDocs.h"
#include "core/link/CalFunctionTable.h"
#include "core/transducer/TransducerFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

Outcome RunTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(R718_RUN), arguments);
    Outcome o;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return o;
    }
    o.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    o.out = QString::fromUtf8(process.readAllStandardOutput());
    o.err = QString::fromUtf8(process.readAllStandardError());
    return o;
}

} // namespace

class TestRunTransducer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    QString file;

    void WriteDoc(TransducerDoc doc)
    {
        doc.settlingSeconds = 0;
        doc.readingsAveraged = 1;
        QString message;
        QVERIFY2(TransducerFile::Save(file, doc, &message), qPrintable(message));
    }

private slots:
    void initTestCase()
    {
        FillCalFunctionTable();
        file = folder.filePath(QStringLiteral("k.r718t"));
    }

    void refused_data()
    {
        DataColumns<QStringList, int, QString>("arguments", "code", "message");
        DataRow("no command", QStringList{}, 2, "r718-run: brak polecenia.");
        DataRow("unknown command", QStringList{"meter"}, 2,
                "r718-run: nieznane polecenie \"meter\".");
        DataRow("no device", QStringList{"transducer", "k.r718t"}, 2,
                "r718-run: brak opcji --device ze ścieżką kalibratora.");
        DataRow("unknown option", QStringList{"transducer", "k.r718t", "--device", "x", "--pdf"}, 2,
                "r718-run: nieznana opcja --pdf polecenia transducer.");
        DataRow("missing file", QStringList{"transducer", "/nonexistent/k.r718t", "--device", "x"},
                1,
                "r718-run: nie udało się odczytać pliku /nonexistent/k.r718t: Plik lub folder nie "
                "istnieje.");
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Outcome o = RunTool(arguments);
        QCOMPARE(o.code, code);
        QCOMPARE(o.err.split(QLatin1Char('\n')).first(), message);
        QVERIFY(o.out.isEmpty());
    }

    void definitionRefusedNamesTheField()
    {
        TransducerDoc doc = TransducerTestDocs::ThermocoupleK();
        doc.tolerance.percentOfSpan = 0;
        WriteDoc(doc);
        const Outcome o = RunTool({QStringLiteral("transducer"), file, QStringLiteral("--device"),
                                   QStringLiteral("/nonexistent")});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains(QStringLiteral("Tolerancja (% zakresu)")), qPrintable(o.err));
    }

    // As found with the transmitter's error, as left after the trim: exit 0 both times, the
    // verdict in the output, both runs in the file. Three points of the five at real speed.
    void asFoundThenAsLeft()
    {
        SimProcess sim;
        QVERIFY2(
            sim.Start({QStringLiteral("--transmitter"),
                       QStringLiteral("in=0:500,out=4:20,zero=0.5"), QStringLiteral("--no-noise")}),
            qPrintable(sim.LastError()));
        TransducerDoc doc = TransducerTestDocs::ThermocoupleK();
        doc.points = {0, 25, 50};
        WriteDoc(doc);
        const QStringList run{QStringLiteral("transducer"), file, QStringLiteral("--device"),
                              sim.LinkPath()};

        Outcome o = RunTool(run);
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.contains(QStringLiteral("  25.0            125.0            8.000        "
                                               "    8.080    +0.500     0.250  niezgodny\n")),
                 qPrintable(o.out));
        QVERIFY(o.out.endsWith(QStringLiteral("Wynik: NIEZGODNY\n")));

        QVERIFY(sim.Control(QStringLiteral("transmitter zero=0")));
        o = RunTool(run + QStringList{QStringLiteral("--as-left"), QStringLiteral("--json")});
        QCOMPARE(o.code, 0);
        const QJsonObject json = QJsonDocument::fromJson(o.out.toUtf8()).object();
        QCOMPARE(json.value(QStringLiteral("run")).toString(), QStringLiteral("as-left"));
        QCOMPARE(json.value(QStringLiteral("verdict")).toString(), QStringLiteral("pass"));
        const QJsonObject third = json.value(QStringLiteral("points")).toArray().at(2).toObject();
        QCOMPARE(third.value(QStringLiteral("input")).toString(), QStringLiteral("250.0"));
        QCOMPARE(third.value(QStringLiteral("expected")).toDouble(), 12.0);
        QCOMPARE(third.value(QStringLiteral("measured")).toDouble(), 12.0);

        TransducerDoc back;
        QString message;
        QVERIFY(TransducerFile::Load(file, &back, &message));
        QCOMPARE(back.asFound.points.size(), 3);
        QCOMPARE(back.asFound.points[0].measured, 4.08);
        QCOMPARE(back.asLeft.points.size(), 3);
    }

    void linkLostIsAFailedJob()
    {
        SimProcess sim;
        QVERIFY2(sim.Start({QStringLiteral("--silence-forever")}), qPrintable(sim.LastError()));
        WriteDoc(TransducerTestDocs::ThermocoupleK());
        const Outcome o = RunTool(
            {QStringLiteral("transducer"), file, QStringLiteral("--device"), sim.LinkPath()});
        QCOMPARE(o.code, 1);
        QCOMPARE(o.err.count(QStringLiteral("brak komunikacji z portem COM")), 1);
        QVERIFY2(o.err.contains(QStringLiteral("zapisano 0 punktów")), qPrintable(o.err));
    }
};

QTEST_GUILESS_MAIN(TestRunTransducer)
#include "tst_run_transducer.moc"
