// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/OptionButton.h"
#include "ui/controls/ToggleButton.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

class TestButtons : public QObject
{
    Q_OBJECT

private slots:
    void colorButtonPaintsItsFace();
    void colorButtonWithoutColoursUsesTheStyle();
    void colorButtonCaptionUsesItsFont();
    void toggleReportsEveryChangeOnce_data();
    void toggleReportsEveryChangeOnce();
    void toggleUserClickReportsOnce();
    void pressedToggleLooksSunkenAndDarker();
    void optionReportsBecomingChosen();
    void optionUserClickInGroup();
};

static QRgb FaceAt(QWidget& w)
{
    const QImage image = w.grab().toImage();
    // Inside the bevel, away from the caption.
    return image.pixel(5, image.height() / 2);
}

void TestButtons::colorButtonPaintsItsFace()
{
    ColorButton button(QStringLiteral("CE"));
    button.resize(60, 40);
    button.setBackColor(QColor(182, 180, 143));
    button.setTextColor(QColor(255, 0, 0));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    button.setFont(font);
    QCOMPARE(button.backColor(), QColor(182, 180, 143));
    QCOMPARE(button.textColor(), QColor(255, 0, 0));
    QCOMPARE(QColor(FaceAt(button)), QColor(182, 180, 143));
    QVERIFY(button.font().bold());

    // Red caption pixels appear somewhere on the face.
    const QImage image = button.grab().toImage();
    bool redSeen = false;
    for (int y = 0; y < image.height() && !redSeen; ++y)
        for (int x = 0; x < image.width() && !redSeen; ++x) {
            const QColor c = image.pixelColor(x, y);
            redSeen = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    QVERIFY(redSeen);

    button.setBackColor(QColor(255, 143, 140));
    QCOMPARE(QColor(FaceAt(button)), QColor(255, 143, 140));
}

void TestButtons::colorButtonWithoutColoursUsesTheStyle()
{
    ColorButton button(QStringLiteral("OK"));
    button.setBackColor(QColor(10, 20, 30));
    button.setBackColor(QColor());
    QVERIFY(button.styleSheet().isEmpty());
}

// Width in pixels of the dark caption drawn on a light face.
static int CaptionWidth(QWidget& w)
{
    const QImage image = w.grab().toImage();
    int left = image.width();
    int right = -1;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            if (qGray(image.pixel(x, y)) < 90) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    return right - left + 1;
}

void TestButtons::colorButtonCaptionUsesItsFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    QPushButton plain(QStringLiteral("Wskazanie"));
    plain.setFont(font);
    plain.resize(160, 30);
    ColorButton coloured(QStringLiteral("Wskazanie"));
    coloured.setBackColor(QColor(214, 213, 192));
    coloured.setFont(font);
    coloured.resize(160, 30);
    ColorButton fontFirst(QStringLiteral("Wskazanie"));
    fontFirst.setFont(font);
    fontFirst.setBackColor(QColor(214, 213, 192));
    fontFirst.setTextColor(QColor(0, 0, 255));
    fontFirst.resize(160, 30);
    const int expected = CaptionWidth(plain);
    QVERIFY(expected > 20);
    QVERIFY(qAbs(CaptionWidth(coloured) - expected) <= 1);
    QVERIFY(qAbs(CaptionWidth(fontFirst) - expected) <= 1);
}

void TestButtons::toggleReportsEveryChangeOnce_data()
{
    DataColumns<bool, QString, int, bool>("initial", "action", "reports", "after");

    DataRow("released, set pressed", false, "press", 1, true);
    DataRow("pressed, set pressed again", true, "press", 0, true);
    DataRow("released, set released again", false, "release", 0, false);
    DataRow("pressed, set released", true, "release", 1, false);
    DataRow("released, key inverts", false, "toggle", 1, true);
    DataRow("pressed, key inverts", true, "toggle", 1, false);
}

