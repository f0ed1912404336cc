// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/controls/ChartControl.h"
#include "ui/controls/ColorRef.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QTest>
#include <QValueAxis>

namespace {

QValueAxis* ValueAxis(ChartControl& chart)
{
    const auto axes = chart.chart()->axes(Qt::Vertical);
    for (QAbstractAxis* a : axes)
        if (a->alignment() == Qt::AlignLeft)
            return qobject_cast<QValueAxis*>(a);
    return nullptr;
}

// The value axis's tick labels, bottom to top.
QStringList TickLabels(ChartControl& chart)
{
    auto* axis = qobject_cast<QCategoryAxis*>(ValueAxis(chart));
    return axis ? axis->categoriesLabels() : QStringList();
}

// The texts the chart shows, once it is laid out as for printing.
QStringList ShownTexts(ChartControl& chart)
{
    QImage image(770, 481, QImage::Format_RGB32);
    QPainter painter(&image);
    chart.RenderTo(painter, image.rect());
    QStringList texts;
    for (QGraphicsItem* item : chart.scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts << text->toPlainText();
    return texts;
}

// The points chart of a 400 mV range with two marked points.
void FillPointsExample(ChartControl& chart)
{
    QVERIFY(chart.OpenData(2, 2));
    chart.setTitle(ChartControl::TitlePlace::ValueAxis,
                   QStringLiteral("Wartości w punktach pomiarowych [mV]"));
    chart.setTitle(ChartControl::TitlePlace::Right, QString());
    chart.setTitle(ChartControl::TitlePlace::Main,
                   QStringLiteral("Wykres punktów pomiarowych;  Miernik: M1; Nr: 7"));
    chart.setTitle(ChartControl::TitlePlace::Bottom, QStringLiteral("Zakres miernika: 400 mV"));
    chart.setAxisMinimum(0 * 1.07);
    chart.setAxisMaximum(350 * 1.07);
    chart.setAxisStep(35);
    chart.setSeriesLegend(0, QStringLiteral("Nastawa kalibratora"));
    chart.setCurrentSeries(0);
    chart.setSeriesColor(ColorFromColorRef(0x00FFFF));
    chart.setPointValue(0, 100);
    chart.setPointValue(1, 350);
    chart.setSeriesLegend(1, QStringLiteral("Wskazanie miernika"));
    chart.setCurrentSeries(1);
    chart.setSeriesColor(ColorFromColorRef(0x0000FF));
    chart.setPointValue(0, 100.2);
    chart.setPointValue(1, 349.5);
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void dataBlockIsDrawnWhenClosed();
    void barsCarryTheSeries();
    void errorsChartAxis_data();
    void errorsChartAxis();
    void textsShownAsGiven_data();
    void textsShownAsGiven();
    void allZeroValues();
    void outOfRangeIndicesAreIgnored();
    void rendersOntoAPainter();
    void titleFontFromTheApplicationFont_data();
    void titleFontFromTheApplicationFont();
};

void TestChart::dataBlockIsDrawnWhenClosed()
{
    ChartControl chart;
    chart.setChartKind(ChartControl::ChartKind::Marks);
    FillPointsExample(chart);
    QVERIFY(chart.dataOpen());
    QCOMPARE(chart.chart()->series().size(), 0); // nothing drawn while the block is open
    QVERIFY(chart.CloseData());
    QVERIFY(!chart.CloseData());

    QCOMPARE(chart.seriesCount(), 2);
    QCOMPARE(chart.pointCount(), 2);
    QCOMPARE(chart.pointValue(1, 1), 349.5);
    const auto drawn = chart.chart()->series();
    QCOMPARE(drawn.size(), 2);
    auto* settings = qobject_cast<QScatterSeries*>(drawn[0]);
    auto* readings = qobject_cast<QScatterSeries*>(drawn[1]);
    QVERIFY(settings && readings);
    QCOMPARE(settings->name(), QStringLiteral("Nastawa kalibratora"));
    QCOMPARE(settings->color(), QColor(255, 255, 0));
    QCOMPARE(readings->name(), QStringLiteral("Wskazanie miernika"));
    QCOMPARE(readings->color(), QColor(255, 0, 0));
    QCOMPARE(readings->points(), (QList<QPointF>{{0, 100.2}, {1, 349.5}}));

    QVERIFY(ShownTexts(chart).contains(
        QStringLiteral("Wykres punktów pomiarowych;  Miernik: M1; Nr: 7")));
    QValueAxis* axis = ValueAxis(chart);
    QVERIFY(axis);
    QCOMPARE(axis->titleText(), QStringLiteral("Wartości w punktach pomiarowych [mV]"));
    QCOMPARE(axis->min(), 0.0);
    QCOMPARE(axis->max(), 374.5);
    QCOMPARE(TickLabels(chart), QStringList({"0", "35", "70", "105", "140", "175", "210", "245",
                                             "280", "315", "350"}));
    QCOMPARE(chart.chart()->axes(Qt::Horizontal).first()->titleText(),
             QStringLiteral("Zakres miernika: 400 mV"));
}

void TestChart::barsCarryTheSeries()
{
    ChartControl chart;
    chart.setChartKind(ChartControl::ChartKind::Bars);
    FillPointsExample(chart);
    chart.CloseData();
    auto* bars = qobject_cast<QBarSeries*>(chart.chart()->series().value(0));
    QVERIFY(bars);
    QCOMPARE(bars->count(), 2);
    QCOMPARE(bars->barSets()[1]->label(), QStringLiteral("Wskazanie miernika"));
    QCOMPARE(bars->barSets()[1]->at(0), 100.2);
    QCOMPARE(bars->barSets()[0]->color(), QColor(255, 255, 0));
}

void TestChart::errorsChartAxis_data()
{
    DataColumns<double, QStringList>("largest", "labels");
    DataRow("errors up to 0.5", 0.5,
            QStringList{"-0.5", "-0.4", "-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2", "0.3", "0.4",
                        "0.5"});
    DataRow("errors of a few millionths", 0.00005,
            QStringList{"-0.000050", "-0.000040", "-0.000030", "-0.000020", "-0.000010", "0.000000",
                        "0.000010", "0.000020", "0.000030", "0.000040", "0.000050"});
}

void TestChart::errorsChartAxis()
{
    QFETCH(double, largest);
    QFETCH(QStringList, labels);
    ChartControl chart;
    QVERIFY(chart.OpenData(3, 2));
    chart.setAxisMinimum(-largest * 1.07);
    chart.setAxisMaximum(largest * 1.07);
    chart.setAxisStep(largest * 2 * 0.1);
    chart.CloseData();
    // The zero line reads as zero without a sign, whatever rounding the computed tick has.
    const QString zero = labels[5];
    const QStringList shown = ShownTexts(chart);
    QVERIFY2(shown.contains(zero) && !shown.contains("-" + zero), qPrintable(shown.join('|')));
    QValueAxis* axis = ValueAxis(chart);
    QCOMPARE(axis->min(), -largest * 1.07);
    QCOMPARE(axis->max(), largest * 1.07);
    QCOMPARE(TickLabels(chart), labels);
    QCOMPARE(chart.chart()->series().size(), 3);
}

// Texts are shown as given: the chart draws HTML, where "<" is markup and blanks fold.
void TestChart::textsShownAsGiven_data()
{
    DataColumns<int, QString>("place", "text");
    DataRow("main title with two blanks after the semicolon", int(ChartControl::TitlePlace::Main),
            QString("Wykres błędów;  Miernik: <M1> & Co; Nr: 7"));
    DataRow("value axis title", int(ChartControl::TitlePlace::ValueAxis),
            QString(" Wartości  <a> [mV]"));
}

void TestChart::textsShownAsGiven()
{
    QFETCH(int, place);
    QFETCH(QString, text);
    ChartControl chart;
    QVERIFY(chart.OpenData(1, 2));
    chart.setTitle(ChartControl::TitlePlace(place), text);
    chart.CloseData();
    const QStringList shown = ShownTexts(chart);
    QVERIFY2(shown.contains(text), qPrintable(shown.join('|')));
}

void TestChart::allZeroValues()
{
    ChartControl chart;
    QVERIFY(chart.OpenData(2, 1));
    chart.setAxisMinimum(0);
    chart.setAxisMaximum(0);
    chart.setAxisStep(0);
    chart.CloseData();
    QValueAxis* axis = ValueAxis(chart);
    QVERIFY(axis->min() < 0.0 && axis->max() > 0.0);
}

void TestChart::outOfRangeIndicesAreIgnored()
{
    ChartControl chart;
    QVERIFY(!chart.OpenData(-1, 3));
    QVERIFY(chart.OpenData(1, 3));
    chart.setCurrentSeries(4);
    QCOMPARE(chart.currentSeries(), 0);
    chart.setPointValue(3, 9.0);
    chart.setPointValue(-1, 9.0);
    chart.setSeriesLegend(2, QStringLiteral("x"));
    chart.setTitle(ChartControl::TitlePlace(4), QStringLiteral("x"));
    QCOMPARE(chart.pointValue(0, 2), 0.0);
    QVERIFY(chart.CloseData());
    QCOMPARE(chart.pointCount(), 3);
}

void TestChart::rendersOntoAPainter()
{
    ChartControl chart;
    chart.resize(770, 481);
    chart.setChartKind(ChartControl::ChartKind::Bars);
    FillPointsExample(chart);
    chart.CloseData();
    QImage page(1540, 962, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        chart.RenderTo(painter, QRectF(0, 0, 1540, 962));
    }
    page.save(QStringLiteral("chart-render.png"));
    int red = 0;
    int yellow = 0;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2) {
            const QColor c = page.pixelColor(x, y);
            red += c == QColor(255, 0, 0);
            yellow += c == QColor(255, 255, 0);
        }
    QVERIFY2(red > 500, qPrintable(QString::number(red)));
    QVERIFY2(yellow > 100, qPrintable(QString::number(yellow)));
}

// The program's font is set in pixels: the title font grows in whichever unit the font has,
// without "QFont::setPointSizeF: Point size <= 0" on every chart made.
void TestChart::titleFontFromTheApplicationFont_data()
{
    DataColumns<QFont, double, int>("font", "titlePoints", "titlePixels");
    QFont points(QStringLiteral("Arial"));
    points.setPointSizeF(8);
    QFont pixels(QStringLiteral("Arial"));
    pixels.setPixelSize(11);
    DataRow("points", points, 10.0, -1);
    DataRow("pixels, as the program's dialogs", pixels, -1.0, 14);
}

void TestChart::titleFontFromTheApplicationFont()
{
    QFETCH(QFont, font);
    QFETCH(double, titlePoints);
    QFETCH(int, titlePixels);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Point size <= 0")));
    const QFont before = QApplication::font();
    QApplication::setFont(font);
    ChartControl chart;
    QApplication::setFont(before);
    const QFont title = chart.chart()->titleFont();
    QVERIFY(title.bold());
    QCOMPARE(title.pointSizeF(), titlePoints);
    QCOMPARE(title.pixelSize(), titlePixels);
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
