// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/entry/RangeEditor.h"

#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MetFile.h"

#include <QTest>

using E = RangeEditor;

namespace {

// Types a text key by key, as the dialog lets the user: when the edit's text was extended
// by the normalisation ("2" became "2.0"), the next key replaces the added part.
void Type(RangeEditor& editor, E::Edit edit, const QString& keys)
{
    QString base = editor.text(edit);
    for (QChar key : keys) {
        QString typed = base + key;
        editor.EditChanged(edit, typed);
        typed.replace(',', '.');
        const QString shown = editor.text(edit);
        base = shown.startsWith(typed) ? typed : shown;
    }
}

MeterRange ThermocoupleRange()
{
    MeterRange r;
    r.rangeValue = "1370";
    r.sensorName = "K (NiCr-NiAl)";
    r.rangeUnit = "°C";
    r.function = RangeFunction::Thermocouple;
    r.calFunction = 13;
    r.coldJunction = ColdJunction::To;
    r.toValue = "23.0";
    r.rlValue = "";
    r.classReading = "0.5";
    r.classRange = "0.25";
    r.constTerm = "1.0";
    r.constUnit = "°C";
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.points[0] = {"10.0", "10.1", "", "", "", "°C", 1, 1, 0, 1};
    return r;
}

} // namespace

class TestRangeEditor : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

