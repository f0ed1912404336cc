// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/link/NumberText.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/CSourceDisplay.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"
#include "ui/panel/ReadoutPainter.h"
#include "core/panel/SourceRangeTable.h"

#include <QImage>
#include <QPainter>
#include <QTest>

// The two readouts: what each shows for the panel's state, and where the painting puts it.
class TestReadouts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sourceContent();
    void meterContentFollowsHold();
    void faceAndValueAgainstTheRightEdge();
    void negativeSignAtTheFarLeft();
    void resistanceRangeShowsOhmNeverTheText();
    void markStaysUntilTheNextDraw();
    void valueNeverCut_data();
    void valueNeverCut();
    void noMeasurementMarkFitsTheFace();

private:
    PanelSourceState sourceState;
    PanelMeterState meterState;
};

namespace {

bool Dark(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return c.red() < 70 && c.green() < 110 && c.blue() < 70;
}

// Leftmost and rightmost column holding dark (text) pixels inside the rows [top, bottom).
QPair<int, int> InkColumns(const QImage& image, int left, int right, int top, int bottom)
{
    int first = -1, last = -1;
    for (int x = left; x < right; ++x)
        for (int y = top; y < bottom; ++y)
            if (Dark(image, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

// Topmost row holding dark pixels inside the columns [left, right).
int InkTop(const QImage& image, int left, int right, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Dark(image, x, y))
                return y;
    return -1;
}

QImage Paint(const ReadoutContent& content)
{
    QImage image(318, 104, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    PaintReadout(painter, content, ReadoutFonts());
    return image;
}

} // namespace

void TestReadouts::init()
{
    sourceState = PanelSourceState();
    meterState = PanelMeterState();
}

void TestReadouts::sourceContent()
{
    PanelSourceState s;
    s.entryText = QStringLiteral("12.5");
    s.entryPositive = false;
    s.operateOn = true;
    s.sourceRangeName = QStringLiteral("K (NiCr-NiAl)");
    s.sourceUnit = QStringLiteral("°C");
    const ReadoutContent c = SourceReadoutContent(s);
    QCOMPARE(c.valueText, QStringLiteral("12.5"));
    QCOMPARE(c.positive, false);
    QCOMPARE(c.statusWord, QStringLiteral("OPR"));
    QCOMPARE(c.statusX, 260);
    QCOMPARE(c.rangeName, QStringLiteral("K (NiCr-NiAl)"));
    QCOMPARE(c.unit, QStringLiteral("°C"));
    s.operateOn = false;
    QCOMPARE(SourceReadoutContent(s).statusWord, QStringLiteral("STD"));
}

void TestReadouts::meterContentFollowsHold()
{
    PanelMeterState m;
    m.meterText = QStringLiteral("1.234");
    QCOMPARE(MeterReadoutContent(m).valueText, QStringLiteral("1.234"));
    QCOMPARE(MeterReadoutContent(m).statusWord, QString());
    QCOMPARE(MeterReadoutContent(m).statusX, 245);
    m.heldText = QStringLiteral("1.000");
    m.holdOn = true;
    QCOMPARE(MeterReadoutContent(m).valueText, QStringLiteral("1.000"));
    QCOMPARE(MeterReadoutContent(m).statusWord, QStringLiteral("HOLD"));
}

void TestReadouts::faceAndValueAgainstTheRightEdge()
{
    CSourceDisplay display(sourceState);
    QCOMPARE(display.size(), QSize(318, 104));
    const QImage image = display.grab().toImage();
    QCOMPARE(image.pixelColor(150, 25), QColor(110, 194, 110));
    QCOMPARE(image.pixelColor(1, 50), QColor(Qt::black));            // the outline
    QCOMPARE(image.pixelColor(315, 50), image.pixelColor(316, 100)); // outside the face
    QVERIFY(image.pixelColor(315, 50) != QColor(110, 194, 110));

    // "0.000" ends just left of x = 250, whatever its width.
    const auto [first, last] = InkColumns(image, 60, 256, 40, 90);
    QVERIFY2(last <= 250 && last >= 235, qPrintable(QString::number(last)));
    QVERIFY(first > 60 && first < 100); // five characters of about 36 px
}

void TestReadouts::negativeSignAtTheFarLeft()
{
    ReadoutContent c = SourceReadoutContent(sourceState);
    c.valueText = QStringLiteral("5");
    c.positive = false;
    QImage image = Paint(c);
    const auto sign = InkColumns(image, 2, 120, 40, 90);
    QVERIFY2(sign.first >= 17 && sign.first <= 30, qPrintable(QString::number(sign.first)));
    QVERIFY(sign.second < 60);
    const auto digit = InkColumns(image, 120, 256, 40, 90);
    QVERIFY(digit.first > 200 && digit.second <= 250);

    // An empty entry after "+/-" shows only the sign.
    c.valueText.clear();
    image = Paint(c);
    QVERIFY(InkColumns(image, 2, 120, 40, 90).first >= 17);
    QCOMPARE(InkColumns(image, 120, 256, 40, 90).first, -1);
    // A positive sign is blank.
    c.positive = true;
    QCOMPARE(InkColumns(Paint(c), 2, 256, 40, 90).first, -1);
}

void TestReadouts::resistanceRangeShowsOhmNeverTheText()
{
    ReadoutContent c = SourceReadoutContent(sourceState);
    c.rangeName = QStringLiteral("400");
    c.unit = QStringLiteral("Ohm");
    const QImage withOhm = Paint(c);
    // Unit place: a single Ω is narrower than the text "Ohm" would be.
    const auto unit = InkColumns(withOhm, 255, 308, 59, 90);
    QVERIFY(unit.first >= 260);
    c.rangeName = QStringLiteral("Ohm");
    const QImage asText = Paint(c);
    const auto text = InkColumns(asText, 255, 308, 59, 90);
    QVERIFY(unit.second - unit.first < text.second - text.first);
    // Ω after the range name at x = 45.
    const auto name = InkColumns(withOhm, 2, 120, 4, 30);
    QVERIFY(name.second >= 45 && name.second < 75);

    c.rangeName = QStringLiteral("4000");
    const auto name4000 = InkColumns(Paint(c), 2, 120, 4, 30);
    QVERIFY(name4000.second >= 57 && name4000.second < 87);

    c.rangeName = QStringLiteral("Uauto (12V)");
    c.unit = QStringLiteral("V");
    const auto v = InkColumns(Paint(c), 255, 308, 59, 90);
    QVERIFY(v.first >= 260 && v.second - v.first < 20);
}

void TestReadouts::markStaysUntilTheNextDraw()
{
    CSourceDisplay display(sourceState);
    sourceState.entryText = PanelMarks::overRange;
    display.Draw();
    sourceState.entryText = QStringLiteral("12.000");
    QCOMPARE(display.Shown().valueText, PanelMarks::overRange);
    QCOMPARE(PanelMarks::overRange, QStringLiteral("——————"));
    display.Draw();
    QCOMPARE(display.Shown().valueText, QStringLiteral("12.000"));

    CMeterDisplay meter(meterState);
    meterState.meterText = QStringLiteral("2.000");
    meter.Draw();
    QCOMPARE(meter.Shown().rangeName, QStringLiteral("25V"));
    QCOMPARE(meter.Shown().valueText, QStringLiteral("2.000"));
}

// The widest texts each readout can be given: the widest legal reply of every measure range
// (a sign and seven digits after the reply's first character), and the limits of every
// source range with its decimals, as "E" or the step keys put them in the readout.
void TestReadouts::valueNeverCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fullSize"); // six characters: the readout's own size

    for (const MeasureRange& row : MeasureRangeTable::Rows()) {
        PanelMeterState state;
        ParseReading(QStringLiteral("A+9999999"), row.decimals, state);
        QTest::addRow("measure %s, A+9999999", qPrintable(row.name)) << state.meterText << false;
    }
    DataRow("measure f, A+10000.5", QStringLiteral("10000.500"), false);
    DataRow("measure 25V, A+12345.7", QStringLiteral("12345.700"), false);
    for (const SourceRange& row : SourceRangeTable()) {
        const QString widest = FormatFixed(qMax(row.max, -row.min), row.decimals);
        QTest::addRow("source %s, %s", qPrintable(row.name), qPrintable(widest))
            << widest << (widest.size() <= 6);
    }
    DataRow("over-range mark", PanelMarks::overRange, true);
    DataRow("under-range mark", PanelMarks::underRange, true);
}

void TestReadouts::valueNeverCut()
{
    QFETCH(QString, text);
    QFETCH(bool, fullSize);
    ReadoutContent c = MeterReadoutContent(meterState);
    c.valueText = text;
    const QImage image = Paint(c);
    // The number stays between the sign's place (x = 17) and x = 250, above the unit.
    QCOMPARE(InkColumns(image, 2, 17, 33, 95).first, -1);
    QCOMPARE(InkColumns(image, 251, 310, 33, 58).first, -1);
    const auto ink = InkColumns(image, 17, 251, 33, 95);
    QVERIFY(ink.first >= 17 && ink.second <= 250 && ink.second >= 235);
    c.valueText = QStringLiteral("8");
    const int digitTop = InkTop(Paint(c), 17, 251, 33, 95);
    if (fullSize && text.front().isDigit())
        QCOMPARE(InkTop(image, 17, 251, 33, 95), digitTop);
    // A smaller number stays clear of a minus sign.
    c.valueText.clear();
    c.positive = false;
    const int signEnd = InkColumns(Paint(c), 2, 120, 33, 95).second;
    if (!fullSize)
        QVERIFY2(ink.first > signEnd + 2,
                 qPrintable(QStringLiteral("%1 %2").arg(ink.first).arg(signEnd)));
}

void TestReadouts::noMeasurementMarkFitsTheFace()
{
    sourceState.linkLost = true;
    meterState.linkLost = true;
    for (const ReadoutContent& c :
         {SourceReadoutContent(sourceState), MeterReadoutContent(meterState)}) {
        QCOMPARE(c.statusWord, QStringLiteral("BRAK"));
        const QImage image = Paint(c);
        // Inside the outline (x = 311), clear of it.
        const auto status = InkColumns(image, 200, 311, 4, 30);
        QVERIFY2(status.first > 200 && status.second < 309,
                 qPrintable(QStringLiteral("%1-%2").arg(status.first).arg(status.second)));
    }
}

QTEST_MAIN(TestReadouts)
#include "tst_readouts.moc"
