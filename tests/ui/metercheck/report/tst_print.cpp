// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "OutputTestData.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "ScriptedProgress.h"

#include "core/history/CheckRecord.h"
#include "core/metercheck/report/ReportClock.h"
#include "core/metercheck/report/ReportTexts.h"
#include "core/metercheck/run/PointErrors.h"
#include "ui/history/StoredCheckReport.h"
#include "ui/metercheck/report/CPrintOptionsDlg.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/PrinterPrintJobs.h"
#include "ui/metercheck/report/ProtocolPage.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportCharts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FixedClock : public ReportClock
{
public:
    explicit FixedClock(QDateTime t) : t(t) {}
    QDateTime Now() const override { return t; }
    QDateTime t;
};

const FixedClock marchClock(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 45)));

// Stands in for the chart pages: each chart is a job with one page naming the chart.
class FakeCharts : public ReportChartPrinter
{
public:
    void PrintChart(Chart chart, int range, PrintJobs& jobs) override
    {
        const QString name = chart == Chart::Points ? "PUNKTY" : "BLEDY";
        calls << QString("%1 %2").arg(name).arg(range);
        QPainter* painter = jobs.BeginJob("chart");
        if (!painter || !jobs.BeginPage())
            return;
        QFont font("Arial");
        font.setPixelSize(500);
        painter->setFont(font);
        painter->drawText(QPointF(3000, 5000), QString("WYKRES %1 %2").arg(name).arg(range));
        jobs.EndPage();
        jobs.EndJob();
    }
    QStringList calls;
};

// Records what the printing asks of the printer; each step can be made to fail.
class RecordingJobs : public PrintJobs
{
public:
    RecordingJobs() : image(210, 297, QImage::Format_RGB32) {}
    bool HasPrinter() const override { return printer; }
    QPainter* BeginJob(const QString& name) override
    {
        log << "BeginJob " + name;
        if (!startJob)
            return nullptr;
        painter.begin(&image);
        painter.setWindow(0, 0, 21000, 29700);
        return &painter;
    }
    bool BeginPage() override
    {
        log << "BeginPage";
        return startPage;
    }
    void EndPage() override { log << "EndPage"; }
    void EndJob() override
    {
        log << "EndJob";
        painter.end();
    }
    void AbortJob() override
    {
        log << "AbortJob";
        painter.end();
    }
    bool printer = true;
    bool startJob = true;
    bool startPage = true;
    QStringList log;
    QImage image;
    QPainter painter;
};

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

