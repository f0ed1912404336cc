// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "TransducerTestDocs.h"
#include "core/link/CalFunctionTable.h"
#include "core/transducer/TransducerExport.h"
#include "core/transducer/TransducerFile.h"
#include "core/transducer/TransducerMath.h"
#include "core/transducer/TransducerValidation.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace TransducerTestDocs;
using Change = std::function<void(TransducerDoc&)>;
Q_DECLARE_METATYPE(TransducerDoc)
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(TransducerField)
Q_DECLARE_METATYPE(PointVerdict)

class TestTransducerDoc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    // Each row calculated by hand: the input set, the output expected, the error in % of the
    // output span and the limit.
    void pointArithmetic_data()
    {
        DataColumns<TransducerDoc, double, double, QString, double, double, double, PointVerdict>(
            "doc", "percent", "measured", "input", "expected", "error", "limit", "verdict");
        TransducerDoc byReading = ThermocoupleK();
        byReading.tolerance = {0.1, 0.2};
        TransducerDoc voltage;
        voltage.input = {4, ColdJunction::Tex, 0, {}, 4, 20};
        voltage.output = {QStringLiteral("25V"), 0, 10};

        const PointVerdict pass = PointVerdict::Pass;
        const PointVerdict fail = PointVerdict::Fail;
        DataRow("linear at 25 % on the limit", ThermocoupleK(), 25.0, 8.040, "125.0", 8.0, 0.25,
                0.25, pass);
        DataRow("linear at 50 % just beyond", ThermocoupleK(), 50.0, 12.041, "250.0", 12.0, 0.25625,
                0.25, fail);
        DataRow("linear at 0 % low", ThermocoupleK(), 0.0, 3.992, "0.0", 4.0, -0.05, 0.25, pass);
        DataRow("square root at 25 %", SquareRoot(), 25.0, 12.016, "8.000", 12.0, 0.1, 0.25, pass);
        DataRow("square root at 9 %", SquareRoot(), 9.0, 8.8, "5.440", 8.8, 0.0, 0.25, pass);
        DataRow("square root below the cut-off", SquareRoot(), 4.0, 4.032, "4.640", 4.0, 0.2, 0.25,
                pass);
        DataRow("square root at the cut-off", SquareRoot(), 5.0, 7.577709, "4.800", 7.577709, 0.0,
                0.25, pass);
        DataRow("reversed at 75 %", Reversed(), 75.0, 7.96, "375.0", 8.0, -0.25, 0.25, pass);
        DataRow("reversed at 0 % high", Reversed(), 0.0, 20.08, "0.0", 20.0, 0.5, 0.25, fail);
        DataRow("percent of reading added", byReading, 50.0, 12.039, "250.0", 12.0, 0.24375, 0.25,
                pass);
        DataRow("current in, voltage out", voltage, 50.0, 4.99, "12.000", 5.0, -0.1, 0.25, pass);
    }
    void pointArithmetic()
    {
        QFETCH(TransducerDoc, doc);
        QFETCH(double, percent);
        QFETCH(double, measured);

        QFETCH(QString, input);
        QFETCH(double, expected);
        QFETCH(double, error);
        QFETCH(double, limit);
        QFETCH(PointVerdict, verdict);

        const TransducerPointResult p = TransducerMath::EvaluatePoint(doc, percent, measured);
        QCOMPARE(p.inputText, input);
        QVERIFY(qAbs(p.expected - expected) < 1e-6);
        QVERIFY2(qAbs(p.errorPercent - error) < 1e-5, qPrintable(QString::number(p.errorPercent)));
        QVERIFY(qAbs(p.limitPercent - limit) < 1e-9);
        QCOMPARE(p.verdict, verdict);
    }

    void runVerdict()
    {
        const TransducerDoc doc = ThermocoupleK();
        TransducerRunResult run;
        for (double percent : doc.points)
            run.points << TransducerMath::EvaluatePoint(
                doc, percent, TransducerMath::ExpectedOutput(doc, percent));
        QCOMPARE(TransducerMath::VerdictOf(doc, run), RunVerdict::Pass);
        run.points.removeLast();
        QCOMPARE(TransducerMath::VerdictOf(doc, run), RunVerdict::Incomplete);
        run.points[1] = TransducerMath::OutOfRangePoint(doc, 25);
        QCOMPARE(TransducerMath::VerdictOf(doc, run), RunVerdict::Fail);
    }

    void validation_data()
    {
        DataColumns<Change, TransducerField, QString>("change", "field", "message");
        DataRow("the defaults pass", Change([](TransducerDoc&) {}), TransducerField::None,
                QString());
        DataRow("input LRV = URV", Change([](TransducerDoc& d) { d.input.upper = 0; }),
                TransducerField::InputUpper,
                QStringLiteral("Pole „Wejście URV”: wartość URV nie może być równa LRV."));
        DataRow("input beyond the calibrator",
                Change([](TransducerDoc& d) { d.input.upper = 1400; }), TransducerField::InputUpper,
                QStringLiteral("Pole „Wejście URV”: wartość musi się mieścić w zakresie "
                               "kalibratora -270.0 - 1370.0 °C."));
        DataRow("output LRV = URV", Change([](TransducerDoc& d) { d.output.lower = 20; }),
                TransducerField::OutputUpper,
                QStringLiteral("Pole „Wyjście URV”: wartość URV nie może być równa LRV."));
        DataRow("output on a temperature range",
                Change([](TransducerDoc& d) { d.output.measureRange = QStringLiteral("Pt1000"); }),
                TransducerField::OutputRange,
                QStringLiteral("Pole „Zakres wyjścia”: wyjście można mierzyć tylko na zakresie "
                               "napięcia albo prądu."));
        DataRow("a point above 100 %", Change([](TransducerDoc& d) { d.points[2] = 110; }),
                TransducerField::Points,
                QStringLiteral("Pole „Punkty”: punkt 110 % leży poza zakresem 0 - 100 %."));
        DataRow("a point below 0 %", Change([](TransducerDoc& d) { d.points[0] = -5; }),
                TransducerField::Points,
                QStringLiteral("Pole „Punkty”: punkt -5 % leży poza zakresem 0 - 100 %."));
        DataRow("no points", Change([](TransducerDoc& d) { d.points.clear(); }),
                TransducerField::Points, QStringLiteral("Pole „Punkty”: nie podano punktów."));
        DataRow("tolerance zero", Change([](TransducerDoc& d) { d.tolerance.percentOfSpan = 0; }),
                TransducerField::TolerancePercentOfSpan,
                QStringLiteral("Pole „Tolerancja (% zakresu)”: tolerancja musi być większa od "
                               "zera."));
        DataRow("tolerance negative",
                Change([](TransducerDoc& d) { d.tolerance.percentOfSpan = -0.1; }),
                TransducerField::TolerancePercentOfSpan,
                QStringLiteral("Pole „Tolerancja (% zakresu)”: tolerancja musi być większa od "
                               "zera."));
        DataRow("settling beyond ten minutes",
                Change([](TransducerDoc& d) { d.settlingSeconds = 601; }),
                TransducerField::SettlingTime,
                QStringLiteral("Pole „Czas ustalania”: wartość może mieścić się w zakresie "
                               "0 - 600 s."));
        DataRow("settling of ten minutes",
                Change([](TransducerDoc& d) { d.settlingSeconds = 600; }), TransducerField::None,
                QString());
        DataRow("no reading averaged", Change([](TransducerDoc& d) { d.readingsAveraged = 0; }),
                TransducerField::Readings,
                QStringLiteral("Pole „Liczba odczytów”: wartość może mieścić się w zakresie "
                               "1 - 50."));
        DataRow("To beyond 60 °C", Change([](TransducerDoc& d) {
                    d.input.coldJunction = ColdJunction::To;
                    d.input.referenceTemperature = 61;
                }),
                TransducerField::ReferenceTemperature,
                QStringLiteral("Pole „To”: wartość może mieścić się w zakresie 0.0 - 60.0 °C."));
    }
    void validation()
    {
        QFETCH(Change, change);
        QFETCH(TransducerField, field);
        QFETCH(QString, message);
        TransducerDoc doc = ThermocoupleK();
        change(doc);
        const TransducerProblem problem = CheckTransducer(doc);
        QCOMPARE(problem.field, field);
        QCOMPARE(problem.message, message);
    }

    void fileKeepsEverything()
    {
        TransducerDoc doc = SquareRoot();
        doc.instrument = {"FT-7", "Przepływomierz", "123", "Maker", "M1", "uwagi\nw dwóch"};
        doc.points = {0, 50, 100, 50, 0};
        doc.tolerance = {0.5, 0.1};
        doc.settlingSeconds = 2.5;
        doc.readingsAveraged = 4;
        doc.asFound.started = QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0));
        doc.asFound.end = RunEnd::LinkLost;
        doc.asFound.points << TransducerMath::EvaluatePoint(doc, 0, 4.1)
                           << TransducerMath::OutOfRangePoint(doc, 50);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.r718t"));
        QString message;
        QVERIFY(TransducerFile::Save(path, doc, &message));

        TransducerDoc back;
        QVERIFY2(TransducerFile::Load(path, &back, &message), qPrintable(message));
        QCOMPARE(TransducerFile::ToJson(back), TransducerFile::ToJson(doc));
        QCOMPARE(back.asFound.points.size(), 2);
        QCOMPARE(back.asFound.points[1].verdict, PointVerdict::OutOfRange);
        QCOMPARE(back.asFound.end, RunEnd::LinkLost);
        QCOMPARE(back.transfer, TransferFunction::SquareRoot);
        QCOMPARE(back.instrument.notes, doc.instrument.notes);
        QVERIFY(back.asLeft.IsEmpty());
    }

    // The example shipped with the package is the K transmitter of the tests, valid as it is.
    void exampleDocument()
    {
        TransducerDoc doc;
        QString message;
        QVERIFY2(TransducerFile::Load(QStringLiteral(R718_EXAMPLES "/transmitter-tc-k-0-500.r718t"),
                                      &doc, &message),
                 qPrintable(message));
        QVERIFY(CheckTransducer(doc).IsNone());
        TransducerDoc expected = ThermocoupleK();
        expected.instrument = doc.instrument;
        QCOMPARE(TransducerFile::ToJson(doc), TransducerFile::ToJson(expected));
    }

    void workbookSheetPerRun()
    {
        TransducerDoc doc = ThermocoupleK();
        QTemporaryDir dir;
        QString message;
        QVERIFY(!TransducerExport::SaveWorkbook(dir.filePath("a.xlsx"), doc, &message));
        QCOMPARE(message, QStringLiteral("Nie przeprowadzono jeszcze pomiarów."));
        doc.asLeft.points << TransducerMath::EvaluatePoint(doc, 0, 4.0)
                          << TransducerMath::EvaluatePoint(doc, 25, 8.048);
        doc.asLeft.end = RunEnd::Stopped;

        const ExportSheet sheet = TransducerExport::RunSheet(doc, RunKind::AsLeft);
        QCOMPARE(sheet.name, QStringLiteral("Po regulacji"));
        int heading = 1;
        while (heading < 40 && sheet.Cell(heading, 0) != QStringLiteral("Punkt [%]"))
            ++heading;
        QCOMPARE(sheet.rows[heading - 1],
                 QStringList({"Punkt [%]", "Wejście [°C]", "Oczekiwane [mA]", "Zmierzone [mA]",
                              "Błąd [% zakresu]", "Dopuszczalny [%]", "Wynik"}));
        QCOMPARE(sheet.rows[heading + 1],
                 QStringList({"25.0", "125.0", "8.000", "8.048", "+0.300", "0.250", "niezgodny"}));
        QCOMPARE(sheet.Cell(heading + 4, 1), QStringLiteral("NIEZGODNY"));
        QVERIFY(TransducerExport::SaveWorkbook(dir.filePath("a.xlsx"), doc, &message));
    }

    void fileRefused_data()
    {
        DataColumns<QByteArray, QString>("json", "cause");
        const QByteArray good = TransducerFile::ToJson(ThermocoupleK());
        QByteArray newer = good;
        newer.replace("\"version\": 1", "\"version\": 2");
        QByteArray noInput = good;
        noInput.replace("K (NiCr-NiAl)", "K (nie ma)");
        DataRow("not JSON", QByteArray("{\"format\":"), "To nie jest plik przetwornika");
        DataRow("another format", QByteArray("{\"format\":\"x\",\"version\":1}"),
                "To nie jest plik przetwornika");
        DataRow("a newer version", newer,
                "Plik zapisano w wersji 2 formatu, której ten program nie zna");
        DataRow("an unknown input function", noInput, "Plik jest uszkodzony (wejście)");
    }
    void fileRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, cause);
        TransducerDoc doc = Reversed();
        const QByteArray before = TransducerFile::ToJson(doc);
        QString why;
        QVERIFY(!TransducerFile::FromJson(json, &doc, &why));
        QCOMPARE(why, cause);
        QCOMPARE(TransducerFile::ToJson(doc), before);
    }
};

QTEST_GUILESS_MAIN(TestTransducerDoc)
#include "tst_transducerdoc.moc"