void TestButtons::toggleReportsEveryChangeOnce()
{
    QFETCH(bool, initial);
    QFETCH(QString, action);
    QFETCH(int, reports);
    QFETCH(bool, after);

    ToggleButton button(QStringLiteral("O/S"));
    QVERIFY(button.isCheckable());
    button.setPressed(initial);
    QSignalSpy spy(&button, &ToggleButton::valueClicked);
    if (action == QLatin1String("press"))
        button.setPressed(true);
    else if (action == QLatin1String("release"))
        button.setPressed(false);
    else
        button.toggle();
    QCOMPARE(spy.count(), reports);
    QCOMPARE(button.isPressed(), after);
    if (reports)
        QCOMPARE(spy.first().first().toBool(), after);
}

void TestButtons::toggleUserClickReportsOnce()
{
    ToggleButton button(QStringLiteral("Hold"));
    button.resize(60, 30);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy spy(&button, &ToggleButton::valueClicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QVERIFY(button.isPressed());
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QVERIFY(!button.isPressed());
    QCOMPARE(spy.at(1).first().toBool(), false);
}

void TestButtons::pressedToggleLooksSunkenAndDarker()
{
    ToggleButton button(QStringLiteral("Hold"));
    button.resize(75, 26);
    button.setBackColor(QColor(214, 213, 192));
    const QImage released = button.grab().toImage();
    button.setPressed(true);
    const QImage pressed = button.grab().toImage();
    const int y = released.height() / 2;
    const int releasedFace = QColor(released.pixel(5, y)).lightness();
    const int pressedFace = QColor(pressed.pixel(5, y)).lightness();
    // Plainly darker, not a shade away.
    QVERIFY2(pressedFace * 100 <= releasedFace * 80,
             qPrintable(QStringLiteral("%1 -> %2").arg(releasedFace).arg(pressedFace)));
    // Sunken: the upper left edge dark and the lower right one light, the other way round
    // from the raised face.
    QVERIFY(QColor(released.pixel(0, y)).lightness() > releasedFace);
    QVERIFY(QColor(pressed.pixel(0, y)).lightness() < pressedFace);
    QVERIFY(QColor(pressed.pixel(pressed.width() - 1, y)).lightness() > pressedFace);
}

void TestButtons::optionReportsBecomingChosen()
{
    QWidget half;
    auto* range = new OptionButton(QStringLiteral("RANGE"), &half);
    auto* tc = new OptionButton(QStringLiteral("T/C"), &half);
    range->setBackColor(QColor(255, 255, 128));
    range->setTextColor(QColor(0, 0, 255));
    QSignalSpy rangeSpy(range, &OptionButton::valueClicked);
    QSignalSpy tcSpy(tc, &OptionButton::valueClicked);

    range->setChecked(true);
    QCOMPARE(rangeSpy.count(), 1);
    range->setChecked(true); // already chosen
    QCOMPARE(rangeSpy.count(), 1);

    tc->setChecked(true); // the group moves on; the released one reports nothing
    QCOMPARE(tcSpy.count(), 1);
    QCOMPARE(rangeSpy.count(), 1);
    QVERIFY(!range->isChecked());

    {
        const QSignalBlocker quiet(range);
        range->setChecked(true);
    }
    QCOMPARE(rangeSpy.count(), 1);
    QVERIFY(range->isChecked());
}

void TestButtons::optionUserClickInGroup()
{
    QWidget half;
    half.resize(200, 60);
    auto* range = new OptionButton(QStringLiteral("RANGE"), &half);
    auto* rtd = new OptionButton(QStringLiteral("RTD"), &half);
    range->setGeometry(0, 0, 100, 20);
    rtd->setGeometry(0, 30, 100, 20);
    rtd->setBackColor(QColor(128, 255, 255));
    half.show();
    QVERIFY(QTest::qWaitForWindowExposed(&half));
    QSignalSpy rtdSpy(rtd, &OptionButton::valueClicked);
    QTest::mouseClick(rtd, Qt::LeftButton, {}, QPoint(8, 10));
    QCOMPARE(rtdSpy.count(), 1);
    QTest::mouseClick(rtd, Qt::LeftButton, {}, QPoint(8, 10));
    QCOMPARE(rtdSpy.count(), 1);
    QVERIFY(rtd->isChecked());
    QCOMPARE(QColor(rtd->grab().toImage().pixel(90, 10)), QColor(128, 255, 255));
}

QTEST_MAIN(TestButtons)
#include "tst_buttons.moc"