private:
    QTemporaryDir dir;
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    int fileNumber = 0;

    // Prints with the given options to a new PDF file and returns its path.
    QString PrintToPdf(const PrintOptions& options, ReportChartPrinter* charts = nullptr,
                       const ReportClock& clock = marchClock)
    {
        const QString path = dir.filePath(QString("report%1.pdf").arg(++fileNumber));
        PdfFileJobs jobs;
        PrintReport(options, session, jobs, charts, clock, log);
        if (jobs.PagesPrinted() > 0 && !jobs.Save(path, session.documentName, log))
            return {};
        return path;
    }

    // The parts to print (1: printed) and their scope (0: the current range, 1: every range).
    static PrintOptions Parts(int scope, int table = 1, int points = 0, int errors = 0)
    {
        return PrintOptions{table == 1, points == 1, errors == 1, RangeScope(scope), {}};
    }
    // The print jobs of a table page and of a chart.
    inline static const QStringList oneTable{"BeginJob Wydruk - R718", "BeginPage", "EndPage",
                                             "EndJob"};
    inline static const QStringList oneChart{"BeginJob chart", "BeginPage", "EndPage", "EndJob"};

    // A voltage range with three points: within, exceeding (-0.120 against 0.100), unmarked;
    // with `withEmptyRange` a second 400 mV range, nothing measured.
    void SampleDocument(bool withEmptyRange = false)
    {
        session.Reset();
        DocumentBuilder(doc)
            .Meter("V-640", "A12345")
            .Range(0, VoltageRange())
            .Measured()
            .Point(MakePoint("100.05", "100.000", "0.050", "0.100", "0.012", "mV", true))
            .Point(MakePoint("199.88", "200.000", "-0.120", "0.100", "0.016", "mV", true))
            .Point(MakePoint("300.02", "300.000", "0.020", "0.150", "0.020", "mV", false));
        if (withEmptyRange)
            doc.ranges[1] = VoltageRange();
    }

    // Share of strongly red pixels in a box (millimetres) of a page rendered from the PDF.
    static double RedShare(const QString& pdf, const PdfWord& w)
    {
        const QString png = pdf + "-page";
        QProcess::execute("pdftoppm",
                          {"-r", "150", "-png", "-f", "1", "-l", "1", "-singlefile", pdf, png});
        QImage page(png + ".png");
        if (page.isNull())
            return -1;
        const double px = 150 / 25.4;
        // The middle of the box only: the font's box reaches the table lines above and below.
        const double h = w.yMax - w.yMin;
        int red = 0, dark = 0;
        for (int y = int((w.yMin + 0.2 * h) * px); y <= int((w.yMax - 0.3 * h) * px); ++y) {
            for (int x = int(w.xMin * px); x <= int(w.xMax * px); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 90 && c.blue() < 90)
                    ++red;
                else if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                    ++dark;
            }
        }
        return red + dark == 0 ? 0 : double(red) / (red + dark);
    }

    // The first word with that text; with minX, the first at or right of minX millimetres.
    static const PdfWord* Find(const QList<PdfWord>& words, const QString& text, double minX = 0)
    {
        for (const PdfWord& w : words) {
            if (w.text == text && w.xMin >= minX)
                return &w;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // Set R718_KEEP_OUTPUT to look at the printed files afterwards.
        dir.setAutoRemove(qEnvironmentVariableIsEmpty("R718_KEEP_OUTPUT"));
        if (!dir.autoRemove())
            qInfo("output kept in %s", qPrintable(dir.path()));
    }

    void dateAndTimeTexts_data()
    {
        DataColumns<QDateTime, QString, QString>("now", "date", "time");
        DataRow("single digits get zeros", QDateTime(QDate(2004, 3, 5), QTime(9, 7, 45)),
                "05.03.2004", "09:07:45");
        DataRow("two digits everywhere", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)),
                "31.12.2026", "23:59:59");
        DataRow("midnight", QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0)), "01.01.2010", "00:00:00");
        DataRow("three-digit year padded", QDateTime(QDate(999, 7, 14), QTime(12, 0, 5)),
                "14.07.0999", "12:00:05");
    }
    void dateAndTimeTexts()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(ReportDateText(now.date()), date);
        QCOMPARE(ReportTimeText(now.time()), time);
    }

    void headerTexts_data()
    {
        DataColumns<int, QString, int, QString, QString, QString, QString, QString, QString>(
            "function", "sensor", "coldJunction", "rl", "classReading", "classRange", "constTerm",
            "sensorText", "classText");
        DataRow("voltage, full class", 0, "", 0, "", "0.05", "0.1", "0.01", "",
                "Klasa: 0.05% wartości mierzonej, 0.1% "
                "zakresu + 0.01mV");
        DataRow("thermocouple Tex, range class only", 3, "K (NiCr-NiAl)", 0, "", "", "0.5", "",
                "Czujnik: K (NiCr-NiAl) [Tex]", "Klasa: 0.5% zakresu");
        DataRow("thermocouple Tin", 3, "J (Fe-CuNi)", 1, "", "", "0.5", "",
                "Czujnik: J (Fe-CuNi) [Tin]", "Klasa: 0.5% zakresu");
        DataRow("thermocouple To", 3, "K (NiCr-NiAl)", 2, "", "", "", "1",
                "Czujnik: K (NiCr-NiAl); [To=23.0 °C]", "Klasa:  + 1mV");
        DataRow("RTD with leads", 4, "Pt100 (385)", 0, "4.5", "0.2", "", "",
                "Czujnik: Pt100 (385); [RL=4.5 Ohm]", "Klasa: 0.2% wartości mierzonej, ");
        DataRow("RTD without leads", 4, "Pt1000", 2, "", "", "", "", "Czujnik: Pt1000", "Klasa: ");
    }
    void headerTexts()
    {
        QFETCH(int, function);
        QFETCH(QString, sensor);
        QFETCH(int, coldJunction);
        QFETCH(QString, rl);
        QFETCH(QString, classReading);
        QFETCH(QString, classRange);
        QFETCH(QString, constTerm);
        QFETCH(QString, sensorText);
        QFETCH(QString, classText);
        MeterRange r = VoltageRange();
        r.function = RangeFunction(function);
        r.sensorName = sensor;
        r.coldJunction = ColdJunction(coldJunction);
        r.toValue = "23.0";
        r.rlValue = rl;
        r.classReading = classReading;
        r.classRange = classRange;
        r.constTerm = constTerm;
        QCOMPARE(SensorText(r), sensorText);
        QCOMPARE(ClassText(r), classText);
    }

    void exceedsRule_data()
    {
        DataColumns<QString, QString, bool>("actual", "permissible", "exceeds");
        DataRow("negative beyond", "-0.120", "0.100", true);
        DataRow("positive beyond", "0.101", "0.100", true);
        DataRow("equal is not beyond", "-0.100", "0.100", false);
        DataRow("within", "0.050", "0.100", false);
        DataRow("never measured", "", "", false);
    }
    void exceedsRule()
    {
        QFETCH(QString, actual);
        QFETCH(QString, permissible);
        QFETCH(bool, exceeds);
        QCOMPARE(ErrorExceedsPermissible(MakePoint("1", "1", actual, permissible, "", "mV", false)),
                 exceeds);
    }

    void tablePageTexts()
    {
        SampleDocument();
        const QString pdf = PrintToPdf(Parts(0));
        QCOMPARE(PdfPages(pdf), 1);
        const QString text = PdfText(pdf);
        for (const char* expected : {"Protokół sprawdzania miernika",
                                     "05.03.2004",
                                     "09:07:45",
                                     "Nazwa: V-640",
                                     "Numer: A12345",
                                     "Metoda dokładnej nastawy",
                                     "Zakres: 400 mV",
                                     "Klasa: 0.05% wartości mierzonej, 0.1% zakresu + 0.01mV",
                                     "Wskazanie",
                                     "miernika",
                                     "badanego",
                                     "Nastawa",
                                     "amplitudy",
                                     "kalibratora",
                                     "Błąd miernika",
                                     "rzeczywisty",
                                     "dopuszczalny",
                                     "j.m.",
                                     "ON",
                                     "100.05",
                                     "199.88",
                                     "-0.120*",
                                     "0.050",
                                     "300.02",
                                     "* - błąd rzeczywisty przekracza błąd dopuszczalny"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains("0.050*"));
        QVERIFY(!text.contains("0.020*"));
        QVERIFY(!text.contains("Czujnik"));
        // "+" only for the two marked points.
        int plus = 0;
        for (const PdfWord& w : PdfWords(pdf))
            plus += w.text == "+" && qAbs((w.xMin + w.xMax) / 2 - 175) < 1;
        QCOMPARE(plus, 2);
    }

    void exceededErrorAndFootnoteAreRed()
    {
        SampleDocument();
        const QString pdf = PrintToPdf(Parts(0));
        const QList<PdfWord> words = PdfWords(pdf);
        const PdfWord* exceeded = Find(words, "-0.120*");
        const PdfWord* within = Find(words, "0.050");
        const PdfWord* footnote = Find(words, "przekracza");
        const PdfWord* setting = Find(words, "200.000");
        QVERIFY(exceeded && within && footnote && setting);
        QVERIFY(RedShare(pdf, *exceeded) > 0.9);
        QVERIFY(RedShare(pdf, *footnote) > 0.9);
        QCOMPARE(RedShare(pdf, *within), 0.0);
        QCOMPARE(RedShare(pdf, *setting), 0.0);
    }

    void exactReadingAndSensorLines()
    {
        session.Reset();
        doc.method = CheckMethod::ExactReading;
        doc.ranges[0] = ThermocoupleRange();
        const QString text = PdfText(PrintToPdf(Parts(0)));
        QVERIFY(text.contains("Metoda dokładnego odczytu"));
        QVERIFY(text.contains("Zakres: 1200 °C"));
        QVERIFY(text.contains("Czujnik: K (NiCr-NiAl); [To=23.0 °C]"));
    }

    void rowsAtTheirPositions()
    {
        SampleDocument();
        const QList<PdfWord> words = PdfWords(PrintToPdf(Parts(0)));
        // The top of row j lies 59.70 + 4.10 j mm below the top edge; columns are centred.
        const struct
        {
            const char* text;
            double centreX;
            int row;
        } cells[] = {{"100.05", 34, 0}, {"100.000", 62, 0}, {"-0.120*", 90, 1},
                     {"0.150", 118, 2}, {"0.016", 146, 1},  {"mV", 165, 0}};
        for (const auto& c : cells) {
            const PdfWord* w = Find(words, c.text, c.centreX - 14);
            QVERIFY2(w, c.text);
            QVERIFY2(qAbs((w->xMin + w->xMax) / 2 - c.centreX) < 0.5, c.text);
            QVERIFY2(qAbs(w->yMin - (59.70 + 4.10 * c.row)) < 1.0, c.text);
        }
        const PdfWord* title = Find(words, "Protokół");
        QVERIFY(title);
        QVERIFY(qAbs(title->xMin - 55) < 0.5);
        QVERIFY(qAbs(title->yMin - 20) < 1.0);
        // The footnote starts where the table of three rows ends: 59 + 3 x 4.1 mm.
        const PdfWord* footnote = Find(words, "przekracza");
        QVERIFY(footnote);
        QVERIFY(qAbs(footnote->yMin - (59.0 + 3 * 4.1)) < 1.0);
    }

    void emptyRangeHasFootnoteUnderHeadingBox()
    {
        session.Reset();
        doc.ranges[0] = VoltageRange();
        const QString pdf = PrintToPdf(Parts(0));
        const QList<PdfWord> words = PdfWords(pdf);
        const PdfWord* footnote = Find(words, "przekracza");
        const PdfWord* heading = Find(words, "badanego"); // last heading line, at 54 mm
        QVERIFY(footnote && heading);
        QVERIFY(qAbs(footnote->yMin - 59.0) < 1.0);
        QVERIFY(footnote->yMin > heading->yMax);
        QVERIFY(PdfText(pdf).contains("* - błąd rzeczywisty przekracza błąd dopuszczalny"));
    }

    void fiftyPointsFitOnePage()
    {
        session.Reset();
        MeterRange& r = doc.ranges[0];
        r = VoltageRange();
        for (int j = 0; j < maxPoints; ++j) {
            const QString v = QString::number(j * 8) + ".000";
            r.points[j] = MakePoint(v, v, "0.000", "0.100", "0.010", "mV", j % 2 == 0);
        }
        r.points[49].reading = "LAST";
        const QString pdf = PrintToPdf(Parts(0));
        QCOMPARE(PdfPages(pdf), 1);
        const QList<PdfWord> words = PdfWords(pdf);
        const PdfWord* last = Find(words, "LAST");
        const PdfWord* footnote = Find(words, "przekracza");
        QVERIFY(last && footnote);
        QVERIFY(qAbs(last->yMin - (59.70 + 4.10 * 49)) < 1.0);
        QVERIFY(qAbs(footnote->yMin - 264.0) < 1.0);
        QVERIFY(footnote->yMax < 297.0 - 20);
    }

    // The appendix follows the table pages only when the lab's policy asks for it; a policy
    // that does not leaves the report as it is.
    void appendixOffLeavesTheReport()
    {
        SampleDocument(true);
        doc.ranges[1] = doc.ranges[0];
        const QString plain = PrintToPdf(Parts(1));
        PrintOptions off = Parts(1);
        off.labPolicy.turThreshold = 10;
        off.labPolicy.calibrator = {"R718-0042", "AP-1", QDate(2003, 1, 1), QDate(2004, 1, 1)};
        const QString withPolicy = PrintToPdf(off);
        QCOMPARE(PdfPages(plain), 2);
        QCOMPARE(PdfPages(withPolicy), 2);
        QCOMPARE(PdfText(withPolicy), PdfText(plain));
    }

    void appendixPageLines()
    {
        session.Reset();
        DocumentBuilder(doc)
            .Meter("V-640", "A12345")
            .Range(0, VoltageRange())
            .Measured()
            .Point(MakePoint("100.05", "100.000", "0.050", "0.100", "0.012", "mV", true))
            .Point(MakePoint("200.10", "200.000", "0.100", "0.100", "0.050", "mV", true))
            .Point(MakePoint("", "300.000", "", "", "", "mV", false, false));
        PrintOptions options = Parts(0);
        options.labPolicy.rule = DecisionRule::NonBinary;
        options.labPolicy.calibrator.serialNumber = "R718-0042";
        options.labPolicy.calibrator.dueOn = QDate(2004, 3, 4); // the day before the print
        const QString pdf = PrintToPdf(options);
        QCOMPARE(PdfPages(pdf), 2);
        QVERIFY(PdfText(pdf, 1, 1).contains("Protokół sprawdzania miernika"));
        const QString text = PdfText(pdf, 2, 2);
        for (const char* expected :
             {"Załącznik: stwierdzenie zgodności", "Zasada decyzyjna: Stwierdzenie niebinarne",
              "U = 2·√((e/√3)² + ((d/2)/√3)²)", "próg TUR: 4",
              "numer fabryczny R718-0042, świadectwo wzorcowania nr nie podano",
              "Data wzorcowania: nie podano, termin następnego wzorcowania: 04.03.2004",
              "Uwaga: w dniu wydruku (05.03.2004) kalibrator jest po terminie wzorcowania.",
              "Zakres: 400 mV",
              "Skrót zapisu: —", "0.0150", "6.7", "zgodny", "1.7 !", "warunkowo zgodny",
              "! - TUR < 4"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains("300.000")); // not measured: no statement
    }

    // Ranges that do not fit one page go on with their headings repeated; the reprint of a
    // stored check prints its short hash.
    void appendixPagesAndStoredCheck()
    {
        session.Reset();
        for (int i : {0, 1}) {
            MeterRange& r = doc.ranges[i];
            r = VoltageRange();
            for (int j = 0; j < maxPoints; ++j) {
                const QString v = QString::number(j * 8) + ".000";
                r.points[j] = MakePoint(v, v, "0.000", "0.100", "0.010", "mV", true);
            }
        }
        doc.ranges[0].points[49].setting = "END1";
        doc.ranges[1].points[49].setting = "END2";
        doc.ranges[1].rangeValue = "4";
        doc.ranges[1].rangeUnit = "V";
        PrintOptions options = Parts(1);
        options.labPolicy.appendixAlways = true;
        options.labPolicy.calibrator.dueOn = QDate(2004, 3, 4); // one line more: a break inside
        const QString pdf = PrintToPdf(options);
        QCOMPARE(PdfPages(pdf), 4);
        const QString first = PdfText(pdf, 3, 3);
        const QString next = PdfText(pdf, 4, 4);
        QVERIFY(first.contains("Zakres: 400 mV") && !first.contains("END1"));
        for (const char* expected : {"Załącznik: stwierdzenie zgodności (cd.)", "Zakres: 400 mV",
                                     "END1", "Zakres: 4 V", "END2"})
            QVERIFY2(next.contains(QString::fromUtf8(expected)), expected);
        QCOMPARE(next.count("Stwierdzenie"), 2); // the column headings repeated

        RunContext context;
        context.endedAt = marchClock.t;
        context.policy.rule = DecisionRule::GuardBand;
        const CheckRecord record = BuildCheckRecords(doc, {0}, context).value(0);
        PdfFileJobs jobs;
        QVERIFY(PrintStoredCheck(record, jobs, log, "ab12cd34"));
        const QString stored = dir.filePath("stored.pdf");
        QVERIFY(jobs.Save(stored, {}, log));
        QCOMPARE(PdfPages(stored), 2);
        QVERIFY(PdfText(stored, 2, 2).contains("Skrót zapisu: ab12cd34"));
        QVERIFY(PdfText(stored, 2, 2).contains("Zasada decyzyjna: Pasmo ochronne"));
    }

    void onlyChartsPrintNoTablePage()
    {
        SampleDocument(true);
        FakeCharts charts;
        const QString pdf = PrintToPdf(Parts(1, 0, 1, 1), &charts);
        QCOMPARE(charts.calls, QStringList({"PUNKTY 0", "BLEDY 0", "PUNKTY 1", "BLEDY 1"}));
        QCOMPARE(PdfPages(pdf), 4);
        const QString text = PdfText(pdf);
        QVERIFY(!text.contains("Protokół"));
        QVERIFY(text.contains("WYKRES BLEDY 1"));
    }

    void allRangesInOrderOneFile()
    {
        SampleDocument();
        doc.ranges[1] = ThermocoupleRange();
        doc.ranges[2] = VoltageRange();
        doc.ranges[2].rangeValue = "4";
        doc.ranges[2].rangeUnit = "V";
        session.currentRange = 1;
        FakeCharts charts;
        const QString pdf = PrintToPdf(Parts(1, 1, 0, 1), &charts);
        QCOMPARE(PdfPages(pdf), 6);
        QVERIFY(PdfText(pdf, 1, 1).contains("Zakres: 400 mV"));
        QVERIFY(PdfText(pdf, 2, 2).contains("WYKRES BLEDY 0"));
        QVERIFY(PdfText(pdf, 3, 3).contains("Zakres: 1200 °C"));
        QVERIFY(PdfText(pdf, 5, 5).contains("Zakres: 4 V"));
        QVERIFY(PdfText(pdf, 6, 6).contains("WYKRES BLEDY 2"));
    }

    void currentRangeOnly()
    {
        SampleDocument();
        doc.ranges[1] = ThermocoupleRange();
        session.currentRange = 1;
        const QString pdf = PrintToPdf(Parts(0));
        QCOMPARE(PdfPages(pdf), 1);
        QVERIFY(PdfText(pdf).contains("Zakres: 1200 °C"));
    }

    void chartPagesFollowTheTable()
    {
        SampleDocument();
        const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter(doc, log);
        QVERIFY(charts);
        const QString pdf = PrintToPdf(Parts(0, 1, 1, 1), charts.get());
        QCOMPARE(PdfPages(pdf), 3);
        QVERIFY(PdfText(pdf, 1, 1).contains("Protokół sprawdzania miernika"));
        const QString points = PdfText(pdf, 2, 2);
        QVERIFY2(points.contains("Wykres punktów pomiarowych;"), qPrintable(points));
        QVERIFY(points.contains("Miernik: V-640; Nr: A12345"));
        QVERIFY(points.contains("Zakres miernika: 400 mV"));
        QVERIFY(points.contains("Nastawa kalibratora"));
        const QString errors = PdfText(pdf, 3, 3);
        QVERIFY2(errors.contains("Wykres błędów;"), qPrintable(errors));
        QVERIFY(errors.contains("+ błąd dopuszczalny"));
    }

    // The charts' texts are plain text: "<" and "&" print as given.
    void chartTextsPrintAsGiven()
    {
        SampleDocument();
        doc.meterName = "<V-640> & Co";
        const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter(doc, log);
        const QString text = PdfText(PrintToPdf(Parts(0, 0, 1, 1), charts.get()));
        QVERIFY2(text.count("Miernik: <V-640> & Co; Nr: A12345") == 2, qPrintable(text));
    }

    // Fifty numbers do not fit under fifty points: the first and every second are printed.
    void manyPointsNumberedEverySecond()
    {
        session.Reset();
        DocumentBuilder builder(doc);
        builder.Meter("V-640", "A12345").Range(0, VoltageRange()).Measured();
        for (int p = 0; p < maxPoints; ++p)
            builder.Point(MakePoint("100.05", "100.000", "0.050", "0.500", "0.012", "mV", true));
        const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter(doc, log);
        const QString pdf = PrintToPdf(Parts(0, 0, 0, 1), charts.get());
        QStringList numbers; // the words that are point numbers, left to right
        for (const PdfWord& word : PdfWords(pdf)) {
            bool isNumber = false;
            if (const int n = word.text.toInt(&isNumber); isNumber && n >= 1 && n <= maxPoints)
                numbers << word.text;
        }
        QStringList expected{"1"};
        for (int n = 2; n <= maxPoints; n += 2)
            expected << QString::number(n);
        QCOMPARE(numbers, expected);
    }

    void chartsThatCannotBeDrawnPrintNoPage()
    {
        SampleDocument();
        for (MeterPoint& p : doc.ranges[0].points)
            p.marked = 0;               // measured, nothing marked
        doc.ranges[1] = VoltageRange(); // never measured
        doc.ranges[1].points[0] = MakePoint("1", "1", "", "", "", "mV", true, false);
        RecordingMessageService messages;
        const std::unique_ptr<ReportChartPrinter> charts = CreateReportChartPrinter(doc, messages);
        RecordingJobs jobs;
        PrintReport(Parts(1, 0, 1), session, jobs, charts.get(), marchClock, messages);
        QVERIFY(jobs.log.isEmpty());
        QCOMPARE(messages.Texts(), QStringList{"Nie zaznaczono punktów do wykresu."});
        QCOMPARE(messages.messages[0].caption, QString("Brak danych!"));
    }

    void eachPartIsAJobOfItsOwn()
    {
        SampleDocument(true);
        RecordingJobs jobs;
        FakeCharts charts;
        PrintReport(Parts(1, 1, 1), session, jobs, &charts, marchClock, log);
        QCOMPARE(jobs.log, oneTable + oneChart + oneTable + oneChart);
    }

    // Cancelled between pages: the print stops before the next page, having told the range
    // and the page of the total before each.
    void cancelBetweenPages()
    {
        SampleDocument(true);
        RecordingJobs jobs;
        FakeCharts charts;
        const PrintOptions o = Parts(1, 1, 1);
        ScriptedProgress progress(4);
        QVERIFY(!PrintReport(o, session, jobs, &charts, marchClock, log, &progress));
        QCOMPARE(progress.steps,
                 QStringList({"0/4 Zakres 1 z 2, strona 1 z 4", "1/4 Zakres 1 z 2, strona 2 z 4",
                              "2/4 Zakres 2 z 2, strona 3 z 4", "3/4 Zakres 2 z 2, strona 4 z 4"}));
        QCOMPARE(jobs.log, oneTable + oneChart + oneTable);

        ScriptedProgress whole;
        jobs.log.clear();
        QVERIFY(PrintReport(o, session, jobs, &charts, marchClock, log, &whole));
        QCOMPARE(whole.steps.size(), 4);
        QCOMPARE(jobs.log.size(), 16);
    }

    void failures_data()
    {
        DataColumns<bool, bool, bool, QString, QStringList>("printer", "startJob", "startPage",
                                                            "message", "log");
        DataRow("no printer", false, true, true, "Nie znaleziono drukarki!", QStringList{});
        DataRow("job cannot start", true, false, true, "Nie można zainicjalizować drukarki",
                QStringList{"BeginJob Wydruk - R718"});
        DataRow("page cannot start", true, true, false, "Nie można wystartować strony",
                QStringList{"BeginJob Wydruk - R718", "BeginPage", "AbortJob"});
    }
    void failures()
    {
        QFETCH(bool, printer);
        QFETCH(bool, startJob);
        QFETCH(bool, startPage);
        QFETCH(QString, message);
        QFETCH(QStringList, log);
        SampleDocument();
        RecordingMessageService messages;
        RecordingJobs jobs;
        jobs.printer = printer;
        jobs.startJob = startJob;
        jobs.startPage = startPage;
        FakeCharts charts;
        PrintReport(Parts(0, 1, 1), session, jobs, &charts, marchClock, messages);
        QCOMPARE(messages.Texts(), QStringList{message});
        QCOMPARE(messages.messages[0].caption, QString("Tevano 718"));
        QCOMPARE(jobs.log.mid(0, log.size()), log);
        // The chart is still printed after the table failed.
        QCOMPARE(charts.calls, QStringList{"PUNKTY 0"});
    }

    // A print to a file that cannot be written says so once, with the file and the cause.
    void pdfToABadPathSaysSoOnce()
    {
        SampleDocument(true);
        RecordingMessageService messages;
        PdfFileJobs jobs;
        PrintReport(Parts(1), session, jobs, nullptr, marchClock, messages);
        QCOMPARE(jobs.PagesPrinted(), 2);
        const QString path = dir.filePath("no-such-folder/report.pdf");
        QVERIFY(!jobs.Save(path, session.documentName, messages));
        QCOMPARE(messages.Texts(), QStringList{"Nie zapisano wydruku w pliku:\n" + path +
                                               "\nFolder docelowy nie istnieje."});
        QCOMPARE(messages.messages[0].caption, QString("Tevano 718"));
        QVERIFY(!QFileInfo::exists(path));
    }

    // On a printer every part is a job of its own, of one page.
    void printerJobsPrintThePage()
    {
        SampleDocument();
        const QString path = dir.filePath("printer.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat); // a printer that keeps what it printed
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        PrinterPrintJobs jobs(&printer);
        QVERIFY(PrintProtocolTable(jobs, doc, 0, marchClock, log));
        QCOMPARE(jobs.PagesPrinted(), 1);
        QCOMPARE(PdfPages(path), 1);
        QVERIFY(PdfText(path).contains("Zakres: 400 mV"));
    }

    void optionsDialogDefaultsAndChoice()
    {
        CPrintOptionsDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("Drukowanie"));
        auto* table = Child<QCheckBox>(dlg, "printTable");
        auto* points = Child<QCheckBox>(dlg, "printPointsChart");
        auto* errors = Child<QCheckBox>(dlg, "printErrorsChart");
        auto* current = Child<QRadioButton>(dlg, "printCurrentRange");
        auto* all = Child<QRadioButton>(dlg, "printAllRanges");
        QVERIFY(table && points && errors && current && all);
        QCOMPARE(table->text(), QString("Tabela pomiarów"));
        QVERIFY(table->isChecked());
        QVERIFY(!points->isChecked());
        QVERIFY(!errors->isChecked());
        QVERIFY(current->isChecked());
        QVERIFY(!all->isChecked());

        table->setChecked(false);
        errors->setChecked(true);
        all->setChecked(true);
        dlg.accept();
        const PrintOptions o = dlg.Options();
        QCOMPARE(o.printTable, false);
        QCOMPARE(o.printPointsChart, false);
        QCOMPARE(o.printErrorsChart, true);
        QCOMPARE(o.printScope, RangeScope::All);
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
