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
        QVERIFY(Child<QRadioButton>(dlg, "voltageOption")->isChecked());
        QVERIFY(Child<QRadioButton>(dlg, "thermocoupleOption")->isChecked());
        QVERIFY(Child<QRadioButton>(dlg, "texOption")->isChecked());
        QVERIFY(Child<QLineEdit>(dlg, "voltageValue")->isEnabled());
        QVERIFY(!Child<QLineEdit>(dlg, "currentValue")->isEnabled());
        QVERIFY(!Child<QComboBox>(dlg, "thermocoupleList")->isEnabled());
        QCOMPARE(Child<QComboBox>(dlg, "constUnitList")->currentText(), QStringLiteral("µV"));
        QCOMPARE(Child<QComboBox>(dlg, "thermocoupleList")->count(), 7);
        QCOMPARE(Child<QComboBox>(dlg, "rtdList")->itemText(5), QStringLiteral("Ni100"));
        QCOMPARE(Child<QLineEdit>(dlg, "classReading")->maxLength(), 5);
        QCOMPARE(Child<QLineEdit>(dlg, "toValue")->maxLength(), 4);
    }

    void okWithoutTypingStaysOpen()
    {
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::AddRange, slot, messages);
        dlg.show();
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono zakresu miernika."});
        QCOMPARE(slot.rangeDefined, quint8(0));
    }

    // Keys typed into the edits: refused texts vanish, normalised ones are written back once
    // and the typing goes on behind the digits.
    void typing_data()
    {
        DataColumns<QString, QString, QString, QStringList>("edit", "keys", "shown", "messages");
        DataRow("12a", "voltageValue", "12a", "", QStringList{"Błędnie podany zakres miernika."});
        DataRow("class 0,5", "classReading", "0,5", "0.5", QStringList{});
        DataRow("class 12", "classRange", "12", "12.0", QStringList{});
        DataRow("class 0,25", "classRange", "0,25", "0.25", QStringList{});
        DataRow("constant 2", "constTerm", "2", "2.0", QStringList{});
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
        QTest::mouseClick(Child<QRadioButton>(dlg, "temperatureOption"), Qt::LeftButton);
        QVERIFY(Child<QLineEdit>(dlg, "temperatureValue")->isEnabled());
        QVERIFY(!Child<QLineEdit>(dlg, "toValue")->isEnabled());
        QTest::keyClicks(Child<QLineEdit>(dlg, "temperatureValue"), "1370");
        Child<QComboBox>(dlg, "thermocoupleList")->setCurrentIndex(6);
        emit Child<QComboBox>(dlg, "thermocoupleList")->activated(6);
        QTest::mouseClick(Child<QRadioButton>(dlg, "toOption"), Qt::LeftButton);
        auto* to = Child<QLineEdit>(dlg, "toValue");
        QVERIFY(to->isEnabled());
        QTest::keyClicks(to, "23");
        QCOMPARE(to->text(), QStringLiteral("23.0"));
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
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
        DataRow("current", QStringList{"currentOption"}, int(RangeFunction::Current), tex);
        DataRow("resistance", QStringList{"resistanceOption"}, int(RangeFunction::Resistance), tex);
        DataRow("RTD", QStringList{"temperatureOption", "rtdOption"}, int(RangeFunction::Rtd), tex);
        DataRow("T/C after RTD",
                QStringList{"temperatureOption", "rtdOption", "thermocoupleOption"},
                int(RangeFunction::Thermocouple), tex);
        DataRow("T/C at Tin", QStringList{"temperatureOption", "tinOption"},
                int(RangeFunction::Thermocouple), int(ColdJunction::Tin));
        DataRow("T/C at To", QStringList{"temperatureOption", "toOption"},
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
        QCOMPARE(dlg.Editor().Range().function, RangeFunction(function));
        QCOMPARE(dlg.Editor().Range().coldJunction, ColdJunction(junction));
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
        QCOMPARE(Child<QLineEdit>(dlg, "voltageValue")->text(), QStringLiteral("400"));
        QCOMPARE(Child<QComboBox>(dlg, "voltageUnitList")->currentText(), QStringLiteral("V"));
        QCOMPARE(Child<QComboBox>(dlg, "constUnitList")->currentText(), QStringLiteral("mV"));
        QTest::mouseClick(Child<QRadioButton>(dlg, "resistanceOption"), Qt::LeftButton);
        QTest::keyClicks(Child<QLineEdit>(dlg, "resistanceValue"), "40");
        QTest::keyClicks(Child<QLineEdit>(dlg, "classReading"), "1");
        QTest::mouseClick(Child<QPushButton>(dlg, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(slot, before);
    }

    void okKeepsPointsAndMeasuredFlag()
    {
        slot = StoredRange();
        RecordingMessageService messages;
        CRangeDlg dlg(MeterCheckMode::EditRange, slot, messages);
        dlg.show();
        auto* value = Child<QLineEdit>(dlg, "voltageValue");
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
        QCOMPARE(Child<QLineEdit>(dlg, "classRange")->text(), QStringLiteral("x1"));
        QCOMPARE(Child<QLineEdit>(dlg, "classReading")->text(), QStringLiteral("1"));
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
             {"voltageOption", "currentOption", "resistanceOption", "temperatureOption",
              "thermocoupleOption", "rtdOption", "texOption", "tinOption", "toOption"})
            QVERIFY2(!Child<QRadioButton>(dlg, name)->isChecked(), name);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono zakresu miernika."});
    }
};

QTEST_MAIN(TestRangeDlg)
#include "tst_rangedlg.moc"
