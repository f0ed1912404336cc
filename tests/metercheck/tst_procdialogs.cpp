// SPDX-License-Identifier: MIT
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"

#include "controls/ToggleButton.h"
#include "link/CalFunctionTable.h"
#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/procedures/CExactReadingDlg.h"
#include "metercheck/procedures/CExactSettingDlg.h"
#include "metercheck/procedures/CProcedureDlg.h"
#include "metercheck/procedures/ProcedureGlobals.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

// Range 0: a K thermocouple with To = 23.0 served by function 13; point 0 nominal 300 °C.
void ThermocoupleDocument(int method)
{
    meterCheckDoc = MeterCheckDoc{};
    meterCheckDoc.method = qint16(method);
    MeterRange& r = meterCheckDoc.ranges[0];
    r.rangeDefined = 1;
    r.function = 3;
    r.calFunction = 13;
    r.sensorName = "K (NiCr-NiAl)";
    r.coldJunction = 2;
    r.toValue = "23.0";
    r.rangeValue = "1000";
    r.rangeUnit = "°C";
    MeterPoint& p = r.points[0];
    p.pointDefined = 1;
    p.marked = 1;
    (method == 0 ? p.setting : p.reading) = "300";
    p.unit = "°C";
    setpointText = "300.0";
    measuredPoint = 0;
    documentModified = false;
}

// A 50 mV voltage range served by function 0, output -12.345 mV.
void VoltageDocument()
{
    meterCheckDoc = MeterCheckDoc{};
    meterCheckDoc.method = 1;
    MeterRange& r = meterCheckDoc.ranges[0];
    r.rangeDefined = 1;
    r.function = 0;
    r.calFunction = 0;
    r.rangeValue = "50";
    r.rangeUnit = "mV";
    r.points[0].pointDefined = 1;
    r.points[0].reading = "-12.345";
    setpointText = "-12.345";
    documentModified = false;
}

} // namespace

class TestProcDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void procedureChoice()
    {
        CProcedureDlg dialog;
        QCOMPARE(dialog.windowTitle(), "Procedura pomiarowa");
        QVERIFY(dialog.currentRangeButton->isChecked());
        QVERIFY(dialog.markedPointsButton->isChecked());
        QCOMPARE(dialog.RangeScope(), qint16(0));
        QCOMPARE(dialog.PointScope(), qint16(0));
        QCOMPARE(dialog.currentRangeButton->text(), "bieżący zakres");
        QCOMPARE(dialog.allRangesButton->text(), "wszystkie zakresy");
        QCOMPARE(dialog.markedPointsButton->text(), "zaznaczone");
        QCOMPARE(dialog.allPointsButton->text(), "wszystkie");
        dialog.allRangesButton->setChecked(true);
        dialog.allPointsButton->setChecked(true);
        QCOMPARE(dialog.RangeScope(), qint16(1));
        QCOMPARE(dialog.PointScope(), qint16(1));
        QVERIFY(!dialog.currentRangeButton->isChecked());
    }

    void exactSettingShowsThePoint()
    {
        ThermocoupleDocument(0);
        CExactSettingDlg dialog(0, 0);
        QCOMPARE(dialog.windowTitle(), "Metoda dokładnej nastawy");
        QCOMPARE(dialog.descriptionLabel->text(),
                 "Pomiar temperatury; Czujnik T/C: K (NiCr-NiAl) [To=23.0°C]");
        QCOMPARE(dialog.indicationUnit->text(), "°C");
        QCOMPARE(dialog.setpointLabel->text(), "300.0");
        QCOMPARE(dialog.setpointUnit->text(), "°C");
        QCOMPARE(dialog.meterRangeLabel->text(), "1000");
        QCOMPARE(dialog.meterRangeUnit->text(), "°C");
        QCOMPARE(dialog.calibratorRange->text(), "1370.0");
        QCOMPARE(dialog.calibratorRangeUnit->text(), "°C");
        QCOMPARE(dialog.abortButton->text(), "Przerwij");
        QCOMPARE(dialog.indicationEdit->maxLength(), 7);
        QVERIFY(dialog.indicationEdit->text().isEmpty());
        const QFont font = dialog.indicationEdit->font();
        QCOMPARE(font.family(), "Courier");
        QVERIFY(font.bold());
        QCOMPARE(dialog.indicationEdit->palette().color(QPalette::Base), QColor(0x93, 0xE3, 0x95));
        QCOMPARE(dialog.indicationEdit->palette().color(QPalette::Text), QColor(Qt::black));
    }

    void exactSettingRefusesBadIndication()
    {
        ThermocoupleDocument(0);
        meterCheckDoc.ranges[0].points[0].reading = "old";
        RecordingMessageService messages;
        CExactSettingDlg dialog(0, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(dialog.indicationEdit, "30a.1");
        dialog.okButton->click();
        QCOMPARE(messages.Texts(), QStringList({"Błędnie podane wskazanie miernika."}));
        QCOMPARE(messages.messages.at(0).caption, "Błąd!");
        QCOMPARE(messages.messages.at(0).icon, MessageIcon::Error);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.indicationEdit->text().isEmpty());
        QVERIFY(meterCheckDoc.ranges[0].points[0].reading.isEmpty());
        QVERIFY(!documentModified);

        QTest::keyClicks(dialog.indicationEdit, "300,20");
        dialog.okButton->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.indicationEdit->text(), "300.20");
        QCOMPARE(meterCheckDoc.ranges[0].points[0].reading, "300.20");
        QVERIFY(documentModified);
    }

    void exactSettingAbortStoresNothing()
    {
        ThermocoupleDocument(0);
        CExactSettingDlg dialog(0, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(dialog.indicationEdit, "299.9");
        dialog.abortButton->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(meterCheckDoc.ranges[0].points[0].reading.isEmpty());
        QVERIFY(!documentModified);
    }

    void exactReadingShowsTheOutput()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        QCOMPARE(dialog.windowTitle(), "Metoda dokładnego odczytu");
        QCOMPARE(dialog.descriptionLabel->text(), "Pomiar napięcia");
        QCOMPARE(dialog.readingLabel->text(), "-12.345");
        QCOMPARE(dialog.readingUnit->text(), "mV");
        QCOMPARE(dialog.signLabel->text(), "-");
        QCOMPARE(dialog.outputLabel->text(), "12.345");
        QCOMPARE(dialog.calibratorRange->text(), "50");
        QCOMPARE(dialog.calibratorRangeUnit->text(), "mV");
        QVERIFY(dialog.signButton->isChecked());
        const int xs[] = {144, 125, 105, 67, 48}; // three decimals
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(dialog.digitButtons[n]->x(), xs[n]);
            QCOMPARE(dialog.digitButtons[n]->y(), 171);
            QCOMPARE(dialog.digitButtons[n]->isChecked(), n == 0);
        }
        QVERIFY(sender.sent.isEmpty());
    }

    // Tab, Enter and Esc re-send the output like every other key and are not dialog keys.
    void dialogKeysOnlyResend_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void dialogKeysOnlyResend()
    {
        QFETCH(int, key);
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY(dialog.isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key(key));
        QCOMPARE(sender.sent, QStringList({"N-12.345"}));
        QCOMPARE(QApplication::focusWidget(), focus);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
    }

    void arrowKeysAndSpinStep()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(dialog.digitButtons[2], Qt::LeftButton); // 0.1 mV
        sender.sent.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(dialog.outputLabel->text(), "12.245");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        dialog.spinUp->click();
        QCOMPARE(sender.sent, QStringList({"N-12.245", "N-12.345", "N-12.245"}));
        QVERIFY(dialog.digitButtons[2]->isChecked());
        QVERIFY(!dialog.digitButtons[0]->isChecked());
    }

    void spinStopsAtTheLimit()
    {
        VoltageDocument();
        setpointText = "-54.9";
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.digitButtons[2]->click(); // 0.1 mV
        for (int i = 0; i < 3; ++i)
            dialog.spinDown->click();
        QCOMPARE(dialog.outputLabel->text(), "55.000");
        QCOMPARE(sender.sent, QStringList({"N-55.000", "N-55.000", "N-55.000"}));
    }

    void signButtonAndKey()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.signButton->click();
        QCOMPARE(dialog.signLabel->text(), "");
        QVERIFY(!dialog.signButton->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
        QCOMPARE(dialog.signLabel->text(), "-");
        QVERIFY(dialog.signButton->isChecked());
        QCOMPARE(sender.sent, QStringList({"N12.345", "N12.345", "N-12.345"}));
    }

    void signButtonCannotMakeNegativeResistance()
    {
        VoltageDocument();
        MeterRange& r = meterCheckDoc.ranges[0];
        r.function = 2;
        r.calFunction = 5;
        r.rangeUnit = "Ohm";
        setpointText = "100.00";
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.signButton->click();
        QVERIFY(!dialog.signButton->isChecked());
        QCOMPARE(dialog.signLabel->text(), "");
        QVERIFY(sender.sent.isEmpty());
    }

    void okStoresTheOutput()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.spinUp->click();
        dialog.okButton->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(meterCheckDoc.ranges[0].points[0].setting, "-12.344");
        QVERIFY(documentModified);
    }

    void abortStoresNothing()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(0, 0, sender);
        dialog.spinUp->click();
        dialog.abortButton->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(meterCheckDoc.ranges[0].points[0].setting.isEmpty());
        QVERIFY(!documentModified);
    }
};

QTEST_MAIN(TestProcDialogs)
#include "tst_procdialogs.moc"
