// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/metercheck/entry/CRangeDlg.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/document/MeterCheckMode.h"

#include "Child.h"
#include "RecordingMessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

MeterRange StoredRange()
{
    MeterRange r;
    r.rangeValue = "400";
    r.rangeUnit = "V";
    r.classReading = "0.5";
    r.constTerm = "2.0";
    r.constUnit = "mV";
    r.calFunction = 3;
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.points[0] = {"100.0", "100.01", "-0.01", "0.7", "0.03", "V", 1, 1, 0, 1};
    return r;
}

} // namespace

class TestRangeDlg : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    MeterRange slot; // the range the dialog works on

private slots:
    void init() { slot = MeterRange(); }

    void addModeOpensOnVoltage()
    {
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, log);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Dodawanie zakresu pomiarowego"));
        QVERIFY(Child<QRadioButton>(dlg, "option1239")->isChecked());
        QVERIFY(Child<QRadioButton>(dlg, "option1242")->isChecked());
        QVERIFY(Child<QRadioButton>(dlg, "option1254")->isChecked());
        QVERIFY(Child<QLineEdit>(dlg, "edit1245")->isEnabled());
        QVERIFY(!Child<QLineEdit>(dlg, "edit1249")->isEnabled());
        QVERIFY(!Child<QComboBox>(dlg, "list1253")->isEnabled());
        QCOMPARE(Child<QComboBox>(dlg, "list1161")->currentText(), QStringLiteral("µV"));
        QCOMPARE(Child<QComboBox>(dlg, "list1253")->count(), 7);
        QCOMPARE(Child<QComboBox>(dlg, "list1258")->itemText(5), QStringLiteral("Ni100"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1246")->maxLength(), 5);
        QCOMPARE(Child<QLineEdit>(dlg, "edit1257")->maxLength(), 4);
    }

    void okWithoutTypingStaysOpen()
    {
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, messages);
        dlg.show();
        QTest::mouseClick(Child<QPushButton>(dlg, "button1"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono zakresu miernika."});
        QCOMPARE(slot.rangeDefined, quint8(0));
    }

    // Keys typed into the edits: refused texts vanish, normalised ones are written back once
    // and the typing goes on behind the digits.
    void typing_data()
    {
        DataColumns<QString, QString, QString, QStringList>("edit", "keys", "shown", "messages");
        DataRow("12a", "edit1245", "12a", "", QStringList{"Błędnie podany zakres miernika."});
        DataRow("class 0,5", "edit1246", "0,5", "0.5", QStringList{});
        DataRow("class 12", "edit1251", "12", "12.0", QStringList{});
        DataRow("class 0,25", "edit1251", "0,25", "0.25", QStringList{});
        DataRow("constant 2", "edit1252", "2", "2.0", QStringList{});
    }
    void typing()
    {
        QFETCH(QString, edit);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        RecordingMessageService recorder;
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, recorder);
        dlg.show();
        auto* line = Child<QLineEdit>(dlg, edit);
        line->setFocus();
        QTest::keyClicks(line, keys);
        QCOMPARE(line->text(), shown);
        QCOMPARE(recorder.Texts(), messages);
    }

    void toTypedAfterChoosingTemperature()
    {
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, messages);
        dlg.show();
        QTest::mouseClick(Child<QRadioButton>(dlg, "option1244"), Qt::LeftButton);
        QVERIFY(Child<QLineEdit>(dlg, "edit1259")->isEnabled());
        QVERIFY(!Child<QLineEdit>(dlg, "edit1257")->isEnabled());
        QTest::keyClicks(Child<QLineEdit>(dlg, "edit1259"), "1370");
        Child<QComboBox>(dlg, "list1253")->setCurrentIndex(6);
        emit Child<QComboBox>(dlg, "list1253")->activated(6);
        QTest::mouseClick(Child<QRadioButton>(dlg, "option1256"), Qt::LeftButton);
        auto* to = Child<QLineEdit>(dlg, "edit1257");
        QVERIFY(to->isEnabled());
        QTest::keyClicks(to, "23");
        QCOMPARE(to->text(), QStringLiteral("23.0"));
        QTest::mouseClick(Child<QPushButton>(dlg, "button1"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(messages.messages.isEmpty());
        const MeterRange& r = slot;
        QCOMPARE(r.rangeValue, QStringLiteral("1370"));
        QCOMPARE(r.sensorName, QStringLiteral("K (NiCr-NiAl)"));
        QCOMPARE(r.coldJunction, ColdJunction::To);
        QCOMPARE(r.toValue, QStringLiteral("23.0"));
        QCOMPARE(r.calFunction, qint16(7));
        QCOMPARE(r.rangeDefined, quint8(1));
    }

    // A clicked option is the editor's choice: the quantity, the sensor (the range's function)
    // and the thermocouple's junction.
    void optionsReachTheEditor_data()
    {
        DataColumns<QStringList, int, int>("clicks", "function", "junction");
        const int tex = int(ColdJunction::Tex);
        DataRow("current", QStringList{"option1240"}, int(RangeFunction::Current), tex);
        DataRow("resistance", QStringList{"option1241"}, int(RangeFunction::Resistance), tex);
        DataRow("RTD", QStringList{"option1244", "option1243"}, int(RangeFunction::Rtd), tex);
        DataRow("T/C after RTD", QStringList{"option1244", "option1243", "option1242"},
                int(RangeFunction::Thermocouple), tex);
        DataRow("T/C at Tin", QStringList{"option1244", "option1255"},
                int(RangeFunction::Thermocouple), int(ColdJunction::Tin));
        DataRow("T/C at To", QStringList{"option1244", "option1256"},
                int(RangeFunction::Thermocouple), int(ColdJunction::To));
    }
    void optionsReachTheEditor()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, function);
        QFETCH(int, junction);
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, log);
        dlg.show();
        for (const QString& name : clicks)
            Child<QRadioButton>(dlg, name)->click();
        QCOMPARE(dlg.editor().range().function, RangeFunction(function));
        QCOMPARE(dlg.editor().range().coldJunction, ColdJunction(junction));
        QVERIFY(Child<QRadioButton>(dlg, clicks.last())->isChecked());
    }

    void cancelLeavesTheRange()
    {
        slot = StoredRange();
        const MeterRange before = slot;
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::EditRange, slot, messages);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Edycja zakresu pomiarowego"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1245")->text(), QStringLiteral("400"));
        QCOMPARE(Child<QComboBox>(dlg, "list1158")->currentText(), QStringLiteral("V"));
        QCOMPARE(Child<QComboBox>(dlg, "list1161")->currentText(), QStringLiteral("mV"));
        QTest::mouseClick(Child<QRadioButton>(dlg, "option1241"), Qt::LeftButton);
        QTest::keyClicks(Child<QLineEdit>(dlg, "edit1250"), "40");
        QTest::keyClicks(Child<QLineEdit>(dlg, "edit1246"), "1");
        QTest::mouseClick(Child<QPushButton>(dlg, "button2"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(slot, before);
    }

    void okKeepsPointsAndMeasuredFlag()
    {
        slot = StoredRange();
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::EditRange, slot, messages);
        dlg.show();
        auto* value = Child<QLineEdit>(dlg, "edit1245");
        value->selectAll();
        QTest::keyClicks(value, "200");
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const MeterRange& r = slot;
        QCOMPARE(r.rangeValue, QStringLiteral("200"));
        QCOMPARE(r.calFunction, qint16(3));
        QCOMPARE(r.rangeMeasured, quint8(1));
        QCOMPARE(r.points[0].setting, QStringLiteral("100.01"));
    }

    // What a file holds is shown as it is at opening, without messages.
    void storedTextsAreNotCheckedAtOpening()
    {
        slot = StoredRange();
        slot.classRange = "x1";
        slot.classReading = "1";
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::EditRange, slot, messages);
        QCOMPARE(Child<QLineEdit>(dlg, "edit1251")->text(), QStringLiteral("x1"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1246")->text(), QStringLiteral("1"));
        QVERIFY(messages.messages.isEmpty());
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(slot.classRange, QStringLiteral("x1"));
    }

    // A slot with a quantity the editor does not know shows no option selected.
    void unknownFunctionSelectsNothing()
    {
        slot.function = RangeFunction(9);
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::EditRange, slot, messages);
        for (const char* name :
             {"option1239", "option1240", "option1241", "option1244", "option1242", "option1243",
              "option1254", "option1255", "option1256"})
            QVERIFY2(!Child<QRadioButton>(dlg, name)->isChecked(), name);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono zakresu miernika."});
    }
};

QTEST_MAIN(TestRangeDlg)
#include "tst_rangedlg.moc"
