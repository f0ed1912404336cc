// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "RecordingMessageService.h"

#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"

#include "ui/controls/ChartControl.h"
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

namespace {

QValueAxis* ValueAxis(QChart* chart)
{
    const auto axes = chart->axes(Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// The highest row (smallest y) holding `colour` between columns `left` and `right`; -1 if none.
int TopRow(const QImage& image, QRgb colour, int left, int right)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = left; x < right; ++x)
            if (image.pixel(x, y) == colour)
                return y;
    return -1;
}

} // namespace

class TestChartPages : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    MeterCheckDoc doc;

private slots:
    // Range 0: 400 mV of meter M1 number 7, points 100 and 350 mV marked, 200 mV not.
    void init()
    {
        doc = MeterCheckDoc();
        DocumentBuilder(doc)
            .Meter("M1", "7")
            .Range(0, RangeFunction::Voltage, "400", "mV")
            .Measured()
            .Point(MakePoint("100.20", "100.00", "0.20", "0.50", "", "mV", true))
            .Point(MakePoint("201.00", "200.00", "1.00", "0.60", "", "mV", false))
            .Point(MakePoint("349.50", "350.00", "-0.50", "0.75", "", "mV", true));
    }

    void pointsChartDrawn()
    {
        CPointsChartPage page(doc, log);
        QVERIFY(page.DrawChart(0));
        QChart* chart = Child<ChartControl>(page, "chart")->chart();
        QCOMPARE(Child<ChartControl>(page, "chart")->title(ChartControl::TitlePlace::Main),
                 "Wykres punktów pomiarowych;  Miernik: M1; Nr: 7");
        QCOMPARE(chart->series().size(), 1);
        auto* bars = qobject_cast<QBarSeries*>(chart->series().first());
        QVERIFY(bars);
        QCOMPARE(bars->count(), 2);
        QCOMPARE(bars->barSets().at(0)->label(), "Nastawa kalibratora");
        QCOMPARE(bars->barSets().at(0)->color(), QColor(Qt::yellow));
        QCOMPARE(bars->barSets().at(0)->at(1), 350.0);
        QCOMPARE(bars->barSets().at(1)->label(), "Wskazanie miernika");
        QCOMPARE(bars->barSets().at(1)->color(), QColor(Qt::red));
        QValueAxis* axis = ValueAxis(chart);
        QVERIFY(axis);
        QCOMPARE(axis->min(), 0.0);
        QCOMPARE(axis->max(), 374.5);
        QCOMPARE(Child<ChartControl>(page, "chart")->axisStep(), 35.0);
        QCOMPARE(axis->titleText(), "Wartości w punktach pomiarowych [mV]");
        QCOMPARE(chart->axes(Qt::Horizontal).first()->titleText(), "Zakres miernika: 400 mV");

        // Drawing again replaces the chart rather than adding to it.
        QVERIFY(page.DrawChart(0));
        QCOMPARE(chart->series().size(), 1);
        QCOMPARE(chart->axes().size(), 2);
    }

    void errorsChartDrawn()
    {
        CErrorsChartPage page(doc, log);
        QVERIFY(page.DrawChart(0));
        QChart* chart = Child<ChartControl>(page, "chart")->chart();
        QCOMPARE(Child<ChartControl>(page, "chart")->title(ChartControl::TitlePlace::Main),
                 "Wykres błędów;  Miernik: M1; Nr: 7");
        QCOMPARE(chart->series().size(), 3);
        const QStringList legends = {"Błąd rzeczywisty", "+ błąd dopuszczalny",
                                     "- błąd dopuszczalny"};
        const QList<QColor> colours = {Qt::red, Qt::green, Qt::green};
        for (int s = 0; s < 3; ++s) {
            auto* line = qobject_cast<QLineSeries*>(chart->series().at(s));
            QVERIFY(line);
            QCOMPARE(line->name(), legends[s]);
            QCOMPARE(line->pen().color(), colours[s]);
            QCOMPARE(line->count(), 2);
        }
        QCOMPARE(static_cast<QLineSeries*>(chart->series().at(2))->at(1).y(), -0.75);
        QValueAxis* axis = ValueAxis(chart);
        QCOMPARE(axis->min(), -0.8025);
        QCOMPARE(axis->max(), 0.8025);
        QCOMPARE(axis->titleText(), "Wartości błędów [mV]");
    }

    void noMarkedPointHidesThePage()
    {
        QWidget window;
        RecordingMessageService messages;
        auto* page = new CPointsChartPage(doc, messages, &window);
        window.show();
        QVERIFY(page->DrawChart(0));
        for (MeterPoint& p : doc.ranges[0].points)
            p.marked = 0;
        QVERIFY(!page->DrawChart(0));
        QVERIFY(page->isHidden());
        QCOMPARE(messages.Texts(), QStringList({"Nie zaznaczono punktów do wykresu."}));
        QCOMPARE(messages.messages.at(0).caption, "Brak danych!");
        QCOMPARE(messages.messages.at(0).icon, MessageIcon::Error);
    }

    void neverMeasuredRangeIsNotDrawn()
    {
        RecordingMessageService messages;
        CErrorsChartPage page(doc, messages);
        QVERIFY(page.DrawChart(0));
        doc.ranges[1] = doc.ranges[0];
        doc.ranges[1].rangeMeasured = 0;
        doc.ranges[1].rangeValue = "500";
        QVERIFY(!page.DrawChart(1));
        QVERIFY(messages.messages.isEmpty());
        // The chart keeps what it showed.
        QCOMPARE(page.Data().titles[3], "Zakres miernika: 400 mV");
        QCOMPARE(Child<ChartControl>(page, "chart")->chart()->series().size(), 3);
    }

    void renderedWithTheSeriesColours()
    {
        CPointsChartPage page(doc, log);
        QImage image(800, 500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QVERIFY(page.PrintChart(0, painter, QRectF(0, 0, 800, 500)));
        painter.end();
        if (qEnvironmentVariableIsSet("KEEP_PNG"))
            image.save(qEnvironmentVariable("KEEP_PNG"));
        QVERIFY(CountPixels(image, qRgb(255, 255, 0)) > 500);
        QVERIFY(CountPixels(image, qRgb(255, 0, 0)) > 500);
    }

    // A larger value is drawn higher: the settings' bars (100, then 350 mV) rise to the right,
    // the actual errors' line (0.20, then -0.50 mV) falls.
    void drawnTheRightWayUp_data()
    {
        DataColumns<bool, QRgb, bool>("points", "colour", "risesToTheRight");
        DataRow("points chart, settings", true, qRgb(255, 255, 0), true);
        DataRow("errors chart, actual errors", false, qRgb(255, 0, 0), false);
    }

    void drawnTheRightWayUp()
    {
        QFETCH(bool, points);
        QFETCH(QRgb, colour);
        QFETCH(bool, risesToTheRight);
        CPointsChartPage pointsPage(doc, log);
        CErrorsChartPage errorsPage(doc, log);
        ChartPage& page = points ? static_cast<ChartPage&>(pointsPage) : errorsPage;
        QImage image(800, 500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QVERIFY(page.PrintChart(0, painter, QRectF(0, 0, 800, 500)));
        painter.end();
        const int left = TopRow(image, colour, 0, 400);
        const int right = TopRow(image, colour, 400, 800);
        QVERIFY2(left >= 0 && right >= 0, "the series is not drawn in its colour");
        QCOMPARE(right < left, risesToTheRight);
    }

    void printedToPdf()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("chart.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        CErrorsChartPage page(doc, log);
        QVERIFY(page.PrintChart(0, printer));
        QVERIFY(QFileInfo(file).size() > 1000);
        if (qEnvironmentVariableIsSet("KEEP_PDF"))
            QFile::copy(file, qEnvironmentVariable("KEEP_PDF"));
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        // The words on the page and where they start and end.
        QProcess p;
        p.start(pdftotext, {"-bbox", "-enc", "UTF-8", file, "-"});
        QVERIFY(p.waitForFinished(10000));
        const QString boxes = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression word(
            QStringLiteral("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
        QStringList words;
        QList<std::pair<double, double>> spans;
        for (const QRegularExpressionMatch& m : word.globalMatch(boxes)) {
            words << m.captured(3);
            spans.append({m.captured(1).toDouble(), m.captured(2).toDouble()});
        }
        const QString text = words.join(' ');
        QVERIFY2(text.contains("Wykres błędów; Miernik: M1; Nr: 7"), qPrintable(text));
        QVERIFY(text.contains("Zakres miernika: 400 mV"));
        QVERIFY(text.contains("+ błąd dopuszczalny"));
        // Two blanks after the semicolon: twice the gap between the words before it.
        const qsizetype w = words.indexOf("Wykres");
        const double gap = spans[w + 1].first - spans[w].second;
        const double gapAfterSemicolon = spans[w + 2].first - spans[w + 1].second;
        QVERIFY2(gapAfterSemicolon > 1.8 * gap && gapAfterSemicolon < 2.2 * gap,
                 qPrintable(QString("%1 %2").arg(gap).arg(gapAfterSemicolon)));
        // The zero line of the value axis is labelled without a sign.
        QVERIFY2(words.contains("0.00") && !words.contains("-0.00"), qPrintable(text));
    }

    void nothingPrintedWithoutMarkedPoints()
    {
        for (MeterPoint& p : doc.ranges[0].points)
            p.marked = 0;
        QTemporaryDir dir;
        const QString file = dir.filePath("chart.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        RecordingMessageService messages;
        CPointsChartPage page(doc, messages);
        QVERIFY(!page.PrintChart(0, printer));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(messages.Texts(), QStringList({"Nie zaznaczono punktów do wykresu."}));
    }
};

QTEST_MAIN(TestChartPages)
#include "tst_chartpages.moc"
