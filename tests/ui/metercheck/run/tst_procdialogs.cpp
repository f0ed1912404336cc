// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "ModalHelper.h"
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"

#include "ui/controls/ToggleButton.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/run/CExactReadingDlg.h"
#include "ui/metercheck/run/CExactSettingDlg.h"
#include "ui/metercheck/run/CProcedureDlg.h"
#include "ui/metercheck/run/MeasurementDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

class TestProcDialogs : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    QString setpointText; // the value the procedure sent last

    // Digit button n of the exact-reading dialog, from the lowest digit (n = 0).
    static ToggleButton* Digit(const CExactReadingDlg& dialog, int n)
    {
        return Child<ToggleButton>(dialog, QStringLiteral("digitButton%1").arg(n + 1));
    }

    // Range 0: a K thermocouple with To = 23.0 served by function 13; point 0 nominal 300 °C.
    void ThermocoupleDocument(int method)
    {
        session.Reset();
        DocumentBuilder b(doc);
        b.Method(CheckMethod(method)).Range(0, ThermocoupleRange()).Nominals({"300"});
        b.LastRange().rangeValue = "1000";
        b.LastRange().points[0].unit = "°C";
        setpointText = "300.0";
    }

    // A 50 mV voltage range served by function 0, output -12.345 mV.
    void VoltageDocument()
    {
        session.Reset();
        DocumentBuilder(doc)
            .Method(CheckMethod::ExactReading)
            .Range(0, RangeFunction::Voltage, "50", "mV")
            .Nominals({"-12.345"}, false);
        setpointText = "-12.345";
    }

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void procedureChoice()
    {
        CProcedureDlg dialog;
        QCOMPARE(dialog.windowTitle(), "Procedura pomiarowa");
        QVERIFY(Child<QRadioButton>(dialog, "currentRangeButton")->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, "markedPointsButton")->isChecked());
        QCOMPARE(dialog.RangeScope(), RangeScope::Current);
        QCOMPARE(dialog.PointScope(), PointScope::Marked);
        QCOMPARE(Child<QRadioButton>(dialog, "currentRangeButton")->text(), "bieżący zakres");
        QCOMPARE(Child<QRadioButton>(dialog, "allRangesButton")->text(), "wszystkie zakresy");
        QCOMPARE(Child<QRadioButton>(dialog, "markedPointsButton")->text(), "zaznaczone");
        QCOMPARE(Child<QRadioButton>(dialog, "allPointsButton")->text(), "wszystkie");
        Child<QRadioButton>(dialog, "allRangesButton")->setChecked(true);
        Child<QRadioButton>(dialog, "allPointsButton")->setChecked(true);
        QCOMPARE(dialog.RangeScope(), RangeScope::All);
        QCOMPARE(dialog.PointScope(), PointScope::All);
        QVERIFY(!Child<QRadioButton>(dialog, "currentRangeButton")->isChecked());
    }

    void exactSettingShowsThePoint()
    {
        ThermocoupleDocument(0);
        CExactSettingDlg dialog(session, 0, setpointText, log);
        QCOMPARE(dialog.windowTitle(), "Metoda dokładnej nastawy");
        QCOMPARE(Child<QLabel>(dialog, "descriptionLabel")->text(),
                 "Pomiar temperatury; Czujnik T/C: K (NiCr-NiAl) [To=23.0°C]");
        QCOMPARE(Child<QLabel>(dialog, "indicationUnit")->text(), "°C");
        QCOMPARE(Child<QLabel>(dialog, "setpointLabel")->text(), "300.0");
        QCOMPARE(Child<QLabel>(dialog, "setpointUnit")->text(), "°C");
        QCOMPARE(Child<QLabel>(dialog, "meterRangeLabel")->text(), "1000");
        QCOMPARE(Child<QLabel>(dialog, "meterRangeUnit")->text(), "°C");
        QCOMPARE(Child<QLabel>(dialog, "calibratorRange")->text(), "1370.0");
        QCOMPARE(Child<QLabel>(dialog, "calibratorRangeUnit")->text(), "°C");
        QCOMPARE(Child<QPushButton>(dialog, "abortButton")->text(), "Przerwij");
        QCOMPARE(Child<QLineEdit>(dialog, "indicationEdit")->maxLength(), 7);
        QVERIFY(Child<QLineEdit>(dialog, "indicationEdit")->text().isEmpty());
        const QFont font = Child<QLineEdit>(dialog, "indicationEdit")->font();
        QCOMPARE(font.family(), "Courier");
        QVERIFY(font.bold());
        QCOMPARE(Child<QLineEdit>(dialog, "indicationEdit")->palette().color(QPalette::Base),
                 QColor(0x93, 0xE3, 0x95));
        QCOMPARE(Child<QLineEdit>(dialog, "indicationEdit")->palette().color(QPalette::Text),
                 QColor(Qt::black));
    }

    void exactSettingRefusesBadIndication()
    {
        ThermocoupleDocument(0);
        doc.ranges[0].points[0].reading = "old";
        RecordingMessageService messages;
        CExactSettingDlg dialog(session, 0, setpointText, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(Child<QLineEdit>(dialog, "indicationEdit"), "30a.1");
        Child<QPushButton>(dialog, "okButton")->click();
        QVERIFY(messages.OnlyError("Błędnie podane wskazanie miernika."));
        QVERIFY(dialog.isVisible());
        QVERIFY(Child<QLineEdit>(dialog, "indicationEdit")->text().isEmpty());
        QCOMPARE(dialog.Indication().value_or("kept"), ""); // the reading handed back is emptied
        QVERIFY(!session.IsModified());

        QTest::keyClicks(Child<QLineEdit>(dialog, "indicationEdit"), "300,20");
        Child<QPushButton>(dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Child<QLineEdit>(dialog, "indicationEdit")->text(), "300.20");
        QCOMPARE(dialog.Indication().value_or("kept"), "300.20");
        // The procedure stores it: the dialog leaves the document alone.
        QCOMPARE(doc.ranges[0].points[0].reading, "old");
        QVERIFY(!session.IsModified());
    }

    void exactSettingAbortStoresNothing()
    {
        ThermocoupleDocument(0);
        CExactSettingDlg dialog(session, 0, setpointText, log);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(Child<QLineEdit>(dialog, "indicationEdit"), "299.9");
        Child<QPushButton>(dialog, "abortButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.Indication());
        QVERIFY(doc.ranges[0].points[0].reading.isEmpty());
        QVERIFY(!session.IsModified());
    }

    void exactReadingShowsTheOutput()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        QCOMPARE(dialog.windowTitle(), "Metoda dokładnego odczytu");
        QCOMPARE(Child<QLabel>(dialog, "descriptionLabel")->text(), "Pomiar napięcia");
        QCOMPARE(Child<QLabel>(dialog, "readingLabel")->text(), "-12.345");
        QCOMPARE(Child<QLabel>(dialog, "readingUnit")->text(), "mV");
        QCOMPARE(Child<QLabel>(dialog, "signLabel")->text(), "-");
        QCOMPARE(Child<QLabel>(dialog, "outputLabel")->text(), "12.345");
        QCOMPARE(Child<QLabel>(dialog, "calibratorRange")->text(), "50");
        QCOMPARE(Child<QLabel>(dialog, "calibratorRangeUnit")->text(), "mV");
        QVERIFY(Child<ToggleButton>(dialog, "signButton")->isChecked());
        const int xs[] = {144, 125, 105, 67, 48}; // three decimals
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(Digit(dialog, n)->x(), xs[n]);
            QCOMPARE(Digit(dialog, n)->y(), 171);
            QCOMPARE(Digit(dialog, n)->isChecked(), n == 0);
        }
        QVERIFY(sender.sent.isEmpty());
    }

    // Tab, Enter and Esc re-send the output like every other key and are not dialog keys.
    void dialogKeysOnlyResend_data()
    {
        QTest::addColumn<int>("key");
        DataRow("Tab", int(Qt::Key_Tab));
        DataRow("Shift+Tab", int(Qt::Key_Backtab));
        DataRow("Enter", int(Qt::Key_Return));
        DataRow("Esc", int(Qt::Key_Escape));
    }
    void dialogKeysOnlyResend()
    {
        QFETCH(int, key);
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
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
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(Digit(dialog, 2), Qt::LeftButton); // 0.1 mV
        sender.sent.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(Child<QLabel>(dialog, "outputLabel")->text(), "12.245");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        Child<QToolButton>(dialog, "spinUp")->click();
        QCOMPARE(sender.sent, QStringList({"N-12.245", "N-12.345", "N-12.245"}));
        QVERIFY(Digit(dialog, 2)->isChecked());
        QVERIFY(!Digit(dialog, 0)->isChecked());
    }

    void spinStopsAtTheLimit()
    {
        VoltageDocument();
        setpointText = "-54.9";
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        Digit(dialog, 2)->click(); // 0.1 mV
        for (int i = 0; i < 3; ++i)
            Child<QToolButton>(dialog, "spinDown")->click();
        QCOMPARE(Child<QLabel>(dialog, "outputLabel")->text(), "55.000");
        QCOMPARE(sender.sent, QStringList({"N-55.000", "N-55.000", "N-55.000"}));
    }

    void signButtonAndKey()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Child<ToggleButton>(dialog, "signButton")->click();
        QCOMPARE(Child<QLabel>(dialog, "signLabel")->text(), "");
        QVERIFY(!Child<ToggleButton>(dialog, "signButton")->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
        QCOMPARE(Child<QLabel>(dialog, "signLabel")->text(), "-");
        QVERIFY(Child<ToggleButton>(dialog, "signButton")->isChecked());
        QCOMPARE(sender.sent, QStringList({"N12.345", "N12.345", "N-12.345"}));
    }

    void signButtonCannotMakeNegativeResistance()
    {
        VoltageDocument();
        MeterRange& r = doc.ranges[0];
        r.function = RangeFunction::Resistance;
        r.calFunction = 5;
        r.rangeUnit = "Ohm";
        setpointText = "100.00";
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        Child<ToggleButton>(dialog, "signButton")->click();
        QVERIFY(!Child<ToggleButton>(dialog, "signButton")->isChecked());
        QCOMPARE(Child<QLabel>(dialog, "signLabel")->text(), "");
        QVERIFY(sender.sent.isEmpty());
    }

    void okStoresTheOutput()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        Child<QToolButton>(dialog, "spinUp")->click();
        Child<QPushButton>(dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Setting().value_or("none"), "-12.344");
        // The procedure stores it: the dialog leaves the document alone.
        QVERIFY(doc.ranges[0].points[0].setting.isEmpty());
        QVERIFY(!session.IsModified());
    }

    // What the screen's dialogs hand the procedure as the operator ends them; the document is
    // left alone. "none": nothing handed back, the point keeps its value.
    void runnerHandsBackWhatWasDone_data()
    {
        DataColumns<int, QString, bool, int, QString>("method", "typed", "ok", "outcome", "value");
        const int ok = int(MeasurementOutcome::Ok);
        const int abort = int(MeasurementOutcome::Abort);
        DataRow("indication typed", 0, "299,95", true, ok, "299.95");
        DataRow("nothing typed keeps the reading", 0, "", true, ok, "none");
        DataRow("refused, then nothing typed empties it", 0, "3x", true, ok, "");
        DataRow("indication aborted", 0, "299.9", false, abort, "none");
        DataRow("output reached", 1, "", true, ok, "-12.344");
        DataRow("output aborted", 1, "", false, abort, "none");
    }
    void runnerHandsBackWhatWasDone()
    {
        QFETCH(int, method);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        if (method == 0)
            ThermocoupleDocument(0);
        else
            VoltageDocument();
        const MeterPoint before = doc.ranges[0].points[0];
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MeasurementDialogs dialogs(session, nullptr, sender, messages);
        bool found = false;
        MeasurementResult result;
        if (method == 0) {
            OnModal<CExactSettingDlg>(found, [&](CExactSettingDlg* dialog) {
                Child<QLineEdit>(dialog, "indicationEdit")->setText(typed);
                if (!ok) {
                    Child<QPushButton>(dialog, "abortButton")->click();
                    return;
                }
                Child<QPushButton>(dialog, "okButton")->click();
                if (dialog->isVisible()) // refused: the edit is empty now
                    Child<QPushButton>(dialog, "okButton")->click();
            });
            result = dialogs.RunExactSetting(0, 0, setpointText);
        } else {
            OnModal<CExactReadingDlg>(found, [&](CExactReadingDlg* dialog) {
                Child<QToolButton>(dialog, "spinUp")->click();
                Child<QPushButton>(dialog, ok ? "okButton" : "abortButton")->click();
            });
            result = dialogs.RunExactReading(0, 0, setpointText);
        }
        QVERIFY(found);
        QTEST(int(result.outcome), "outcome");
        QTEST(result.value.value_or("none"), "value");
        QVERIFY(doc.ranges[0].points[0] == before);
        QVERIFY(!session.IsModified());
    }

    void abortStoresNothing()
    {
        VoltageDocument();
        RecordingCommandSender sender;
        CExactReadingDlg dialog(session, 0, 0, setpointText, sender);
        Child<QToolButton>(dialog, "spinUp")->click();
        Child<QPushButton>(dialog, "abortButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.Setting());
        QVERIFY(doc.ranges[0].points[0].setting.isEmpty());
        QVERIFY(!session.IsModified());
    }
};

QTEST_MAIN(TestProcDialogs)
#include "tst_procdialogs.moc"
