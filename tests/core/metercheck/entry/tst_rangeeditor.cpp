// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/entry/RangeEditor.h"

#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MetFile.h"

#include <QTest>

using E = RangeEditor;
using Edit = RangeEditor::Edit;
using Control = RangeEditor::Control;
using Quantity = RangeEditor::Quantity;

namespace {

// Types a text key by key, as the dialog lets the user: when the edit's text was extended
// by the normalisation ("2" became "2.0"), the next key replaces the added part.
void Type(RangeEditor& editor, Edit edit, const QString& keys)
{
    QString base = editor.Text(edit);
    for (QChar key : keys) {
        QString typed = base + key;
        editor.EditChanged(edit, typed);
        typed.replace(',', '.');
        const QString shown = editor.Text(edit);
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
        QCOMPARE(editor.ChosenQuantity(), std::optional(Quantity::Voltage));
        QCOMPARE(editor.ChosenSensorKind(), std::optional(RangeFunction::Thermocouple));
        QCOMPARE(editor.ChosenJunction(), std::optional(ColdJunction::Tex));
        const MeterRange& r = editor.Range();
        QCOMPARE(r.function, RangeFunction::Voltage);
        QCOMPARE(r.calFunction, qint16(0));
        QCOMPARE(r.sensorName, QString());
        QCOMPARE(r.rangeUnit, QStringLiteral("mV"));
        QCOMPARE(r.coldJunction, ColdJunction::Tex);
        QCOMPARE(r.toValue, QString());
        QCOMPARE(r.constUnit, QStringLiteral("µV"));
        QCOMPARE(editor.ConstUnits(), (QStringList{"µV", "mV"}));
        QVERIFY(r.rangeValue.isEmpty() && r.classReading.isEmpty() && r.constTerm.isEmpty());
        for (int e = 0; e < E::editCount; ++e)
            QVERIFY(editor.Text(Edit(e)).isEmpty());
    }

    void okWithoutTyping()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        QVERIFY(!editor.Accept());
        QVERIFY(messages.OnlyError("Nie wprowadzono zakresu miernika."));
        QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>(Edit::VoltageValue));
        QCOMPARE(editor.Range().rangeDefined, quint8(0));
    }

    void rangeValueWithLetter()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        Type(editor, Edit::VoltageValue, "12");
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(editor.Range().rangeValue, QStringLiteral("12"));
        Type(editor, Edit::VoltageValue, "a");
        QVERIFY(messages.OnlyError("Błędnie podany zakres miernika."));
        QCOMPARE(editor.Text(Edit::VoltageValue), QString());
        QCOMPARE(editor.Range().rangeValue, QString());
        QCOMPARE(editor.Range().rangeUnit, QString());
        QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>(Edit::VoltageValue));
        // Emptying the edit is not checked again.
        editor.EditChanged(Edit::VoltageValue, "");
        QCOMPARE(messages.messages.size(), 1);
    }

    void voltageRangeWithClass()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.SelectVoltageUnit(1);
        Type(editor, Edit::VoltageValue, "400");
        Type(editor, Edit::ClassReading, "0,5");
        editor.EditChanged(Edit::ClassRange, "0,1");
        editor.EditChanged(Edit::ConstTerm, "2");
        editor.SelectConstUnit(1);
        QVERIFY(editor.Accept());
        QVERIFY(messages.messages.isEmpty());
        const MeterRange& r = editor.Range();
        QCOMPARE(r.rangeValue, QStringLiteral("400"));
        QCOMPARE(r.rangeUnit, QStringLiteral("V"));
        QCOMPARE(r.classReading, QStringLiteral("0.5"));
        QCOMPARE(r.classRange, QStringLiteral("0.1"));
        QCOMPARE(r.constTerm, QStringLiteral("2.0"));
        QCOMPARE(r.constUnit, QStringLiteral("mV"));
        QCOMPARE(r.function, RangeFunction::Voltage);
        QCOMPARE(r.calFunction, qint16(0));
        QCOMPARE(r.rangeDefined, quint8(1));
        QCOMPARE(editor.Text(Edit::ClassReading), QStringLiteral("0.5"));
    }

    void leadingZerosOfTheRange()
    {
        RangeEditor editor(MeterRange{}, true, log);
        editor.EditChanged(Edit::VoltageValue, "0040");
        QCOMPARE(editor.Range().rangeValue, QStringLiteral("40"));
        QCOMPARE(editor.Text(Edit::VoltageValue), QStringLiteral("0040"));
        editor.EditChanged(Edit::VoltageValue, "0");
        QCOMPARE(editor.Range().rangeValue, QStringLiteral("0"));
    }

    void settings_data()
    {
        DataColumns<int, QString, QString, QString>("edit", "typed", "stored", "message");
        const int to = int(Edit::ToValue), rl = int(Edit::RlValue);
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
        editor.ChooseQuantity(Quantity::Temperature);
        editor.ChooseSensorKind(Edit(edit) == Edit::ToValue ? RangeFunction::Thermocouple
                                                            : RangeFunction::Rtd);
        editor.ChooseJunction(ColdJunction::To);
        editor.TakeFocusRequest();
        Type(editor, Edit(edit), typed);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(editor.Text(Edit(edit)), stored);
        QCOMPARE(Edit(edit) == Edit::ToValue ? editor.Range().toValue : editor.Range().rlValue,
                 stored);
        // To and RL are emptied but not focused.
        QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>());
    }

    void classTexts_data()
    {
        DataColumns<int, QString, QString, QString>("edit", "typed", "stored", "message");
        const QString wrongClass = "Błędnie podana klasa miernika (% zakresu).";
        DataRow("1 gets a decimal", int(Edit::ClassReading), "1", "1.0", "");
        DataRow("comma 0,25", int(Edit::ClassRange), "0,25", "0.25", "");
        DataRow("no limit", int(Edit::ClassRange), "250", "250.0", "");
        DataRow("leading point kept in the field", int(Edit::ClassReading), ".5555", "0.555", "");
        DataRow("five digits drop the point", int(Edit::ConstTerm), "12345", "12345", "");
        DataRow("reading class letter", int(Edit::ClassReading), "0,5a", "", wrongClass);
        DataRow("range class minus", int(Edit::ClassRange), "-1", "", wrongClass);
        DataRow("constant letter", int(Edit::ConstTerm), "2x", "",
                "Błędnie podana składowa stała.");
    }
    void classTexts()
    {
        QFETCH(int, edit);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.EditChanged(Edit(edit), typed);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(editor.Text(Edit(edit)), stored);
        const MeterRange& r = editor.Range();
        QCOMPARE(Edit(edit) == Edit::ClassReading ? r.classReading
                 : Edit(edit) == Edit::ClassRange ? r.classRange
                                                  : r.constTerm,
                 stored);
        if (!message.isEmpty())
            QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>(Edit(edit)));
        // The normalised text fed back is left as it is, without another message.
        editor.EditChanged(Edit(edit), stored);
        QCOMPARE(editor.Text(Edit(edit)), stored);
        QCOMPARE(messages.messages.size(), message.isEmpty() ? 0 : 1);
    }

    void toNeededOnlyWithJunctionTo()
    {
        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        editor.ChooseQuantity(Quantity::Temperature);
        editor.EditChanged(Edit::TemperatureValue, "500");
        editor.ChooseJunction(ColdJunction::To);
        QVERIFY(!editor.Accept());
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono wartości To."});
        QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>(Edit::ToValue));
        editor.ChooseJunction(ColdJunction::Tex);
        QVERIFY(editor.Accept());
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(editor.Range().function, RangeFunction::Thermocouple);
        QCOMPARE(editor.Range().calFunction, qint16(7));
        QCOMPARE(editor.Range().sensorName, QStringLiteral("R (PtRh13-Pt)"));
        QCOMPARE(editor.Range().rangeUnit, QStringLiteral("°C"));
        QCOMPARE(editor.Range().constUnit, QStringLiteral("°C"));
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
        QCOMPARE(editor.Range().coldJunction, ColdJunction::To);
        editor.SelectThermocouple(3);
        editor.ChooseQuantity(Quantity::Temperature);
        QCOMPARE(editor.Range().sensorName, QStringLiteral("J (Fe-CuNi)"));
        QCOMPARE(editor.Range().coldJunction, ColdJunction::Tex);
        QCOMPARE(editor.Range().toValue, QString());
        QCOMPARE(editor.ChosenJunction(), std::optional(ColdJunction::Tex));
        QCOMPARE(editor.Range().function, RangeFunction::Thermocouple);
        QCOMPARE(editor.TakeFocusRequest(), std::optional<Edit>(Edit::TemperatureValue));
    }

    void rtdClearsLeadResistance()
    {
        MeterRange slot = ThermocoupleRange();
        slot.function = RangeFunction::Rtd;
        slot.sensorName = "Pt500";
        slot.rlValue = "10.0";
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.ResistanceThermometer(), 2);
        QCOMPARE(editor.Text(Edit::RlValue), QStringLiteral("10.0"));
        editor.ChooseSensorKind(RangeFunction::Rtd);
        QCOMPARE(editor.Text(Edit::RlValue), QString());
        QCOMPARE(editor.Range().rlValue, QString());
        QCOMPARE(editor.Range().calFunction, qint16(14));
        QCOMPARE(editor.Range().sensorName, QStringLiteral("Pt500"));
    }

    void unknownSensorGivesWayToTheShownOne()
    {
        MeterRange slot = ThermocoupleRange();
        slot.sensorName = "Z (nieznany)"; // as a damaged file may hold
        slot.coldJunction = ColdJunction(7);
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.Thermocouple(), 0);
        QCOMPARE(editor.ChosenJunction(), std::optional(ColdJunction::Tex));
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
        Type(editor, Edit::VoltageValue, "20");
        editor.ChooseQuantity(Quantity::Current);
        Type(editor, Edit::CurrentValue, "10");
        QCOMPARE(editor.Range().rangeValue, QStringLiteral("10"));
        editor.ChooseQuantity(Quantity::Voltage);
        QVERIFY(editor.Accept());
        QCOMPARE(editor.Range().rangeValue, QStringLiteral("20"));
        QCOMPARE(editor.Range().rangeUnit, QStringLiteral("mV"));
        QCOMPARE(editor.Range().function, RangeFunction::Voltage);
        QCOMPARE(editor.Text(Edit::CurrentValue), QStringLiteral("10"));
    }

    void editModeShowsTheStoredRange()
    {
        const MeterRange slot = ThermocoupleRange();
        RangeEditor editor(slot, false, log);
        QCOMPARE(editor.ChosenQuantity(), std::optional(Quantity::Temperature));
        QCOMPARE(editor.ChosenSensorKind(), std::optional(RangeFunction::Thermocouple));
        QCOMPARE(editor.ChosenJunction(), std::optional(ColdJunction::To));
        QCOMPARE(editor.Thermocouple(), 6);
        QCOMPARE(editor.ConstUnits(), QStringList{"°C"});
        QCOMPARE(editor.Text(Edit::TemperatureValue), QStringLiteral("1370"));
        QCOMPARE(editor.Text(Edit::ToValue), QStringLiteral("23.0"));
        QCOMPARE(editor.Text(Edit::ClassRange), QStringLiteral("0.25"));
        QCOMPARE(editor.Text(Edit::VoltageValue), QString());
        QCOMPARE(editor.Range().calFunction, qint16(13)); // kept until an option is clicked
        QVERIFY(editor.IsEnabled(Control::ToEdit));
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
        QCOMPARE(second.ResistanceUnit(), 1);
        QCOMPARE(second.VoltageUnit(), 0);
        QCOMPARE(second.ConstUnits(), QStringList{"Ohm"});
        QCOMPARE(second.ConstUnit(), 0);
        QCOMPARE(second.Text(Edit::ResistanceValue), QStringLiteral("4"));
        QCOMPARE(second.ChosenJunction(), std::optional(ColdJunction::Tex));
    }

    void enabling_data()
    {
        DataColumns<int, int, int, QList<int>>("function", "sensor", "junction", "enabled");
        // The controls as their numbers.
        const auto controls = [](std::initializer_list<Control> list) {
            QList<int> numbers;
            for (Control c : list)
                numbers << int(c);
            return numbers;
        };
        DataRow("voltage", int(Quantity::Voltage), -1, -1,
                controls({Control::VoltageEdit, Control::VoltageUnitList}));
        DataRow("current", int(Quantity::Current), -1, -1,
                controls({Control::CurrentEdit, Control::CurrentUnitLabel}));
        DataRow("resistance", int(Quantity::Resistance), -1, -1,
                controls({Control::ResistanceEdit, Control::ResistanceUnitList}));
        const QList<int> temperature =
            controls({Control::TemperatureEdit, Control::TemperatureUnitLabel,
                      Control::ThermocoupleOption, Control::RtdOption});
        const QList<int> thermocouple =
            temperature + controls({Control::ThermocoupleList, Control::TexOption,
                                    Control::TinOption, Control::ToOption});
        DataRow("T/C Tex", int(Quantity::Temperature), int(RangeFunction::Thermocouple),
                int(ColdJunction::Tex), thermocouple);
        DataRow("T/C Tin", int(Quantity::Temperature), int(RangeFunction::Thermocouple),
                int(ColdJunction::Tin), thermocouple);
        DataRow("T/C To", int(Quantity::Temperature), int(RangeFunction::Thermocouple),
                int(ColdJunction::To),
                thermocouple + controls({Control::ToEdit, Control::ToUnitLabel}));
        DataRow("RTD", int(Quantity::Temperature), int(RangeFunction::Rtd), -1,
                temperature + controls({Control::RtdList, Control::RlLabel, Control::RlEdit,
                                        Control::RlUnitLabel}));
    }
    void enabling()
    {
        QFETCH(int, function);
        QFETCH(int, sensor);
        QFETCH(int, junction);
        QFETCH(QList<int>, enabled);
        RangeEditor editor(MeterRange{}, true, log);
        editor.ChooseQuantity(Quantity(function));
        if (sensor >= 0)
            editor.ChooseSensorKind(RangeFunction(sensor));
        if (junction >= 0)
            editor.ChooseJunction(ColdJunction(junction));
        for (int c = 0; c < E::controlCount; ++c)
            QVERIFY2(editor.IsEnabled(Control(c)) == enabled.contains(c),
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
        editor.ChooseQuantity(Quantity(choice));
        QCOMPARE(editor.Range().function, RangeFunction(function));
        QCOMPARE(editor.Range().calFunction, qint16(calFunction));
        QCOMPARE(editor.Range().rangeUnit, unit);
        QCOMPARE(editor.ConstUnits(), constUnits);
        QCOMPARE(editor.Range().constUnit, constUnits.first());
        QCOMPARE(editor.Range().sensorName.isEmpty(), choice != 3);
    }

    // Every text the editor writes into the range comes from its lists or is typed as ASCII
    // digits: the .met file holds them all ("µV" with the micro sign, not the Greek mu).
    void everyTextItWritesIsHeldByTheFile()
    {
        QStringList written = E::VoltageUnits() + E::ResistanceUnits() +
                              CalFunctions::ThermocoupleNames() +
                              CalFunctions::ResistanceThermometerNames();
        for (Quantity choice :
             {Quantity::Voltage, Quantity::Current, Quantity::Resistance, Quantity::Temperature}) {
            RangeEditor editor(MeterRange{}, true, log);
            editor.ChooseQuantity(choice);
            written << editor.Range().rangeUnit << editor.ConstUnits();
        }
        for (const QString& text : written)
            QVERIFY2(MetFile::CharactersNotHeld(text).isEmpty(), qPrintable(text));

        RecordingMessageService messages;
        RangeEditor editor(MeterRange{}, true, messages);
        Type(editor, Edit::VoltageValue, QString::fromUtf8("٤")); // a digit of another script
        QVERIFY(messages.OnlyError("Błędnie podany zakres miernika."));
        QCOMPARE(editor.Range().rangeValue, QString());
    }
};

QTEST_GUILESS_MAIN(TestRangeEditor)
#include "tst_rangeeditor.moc"
