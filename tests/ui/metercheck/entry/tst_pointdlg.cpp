// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/metercheck/entry/CPointDlg.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "Child.h"
#include "RecordingMessageService.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The point dialog on point 3 of range 1 of the document.
class TestPointDlg : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    MeterCheckDoc doc;

private slots:
    void init()
    {
        doc = MeterCheckDoc();
        MeterRange& r = doc.ranges[1];
        r.function = RangeFunction::Voltage;
        r.rangeUnit = "mV";
        r.rangeDefined = 1;
        r.points[3] = {"99.9", "100.0", "-0.1", "0.5", "0.04", "mV", 0, 1, 0, 1};
    }

    void editShowsTheNominalValueOfTheMethod_data()
    {
        DataColumns<int, QString, QString>("method", "caption", "shown");
        DataRow("exact setting", 0, "Nastawa kalibratora", "100.0");
        DataRow("exact reading", 1, "Wskazanie miernika", "99.9");
    }
    void editShowsTheNominalValueOfTheMethod()
    {
        QFETCH(int, method);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        doc.method = CheckMethod(method);
        CPointDlg dlg(MeterCheckMode::EditPoint, doc.method, doc.ranges[1], 3, log);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Dodawanie punktu pomiarowego"));
        QCOMPARE(Child<QLabel>(dlg, "captionLabel")->text(), caption);
        QCOMPARE(Child<QLineEdit>(dlg, "valueEdit")->text(), shown);
        QCOMPARE(Child<QLabel>(dlg, "unitLabel")->text(), QStringLiteral("mV"));
        CPointDlg add(MeterCheckMode::AddPoint, doc.method, doc.ranges[1], 3, log);
        QCOMPARE(Child<QLineEdit>(add, "valueEdit")->text(), QString());
    }

    void okOnEmptyEditDoesNothing()
    {
        RecordingMessageService messages;
        CPointDlg dlg(MeterCheckMode::AddPoint, doc.method, doc.ranges[1], 3, messages);
        dlg.show();
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QVERIFY(messages.messages.isEmpty());
    }

    void refusedValueEmptiesTheEdit()
    {
        RecordingMessageService messages;
        CPointDlg dlg(MeterCheckMode::EditPoint, doc.method, doc.ranges[1], 3, messages);
        dlg.show();
        auto* edit = Child<QLineEdit>(dlg, "valueEdit");
        edit->clear();
        QTest::keyClicks(edit, "13201");
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.Texts(),
                 QStringList{"Podana nastawa nie mieści się w zakresie kalibratora."});
        QCOMPARE(edit->text(), QString());
        QCOMPARE(doc.ranges[1].points[3].setting, QStringLiteral("100.0"));
        // A value too long for the file keeps the text for correcting.
        QTest::keyClicks(edit, "100.1251");
        dlg.accept();
        QVERIFY(dlg.isVisible());
        QCOMPARE(edit->text(), QStringLiteral("100.1251"));
        QCOMPARE(doc.ranges[1].points[3].setting, QStringLiteral("100.0"));
    }

    void okStoresAndSwitchesThePointOn()
    {
        RecordingMessageService messages;
        CPointDlg dlg(MeterCheckMode::EditPoint, doc.method, doc.ranges[1], 3, messages);
        dlg.show();
        auto* edit = Child<QLineEdit>(dlg, "valueEdit");
        edit->selectAll();
        QTest::keyClicks(edit, "-5,25");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const MeterPoint& p = doc.ranges[1].points[3];
        QCOMPARE(p.setting, QStringLiteral("-5.25"));
        QCOMPARE(p.reading, QStringLiteral("99.9"));
        QCOMPARE(p.marked, quint8(1));
        QCOMPARE(p.pointMeasured, quint8(1));
        QVERIFY(messages.messages.isEmpty());
    }

    void cancelLeavesThePoint()
    {
        CPointDlg dlg(MeterCheckMode::EditPoint, doc.method, doc.ranges[1], 3, log);
        dlg.show();
        Child<QLineEdit>(dlg, "valueEdit")->setText("1.0");
        QTest::mouseClick(Child<QPushButton>(dlg, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(doc.ranges[1].points[3].setting, QStringLiteral("100.0"));
        QCOMPARE(doc.ranges[1].points[3].marked, quint8(0));
    }
};

QTEST_MAIN(TestPointDlg)
#include "tst_pointdlg.moc"
