// SPDX-License-Identifier: MIT
// r718-run program against r718-sim with an alarm unit on its measure side, at real speed: its
// table, JSON, log and exit codes. The run's frames, trip points and a link given up are
// tested on virtual time (tst_program_sim).

#include "DataRows.h"
#include "SimProcess.h"
#include "core/link/CalFunctionTable.h"
#include "core/program/ProgramFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The unit trips at 12.5 mA rising and resets at 11.5 mA falling; its contact reads 0 or 10 V.
const QStringList alarmUnit{QStringLiteral("--transmitter"),
                            QStringLiteral("in=4:20,out=0:10,switch=12.5:11.5"),
                            QStringLiteral("--no-noise")};

// The shortest staircase that trips and resets the unit: 11 → 13 → 11 mA in 1 mA steps, each
// held for a set-point and one poll (with room for a busy machine).
ProgramDoc Staircase()
{
    ProgramDoc doc;
    doc.measureRange = QStringLiteral("25V");
    doc.trip = {true, TripDirection::RisesAbove, 5};
    ProgramSegment s;
    s.kind = SegmentKind::Staircase;
    s.from = 11;
    s.to = 13;
    s.step = 1;
    s.dwellSeconds = 1.3;
    doc.segments << s;
    return doc;
}

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

class TestRunProgram : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void runTool()
    {
        SimProcess sim;
        QVERIFY2(sim.Start(alarmUnit), qPrintable(sim.LastError()));
        const QString file = folder.filePath(QStringLiteral("p.r718p"));
        const QString log = folder.filePath(QStringLiteral("p.csv"));
        ProgramDoc doc = Staircase();
        doc.name = QStringLiteral("Alarm");
        QString message;
        QVERIFY(ProgramFile::Save(file, doc, &message));
        const QStringList run{QStringLiteral("program"), file, QStringLiteral("--device"),
                              sim.LinkPath()};

        Outcome o = RunTool(run + QStringList{QStringLiteral("--log"), log});
        QCOMPARE(o.code, 0);
        // The times depend on the line; the values do not.
        const QString heading = QStringLiteral(
            "Program Alarm: zakończony\n"
            "Punkty zadziałania (odczyt powyżej 5.000 V):\n"
            "  Nr Przebieg  Zadziałanie [mA] Czas [s]   Powrót [mA] Czas [s]   Strefa "
            "nieczułości [mA]\n");
        QVERIFY2(o.out.startsWith(heading), qPrintable(o.out));
        static const QRegularExpression row(QStringLiteral(
            "^   1        1            13\\.000 +\\d+\\.\\d +11\\.000 +\\d+\\.\\d +2\\.000\n$"));
        QVERIFY2(row.match(o.out.mid(heading.size())).hasMatch(), qPrintable(o.out));
        QFile csv(log);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + 10 + 1);
        QVERIFY2(lines[2].contains(";odczyt;1;1;11,000;0,000;"), lines[2].constData());

        o = RunTool(run + QStringList{QStringLiteral("--json")});
        QCOMPARE(o.code, 0);
        const QJsonObject json = QJsonDocument::fromJson(o.out.toUtf8()).object();
        QCOMPARE(json.value(QStringLiteral("end")).toString(), QStringLiteral("completed"));
        const QJsonObject trip = json.value(QStringLiteral("trips")).toArray().at(0).toObject();
        QCOMPARE(trip.value(QStringLiteral("trip")).toDouble(), 13.0);
        QCOMPARE(trip.value(QStringLiteral("reset")).toDouble(), 11.0);
        QCOMPARE(trip.value(QStringLiteral("deadband")).toDouble(), 2.0);
    }

    void runToolRefuses_data()
    {
        DataColumns<QStringList, int, QString>("arguments", "code", "message");
        DataRow("no device", QStringList{"program", "p.r718p"}, 2,
                "r718-run: brak opcji --device ze ścieżką kalibratora.");
        DataRow("option of the other command",
                QStringList{"program", "p.r718p", "--device", "x", "--as-left"}, 2,
                "r718-run: nieznana opcja --as-left polecenia program.");
        DataRow("missing file", QStringList{"program", "/nonexistent/p.r718p", "--device", "x"}, 1,
                "r718-run: nie udało się odczytać pliku /nonexistent/p.r718p: Plik lub folder "
                "nie istnieje.");
    }
    void runToolRefuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Outcome o = RunTool(arguments);
        QCOMPARE(o.code, code);
        QCOMPARE(o.err.split(QLatin1Char('\n')).first(), message);
        QVERIFY(o.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRunProgram)
#include "tst_run_program.moc"