private slots:
    void addModeStartsAsFreshVoltageRange()
    {
        MeterRange slot = ThermocoupleRange(); // whatever the slot held
        RangeEditor editor(slot, true, log);
        QCOMPARE(E::Title(true), QStringLiteral("Dodawanie zakresu pomiarowego"));
        QCOMPARE(E::Title(false), QStringLiteral("Edycja zakresu pomiarowego"));
        QCOMPARE(editor.functionChoice(), int(E::Voltage));
        QCOMPARE(editor.sensorKind(), int(E::Thermocouple));
        QCOMPARE(editor.junction(), int(E::Tex));
        const MeterRange& r = editor.range();
        QCOMPARE(r.function, RangeFunction::Voltage);
        QCOMPARE(r.calFunction, qint16(0));
        QCOMPARE(r.sensorName, QString());
        QCOMPARE(r.rangeUnit, QStringLiteral("mV"));
        QCOMPARE(r.coldJunction, ColdJunction::Tex);
        QCOMPARE(r.toValue, QString());
        QCOMPARE(r.constUnit, QStringLiteral("µV"));
        QCOMPARE(editor.constUnits(), (QStringList{"µV", "mV"}));
        QVERIFY(r.rangeValue.isEmpty() && r.classReading.isEmpty() && r.constTerm.isEmpty());
        for (int e = 0; e < E::EditCount; ++e)
            QVERIFY(editor.text(E::Edit(e)).isEmpty());
    }

    void okWithoutTyping()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        QVERIFY(!editor.Accept());
        QVERIFY(messages.OnlyError("Nie wprowadzono zakresu miernika."));
        QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>(E::VoltageValue));
        QCOMPARE(editor.range().rangeDefined, quint8(0));
    }

    void rangeValueWithLetter()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        Type(editor, E::VoltageValue, "12");
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(editor.range().rangeValue, QStringLiteral("12"));
        Type(editor, E::VoltageValue, "a");
        QVERIFY(messages.OnlyError("Błędnie podany zakres miernika."));
        QCOMPARE(editor.text(E::VoltageValue), QString());
        QCOMPARE(editor.range().rangeValue, QString());
        QCOMPARE(editor.range().rangeUnit, QString());
        QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>(E::VoltageValue));
        // Emptying the edit is not checked again.
        editor.EditChanged(E::VoltageValue, "");
        QCOMPARE(messages.messages.size(), 1);
    }

    void voltageRangeWithClass()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.SelectVoltageUnit(1);
        Type(editor, E::VoltageValue, "400");
        Type(editor, E::ClassReading, "0,5");
        editor.EditChanged(E::ClassRange, "0,1");
        editor.EditChanged(E::ConstTerm, "2");
        editor.SelectConstUnit(1);
        QVERIFY(editor.Accept());
        QVERIFY(messages.messages.isEmpty());
        const MeterRange& r = editor.range();
        QCOMPARE(r.rangeValue, QStringLiteral("400"));
        QCOMPARE(r.rangeUnit, QStringLiteral("V"));
        QCOMPARE(r.classReading, QStringLiteral("0.5"));
        QCOMPARE(r.classRange, QStringLiteral("0.1"));
        QCOMPARE(r.constTerm, QStringLiteral("2.0"));
        QCOMPARE(r.constUnit, QStringLiteral("mV"));
        QCOMPARE(r.function, RangeFunction::Voltage);
        QCOMPARE(r.calFunction, qint16(0));
        QCOMPARE(r.rangeDefined, quint8(1));
        QCOMPARE(editor.text(E::ClassReading), QStringLiteral("0.5"));
    }

    void leadingZerosOfTheRange()
    {
        RangeEditor editor(MeterRange{}, true, log);
        editor.EditChanged(E::VoltageValue, "0040");
        QCOMPARE(editor.range().rangeValue, QStringLiteral("40"));
        QCOMPARE(editor.text(E::VoltageValue), QStringLiteral("0040"));
        editor.EditChanged(E::VoltageValue, "0");
        QCOMPARE(editor.range().rangeValue, QStringLiteral("0"));
    }

    void settings_data()
    {
        DataColumns<int, QString, QString, QString>("edit", "typed", "stored", "message");
        const int to = E::ToValue, rl = E::RlValue;
        const QString toRange = "Wartość To może mieścić się w zakresie 0.0 - 60.0 °C.";
        const QString rlRange = "Wartość RL może mieścić się w zakresie 0.0 - 55.0 Ohm.";
        DataRow("To 60", to, "60", "60.0", "");
        DataRow("To 60.1", to, "60.1", "", toRange);
        // The minus sign is refused at once; the 1 typed after it stands alone.
        DataRow("To -1 refused for its sign", to, "-1", "1.0", "Błędna nastawa wartości To.");
        DataRow("To 0", to, "0", "0.0", "");
        DataRow("To 23,45 cut not rounded", to, "23,45", "23.4", "");
        DataRow("To second point ends the number", to, "23..", "23.0", "");
        // The added decimal must fit the four characters of the edit and the file's field.
        DataRow("To 030 leading zero gives way", to, "030", "30.0", "");
        DataRow("RL 55", rl, "55", "55.0", "");
        DataRow("RL 55.5", rl, "55.5", "", rlRange);
        DataRow("RL letter", rl, "1x", "", "Błędna nastawa wartości RL.");
    }
    void settings()
    {
        QFETCH(int, edit);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        RecordingMessageService messages;
        MeterRange slot = ThermocoupleRange();
        slot.function = RangeFunction::Thermocouple;
        RangeEditor editor(slot, false, messages);
        editor.ChooseFunction(E::Temperature);
        editor.ChooseSensorKind(edit == E::ToValue ? E::Thermocouple : E::Rtd);
        editor.ChooseJunction(E::To);
        editor.takeFocusRequest();
        Type(editor, E::Edit(edit), typed);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(editor.text(E::Edit(edit)), stored);
        QCOMPARE(edit == E::ToValue ? editor.range().toValue : editor.range().rlValue, stored);
        // To and RL are emptied but not focused.
        QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>());
    }

    void classTexts_data()
    {
        DataColumns<int, QString, QString, QString>("edit", "typed", "stored", "message");
        const QString wrongClass = "Błędnie podana klasa miernika (% zakresu).";
        DataRow("1 gets a decimal", int(E::ClassReading), "1", "1.0", "");
        DataRow("comma 0,25", int(E::ClassRange), "0,25", "0.25", "");
        DataRow("no limit", int(E::ClassRange), "250", "250.0", "");
        DataRow("leading point kept in the field", int(E::ClassReading), ".5555", "0.555", "");
        DataRow("five digits drop the point", int(E::ConstTerm), "12345", "12345", "");
        DataRow("reading class letter", int(E::ClassReading), "0,5a", "", wrongClass);
        DataRow("range class minus", int(E::ClassRange), "-1", "", wrongClass);
        DataRow("constant letter", int(E::ConstTerm), "2x", "", "Błędnie podana składowa stała.");
    }
    void classTexts()
    {
        QFETCH(int, edit);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.EditChanged(E::Edit(edit), typed);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(editor.text(E::Edit(edit)), stored);
        const MeterRange& r = editor.range();
        QCOMPARE(edit == E::ClassReading ? r.classReading
                 : edit == E::ClassRange ? r.classRange
                                         : r.constTerm,
                 stored);
        if (!message.isEmpty())
            QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>(E::Edit(edit)));
        // The normalised text fed back is left as it is, without another message.
        editor.EditChanged(E::Edit(edit), stored);
        QCOMPARE(editor.text(E::Edit(edit)), stored);
        QCOMPARE(messages.messages.size(), message.isEmpty() ? 0 : 1);
    }

    void toNeededOnlyWithJunctionTo()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.ChooseFunction(E::Temperature);
        editor.EditChanged(E::TemperatureValue, "500");
        editor.ChooseJunction(E::To);
        QVERIFY(!editor.Accept());
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono wartości To."});
        QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>(E::ToValue));
        editor.ChooseJunction(E::Tex);
        QVERIFY(editor.Accept());
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(editor.range().function, RangeFunction::Thermocouple);
        QCOMPARE(editor.range().calFunction, qint16(7));
        QCOMPARE(editor.range().sensorName, QStringLiteral("R (PtRh13-Pt)"));
        QCOMPARE(editor.range().rangeUnit, QStringLiteral("°C"));
        QCOMPARE(editor.range().constUnit, QStringLiteral("°C"));
    }

    void temperatureAfterVoltageResetsSensorAndJunction()
    {
        MeterRange slot = ThermocoupleRange();
        slot.function = RangeFunction::Voltage; // once a thermocouple range, now voltage: junction
                                                // and To stayed
        slot.calFunction = 1;
        slot.sensorName.clear();
        slot.rangeUnit = "V";
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.range().coldJunction, ColdJunction::To);
        editor.SelectThermocouple(3);
        editor.ChooseFunction(E::Temperature);
        QCOMPARE(editor.range().sensorName, QStringLiteral("J (Fe-CuNi)"));
        QCOMPARE(editor.range().coldJunction, ColdJunction::Tex);
        QCOMPARE(editor.range().toValue, QString());
        QCOMPARE(editor.junction(), int(E::Tex));
        QCOMPARE(editor.range().function, RangeFunction::Thermocouple);
        QCOMPARE(editor.takeFocusRequest(), std::optional<E::Edit>(E::TemperatureValue));
    }

    void rtdClearsLeadResistance()
    {
        MeterRange slot = ThermocoupleRange();
        slot.function = RangeFunction::Rtd;
        slot.sensorName = "Pt500";
        slot.rlValue = "10.0";
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.resistanceThermometer(), 2);
        QCOMPARE(editor.text(E::RlValue), QStringLiteral("10.0"));
        editor.ChooseSensorKind(E::Rtd);
        QCOMPARE(editor.text(E::RlValue), QString());
        QCOMPARE(editor.range().rlValue, QString());
        QCOMPARE(editor.range().calFunction, qint16(14));
        QCOMPARE(editor.range().sensorName, QStringLiteral("Pt500"));
    }

    void unknownSensorGivesWayToTheShownOne()
    {
        MeterRange slot = ThermocoupleRange();
        slot.sensorName = "Z (nieznany)"; // as a damaged file may hold
        slot.coldJunction = ColdJunction(7);
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.thermocouple(), 0);
        QCOMPARE(editor.junction(), int(E::Tex));
        QVERIFY(editor.Accept());
        MeterRange stored = slot;
        editor.StoreInto(stored);
        QCOMPARE(stored.sensorName, CalFunctions::ThermocoupleNames().at(0));
        QCOMPARE(stored.coldJunction, ColdJunction::Tex);
    }

    void chosenFunctionsEditDecidesAtOk()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        Type(editor, E::VoltageValue, "20");
        editor.ChooseFunction(E::Current);
        Type(editor, E::CurrentValue, "10");
        QCOMPARE(editor.range().rangeValue, QStringLiteral("10"));
        editor.ChooseFunction(E::Voltage);
        QVERIFY(editor.Accept());
        QCOMPARE(editor.range().rangeValue, QStringLiteral("20"));
        QCOMPARE(editor.range().rangeUnit, QStringLiteral("mV"));
        QCOMPARE(editor.range().function, RangeFunction::Voltage);
        QCOMPARE(editor.text(E::CurrentValue), QStringLiteral("10"));
    }

    void editModeShowsTheStoredRange()
    {
        const MeterRange slot = ThermocoupleRange();
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.functionChoice(), int(E::Temperature));
        QCOMPARE(editor.sensorKind(), int(E::Thermocouple));
        QCOMPARE(editor.junction(), int(E::To));
        QCOMPARE(editor.thermocouple(), 6);
        QCOMPARE(editor.constUnits(), QStringList{"°C"});
        QCOMPARE(editor.text(E::TemperatureValue), QStringLiteral("1370"));
        QCOMPARE(editor.text(E::ToValue), QStringLiteral("23.0"));
        QCOMPARE(editor.text(E::ClassRange), QStringLiteral("0.25"));
        QCOMPARE(editor.text(E::VoltageValue), QString());
        QCOMPARE(editor.range().calFunction, qint16(13)); // kept until an option is clicked
        QVERIFY(editor.isEnabled(E::ToEdit));
        MeterRange stored = slot;
        QVERIFY(editor.Accept());
        editor.StoreInto(stored);
        QCOMPARE(stored.calFunction, qint16(13));
        QCOMPARE(stored.points[0].setting, QStringLiteral("10.1"));
        QCOMPARE(stored.rangeMeasured, quint8(1));

        MeterRange kohm;
        kohm.function = RangeFunction::Resistance;
        kohm.rangeUnit = "kOhm";
        kohm.rangeValue = "4";
        kohm.constUnit = "µV"; // not in the list: the first item is shown
        RangeEditor second(kohm, false, log);
        QCOMPARE(second.resistanceUnit(), 1);
        QCOMPARE(second.voltageUnit(), 0);
        QCOMPARE(second.constUnits(), QStringList{"Ohm"});
        QCOMPARE(second.constUnit(), 0);
        QCOMPARE(second.text(E::ResistanceValue), QStringLiteral("4"));
        QCOMPARE(second.junction(), int(E::Tex));
    }

    void enabling_data()
    {
        DataColumns<int, int, int, QList<int>>("function", "sensor", "junction", "enabled");
        DataRow("voltage", int(E::Voltage), -1, -1, QList<int>{E::VoltageEdit, E::VoltageUnitList});
        DataRow("current", int(E::Current), -1, -1,
                QList<int>{E::CurrentEdit, E::CurrentUnitLabel});
        DataRow("resistance", int(E::Resistance), -1, -1,
                QList<int>{E::ResistanceEdit, E::ResistanceUnitList});
        const QList<int> temperature{E::TemperatureEdit, E::TemperatureUnitLabel,
                                     E::ThermocoupleOption, E::RtdOption};
        const QList<int> thermocouple =
            temperature + QList<int>{E::ThermocoupleList, E::TexOption, E::TinOption, E::ToOption};
        DataRow("T/C Tex", int(E::Temperature), int(E::Thermocouple), int(E::Tex), thermocouple);
        DataRow("T/C Tin", int(E::Temperature), int(E::Thermocouple), int(E::Tin), thermocouple);
        DataRow("T/C To", int(E::Temperature), int(E::Thermocouple), int(E::To),
                thermocouple + QList<int>{E::ToEdit, E::ToUnitLabel});
        DataRow("RTD", int(E::Temperature), int(E::Rtd), -1,
                temperature + QList<int>{E::RtdList, E::RlLabel, E::RlEdit, E::RlUnitLabel});
    }
    void enabling()
    {
        QFETCH(int, function);
        QFETCH(int, sensor);
        QFETCH(int, junction);
        QFETCH(QList<int>, enabled);
        RangeEditor editor(MeterRange{}, true, log);
        editor.ChooseFunction(function);
        if (sensor >= 0)
            editor.ChooseSensorKind(sensor);
        if (junction >= 0)
            editor.ChooseJunction(junction);
        for (int c = 0; c < E::ControlCount; ++c)
            QVERIFY2(editor.isEnabled(E::Control(c)) == enabled.contains(c),
                     qPrintable(QString("control %1").arg(c)));
    }

    void functionChoicesWriteTheirFields_data()
    {
        DataColumns<int, int, int, QString, QStringList>("choice", "function", "calFunction",
                                                         "unit", "constUnits");
        DataRow("Napięcie", 0, 0, 0, "mV", QStringList{"µV", "mV"});
        DataRow("Prąd", 1, 1, 4, "mA", QStringList{"mA"});
        DataRow("Rezystancja", 2, 2, 5, "Ohm", QStringList{"Ohm"});
        DataRow("Temperatura", 3, 3, 7, "°C", QStringList{"°C"});
    }
    void functionChoicesWriteTheirFields()
    {
        QFETCH(int, choice);
        QFETCH(int, function);
        QFETCH(int, calFunction);
        QFETCH(QString, unit);
        QFETCH(QStringList, constUnits);
        RangeEditor editor(ThermocoupleRange(), false, log);
        editor.ChooseFunction(choice);
        QCOMPARE(editor.range().function, RangeFunction(function));
        QCOMPARE(editor.range().calFunction, qint16(calFunction));
        QCOMPARE(editor.range().rangeUnit, unit);
        QCOMPARE(editor.constUnits(), constUnits);
        QCOMPARE(editor.range().constUnit, constUnits.first());
        QCOMPARE(editor.range().sensorName.isEmpty(), choice != 3);
    }

    // Every text the editor writes into the range comes from its lists or is typed as ASCII
    // digits: the .met file holds them all ("µV" with the micro sign, not the Greek mu).
    void everyTextItWritesIsHeldByTheFile()
    {
        QStringList written = E::VoltageUnits() + E::ResistanceUnits() +
                              CalFunctions::ThermocoupleNames() +
                              CalFunctions::ResistanceThermometerNames();
        for (int choice = E::Voltage; choice <= E::Temperature; ++choice) {
            RangeEditor editor(MeterRange{}, true, log);
            editor.ChooseFunction(choice);
            written << editor.range().rangeUnit << editor.constUnits();
        }
        for (const QString& text : written)
            QVERIFY2(MetFile::CharactersNotHeld(text).isEmpty(), qPrintable(text));

        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        Type(editor, E::VoltageValue, QString::fromUtf8("٤")); // a digit of another script
        QVERIFY(messages.OnlyError("Błędnie podany zakres miernika."));
        QCOMPARE(editor.range().rangeValue, QString());
    }
};

QTEST_GUILESS_MAIN(TestRangeEditor)
#include "tst_rangeeditor.moc"
