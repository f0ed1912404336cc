// SPDX-License-Identifier: MIT
// The source program's definition: what the editor refuses and how it says so, the file
// (round trip, a damaged or newer file refused with nothing changed), the example, the log as
// CSV.

#include "DataRows.h"
#include "core/link/CalFunctionTable.h"
#include "core/program/ProgramExport.h"
#include "core/program/ProgramFile.h"
#include "core/program/ProgramForm.h"
#include "core/program/ProgramPlan.h"
#include "core/program/ProgramText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Current sourced, voltage measured: a staircase 4 → 20 → 4 mA, rising trip at 5 V.
ProgramForm Staircase()
{
    ProgramForm f;
    f.measureRange = QStringLiteral("25V");
    f.tripEnabled = true;
    f.threshold = QStringLiteral("5");
    f.rows << ProgramForm::Row{SegmentKind::Staircase,
                               QStringLiteral("4"),
                               QStringLiteral("20"),
                               QStringLiteral("1"),
                               QStringLiteral("2"),
                               {},
                               {}};
    return f;
}

ProgramForm::Row HoldRow(const QString& value, const QString& seconds)
{
    return {SegmentKind::Hold, value, {}, {}, seconds, {}, {}};
}

ProgramForm::Row RepeatRow(const QString& first, const QString& times)
{
    return {SegmentKind::Repeat, {}, {}, {}, {}, first, times};
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestProgramDoc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void refused_data()
    {
        DataColumns<ProgramForm, int, QString>("form", "segment", "message");
        ProgramForm outside = Staircase();
        outside.rows[0].to = QStringLiteral("25");
        ProgramForm typo = Staircase();
        typo.rows << HoldRow(QStringLiteral("4"), QStringLiteral("2,x"));
        ProgramForm tooShort = Staircase();
        tooShort.rows[0].dwell = QStringLiteral("0,5");
        ProgramForm shortNoMeasure = Staircase();
        shortNoMeasure.tripEnabled = false;
        shortNoMeasure.measureRange.clear();
        shortNoMeasure.rows[0].dwell = QStringLiteral("0.5");
        ProgramForm fineStep = Staircase();
        fineStep.rows[0].step = QStringLiteral("0.0001");
        ProgramForm flat = Staircase();
        flat.rows[0].to = QStringLiteral("4.0004");
        ProgramForm repeatFirst = Staircase();
        repeatFirst.rows.prepend(RepeatRow(QStringLiteral("1"), QStringLiteral("2")));
        ProgramForm groupAhead = Staircase();
        groupAhead.rows << RepeatRow(QStringLiteral("2"), QStringLiteral("2"));
        ProgramForm crossing = Staircase();
        crossing.rows << HoldRow(QStringLiteral("4"), QStringLiteral("2"))
                      << RepeatRow(QStringLiteral("1"), QStringLiteral("2"))
                      << RepeatRow(QStringLiteral("2"), QStringLiteral("2"));
        ProgramForm tooMany = Staircase();
        tooMany.rows[0].step = QStringLiteral("0.001");
        ProgramForm tripWithout = Staircase();
        tripWithout.measureRange.clear();
        ProgramForm empty = Staircase();
        empty.rows.clear();
        ProgramForm junction = Staircase();
        junction.calFunction = 13;
        junction.coldJunction = ColdJunction::To;
        junction.referenceTemperature = QStringLiteral("61");

        DataRow("value outside the function", outside, 0,
                "Segment 1 (schody), pole „Do”: wartość 25.000 mA leży poza zakresem "
                "kalibratora -24.200 - 24.200 mA.");
        DataRow("not a number", typo, 1,
                "Segment 2 (utrzymanie), pole „Czas [s]”: błędnie podana liczba.");
        DataRow("dwell shorter than a set-point and a poll", tooShort, 0,
                "Segment 1 (schody), pole „Czas [s]”: 0.5 s to mniej niż jedna wymiana z "
                "kalibratorem (nastawa i odczyt); najkrótszy możliwy czas to 1.04 s.");
        DataRow("dwell shorter than a set-point", shortNoMeasure, 0,
                "Segment 1 (schody), pole „Czas [s]”: 0.5 s to mniej niż jedna wymiana z "
                "kalibratorem; najkrótszy możliwy czas to 0.58 s.");
        DataRow("step below the resolution", fineStep, 0,
                "Segment 1 (schody), pole „Krok”: krok nie może być mniejszy niż 0.001 mA.");
        DataRow("equal ends", flat, 0,
                "Segment 1 (schody), pole „Do”: wartość końcowa nie może być równa "
                "początkowej.");
        DataRow("repeat with nothing before", repeatFirst, 0,
                "Segment 1 (powtórzenie), pole „Od segmentu”: przed powtórzeniem nie ma "
                "segmentów do powtórzenia.");
        DataRow("group starting at the repeat", groupAhead, 1,
                "Segment 2 (powtórzenie), pole „Od segmentu”: grupa musi się zaczynać od "
                "segmentu 1 - 1.");
        DataRow("groups crossing", crossing, 3,
                "Segment 4 (powtórzenie), pole „Od segmentu”: grupa przecina grupę powtórzenia "
                "z segmentu 3.");
        DataRow("too many steps", tooMany, -1, "Program ma więcej niż 20000 kroków.");
        DataRow("trip without measuring", tripWithout, -1,
                "Pole „Próg zadziałania”: warunek zadziałania wymaga zakresu pomiaru.");
        DataRow("no segment", empty, -1, "Program nie ma żadnego segmentu.");
        DataRow("reference temperature", junction, -1,
                "Pole „To”: wartość może mieścić się w zakresie 0.0 - 60.0 °C.");
    }
    void refused()
    {
        QFETCH(ProgramForm, form);
        QFETCH(int, segment);
        QFETCH(QString, message);
        ProgramDoc doc;
        doc.name = QStringLiteral("kept");
        const ProgramProblem problem = form.ToDoc(&doc);
        QCOMPARE(problem.message, message);
        QCOMPARE(problem.segment, segment);
        QCOMPARE(doc.name, QStringLiteral("kept"));
    }

    void roundTrip()
    {
        ProgramForm form = Staircase();
        form.name = QStringLiteral("Próg alarmu");
        form.calFunction = 13;
        form.coldJunction = ColdJunction::To;
        form.referenceTemperature = QStringLiteral("21.5");
        form.rows << HoldRow(QStringLiteral("-1.5"), QStringLiteral("3"))
                  << RepeatRow(QStringLiteral("1"), QStringLiteral("3"));
        form.rows[0] = {SegmentKind::Ramp,
                        QStringLiteral("100"),
                        QStringLiteral("20"),
                        QStringLiteral("2.5"),
                        QStringLiteral("4"),
                        {},
                        {}};
        form.direction = TripDirection::FallsBelow;
        ProgramDoc doc;
        const ProgramProblem problem = form.ToDoc(&doc);
        QVERIFY2(problem.IsNone(), qPrintable(problem.message));
        ProgramDoc back;
        QString cause;
        QVERIFY(ProgramFile::FromJson(ProgramFile::ToJson(doc), &back, &cause));
        QCOMPARE(ProgramFile::ToJson(back), ProgramFile::ToJson(doc));
        QCOMPARE(back.source.coldJunction, ColdJunction::To);
        QCOMPARE(back.segments[2].firstSegment, 0);
        QCOMPARE(back.trip.direction, TripDirection::FallsBelow);
        QCOMPARE(ProgramForm::FromDoc(back).rows[0].step, QStringLiteral("2.5"));
    }

    // The file on disk and the document held are left as they were.
    void badFileRefused_data()
    {
        DataColumns<QByteArray, QString>("content", "cause");
        QByteArray good = ProgramFile::ToJson(ProgramDoc());
        DataRow("not JSON", QByteArray("{\"format\": \"tevano-718-pro"),
                "To nie jest plik programu źródła");
        DataRow("a newer version", QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
                "Plik zapisano w wersji 2 formatu, której ten program nie zna");
        DataRow("a damaged segment",
                QByteArray(good).replace("\"segments\": [",
                                         "\"segments\": [{\"kind\": \"ramp\", \"from\": 4}"),
                "Plik jest uszkodzony (segment 1)");
        DataRow("an unknown function", QByteArray(good).replace("22mA", "23mA"),
                "Plik jest uszkodzony (funkcja źródła)");
    }
    void badFileRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.r718p"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        ProgramDoc doc;
        doc.name = QStringLiteral("kept");
        QString message;
        QVERIFY(!ProgramFile::Load(path, &doc, &message));
        QCOMPARE(message,
                 QStringLiteral("Nie udało się odczytać pliku:\n%1\n%2.").arg(path, cause));
        QCOMPARE(doc.name, QStringLiteral("kept"));
        QCOMPARE(Read(path), content);
    }

    // The shipped example: a current staircase 4 → 20 → 4 mA in 1 mA steps of 2 s, measuring
    // voltage, tripping when it rises above 5 V.
    void example()
    {
        ProgramDoc doc;
        QString message;
        QVERIFY2(
            ProgramFile::Load(QStringLiteral(R718_EXAMPLES "/ramp-4-20mA.r718p"), &doc, &message),
            qPrintable(message));
        QVERIFY(CheckProgram(doc).IsNone());
        const ProgramPlan plan = ProgramCourse::Plan(doc);
        QCOMPARE(plan.steps.size(), 33);
        QCOMPARE(plan.totalMs, 66000);
        QCOMPARE(plan.steps[16].text, QStringLiteral("20.000"));
        QCOMPARE(ProgramText::TripConditionText(doc), QStringLiteral("odczyt powyżej 5.000 V"));
    }

    void logAsCsv()
    {
        ProgramDoc doc;
        doc.measureRange = QStringLiteral("25V");
        ProgramRunLog log;
        ProgramLogEntry set;
        set.ms = 1500;
        set.wall = QDateTime(QDate(2026, 3, 2), QTime(8, 0, 1, 250));
        set.sourceText = QStringLiteral("-4.000");
        ProgramLogEntry reading = set;
        reading.kind = ProgramLogEntry::Kind::Reading;
        reading.readingText = QStringLiteral("5.125");
        reading.event = TripEvent::Trip;
        log.entries = {set, reading};
        QCOMPARE(ProgramExport::LogCsv(doc, log),
                 QByteArray("\xEF\xBB\xBF"
                            "Czas od startu [s];Data;Godzina;Rodzaj;Segment;Przebieg;"
                            "Nastawa [mA];Odczyt [V];Zadziałanie\r\n"
                            "1,500;2026-03-02;08:00:01.250;nastawa;1;1;-4,000;;\r\n"
                            "1,500;2026-03-02;08:00:01.250;odczyt;1;1;-4,000;5,125;"
                            "zadziałanie\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestProgramDoc)
#include "tst_programdoc.moc"
