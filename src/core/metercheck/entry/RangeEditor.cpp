// SPDX-License-Identifier: MIT
#include "core/metercheck/entry/RangeEditor.h"

#include "core/base/MessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"

namespace {

const QString voltageConstUnits[] = {QStringLiteral("µV"), QStringLiteral("mV")};

bool OnlyDigits(const QString& text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool OnlyNumberCharacters(const QString& text)
{
    for (QChar c : text)
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.') &&
            c != QLatin1Char(','))
            return false;
    return true;
}

int IndexOrFirst(const QStringList& items, const QString& text)
{
    return qMax(0, int(items.indexOf(text)));
}

using Edit = RangeEditor::Edit;
using Control = RangeEditor::Control;
using Quantity = RangeEditor::Quantity;

QString MeterRange::*FieldOf(Edit edit)
{
    switch (edit) {
    case Edit::ToValue:
        return &MeterRange::toValue;
    case Edit::RlValue:
        return &MeterRange::rlValue;
    case Edit::ClassReading:
        return &MeterRange::classReading;
    case Edit::ClassRange:
        return &MeterRange::classRange;
    case Edit::ConstTerm:
        return &MeterRange::constTerm;
    default:
        return &MeterRange::rangeValue;
    }
}

} // namespace

RangeEditor::Edit RangeEditor::RangeEditFor(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Current:
        return Edit::CurrentValue;
    case Quantity::Resistance:
        return Edit::ResistanceValue;
    case Quantity::Temperature:
        return Edit::TemperatureValue;
    default:
        return Edit::VoltageValue;
    }
}

RangeEditor::RangeEditor(const MeterRange& slot, bool addMode, MessageService& messages,
                         QObject* owner)
    : messages(messages), messageOwner(owner), editedRange(slot)
{
    if (addMode) {
        for (QString MeterRange::*field :
             {&MeterRange::rangeValue, &MeterRange::sensorName, &MeterRange::rangeUnit,
              &MeterRange::toValue, &MeterRange::rlValue, &MeterRange::classReading,
              &MeterRange::classRange, &MeterRange::constTerm, &MeterRange::constUnit})
            (editedRange.*field).clear();
        editedRange.coldJunction = ColdJunction::Tex;
        chosenQuantity = Quantity::Voltage;
        chosenSensorKind = RangeFunction::Thermocouple;
        chosenJunction = ColdJunction::Tex;
        ApplyChoiceFields();
        return;
    }

    // Edit mode: the options, list items and edits show what is stored; nothing is changed.
    const RangeFunction function = editedRange.function;
    if (function == RangeFunction::Voltage || function == RangeFunction::Current ||
        function == RangeFunction::Resistance) {
        // The first three options are these quantities, in the same order.
        chosenQuantity = Quantity(int(function));
        chosenSensorKind = RangeFunction::Thermocouple;
        chosenJunction = ColdJunction::Tex;
    } else if (function == RangeFunction::Thermocouple) {
        chosenQuantity = Quantity::Temperature;
        chosenSensorKind = RangeFunction::Thermocouple;
        // An unknown junction (a damaged file) gives way to Tex, shown and stored, as an
        // unknown sensor does below: a range without a junction selects no calibrator function.
        const ColdJunction stored = editedRange.coldJunction;
        chosenJunction =
            stored == ColdJunction::Tin || stored == ColdJunction::To ? stored : ColdJunction::Tex;
        editedRange.coldJunction = *chosenJunction;
    } else if (function == RangeFunction::Rtd) {
        chosenQuantity = Quantity::Temperature;
        chosenSensorKind = RangeFunction::Rtd;
        chosenJunction = ColdJunction::Tex;
    }
    switch (function) {
    case RangeFunction::Current:
        constUnitTexts = {QStringLiteral("mA")};
        break;
    case RangeFunction::Resistance:
        constUnitTexts = {QStringLiteral("Ohm")};
        break;
    case RangeFunction::Thermocouple:
    case RangeFunction::Rtd:
        constUnitTexts = {QStringLiteral("°C")};
        break;
    default:
        constUnitTexts = {voltageConstUnits[0], voltageConstUnits[1]};
        break;
    }
    constUnitIndex = IndexOrFirst(constUnitTexts, editedRange.constUnit);
    if (function == RangeFunction::Voltage)
        voltageUnitIndex = IndexOrFirst(VoltageUnits(), editedRange.rangeUnit);
    if (function == RangeFunction::Resistance)
        resistanceUnitIndex = IndexOrFirst(ResistanceUnits(), editedRange.rangeUnit);
    // A sensor the lists do not know (a damaged file) gives way to the one shown, so that OK
    // stores what the technician saw and a measurement finds a calibrator function for it.
    if (function == RangeFunction::Thermocouple) {
        thermocoupleIndex = IndexOrFirst(CalFunctions::ThermocoupleNames(), editedRange.sensorName);
        editedRange.sensorName = CalFunctions::ThermocoupleNames().at(thermocoupleIndex);
    }
    if (function == RangeFunction::Rtd) {
        thermometerIndex =
            IndexOrFirst(CalFunctions::ResistanceThermometerNames(), editedRange.sensorName);
        editedRange.sensorName = CalFunctions::ResistanceThermometerNames().at(thermometerIndex);
    }

    if (chosenQuantity)
        TextRef(RangeEditFor(*chosenQuantity)) = editedRange.rangeValue;
    TextRef(Edit::ClassReading) = editedRange.classReading;
    TextRef(Edit::ClassRange) = editedRange.classRange;
    TextRef(Edit::ConstTerm) = editedRange.constTerm;
    if (chosenQuantity == Quantity::Temperature) {
        TextRef(Edit::ToValue) = editedRange.toValue;
        TextRef(Edit::RlValue) = editedRange.rlValue;
    }
    for (int e = 0; e < editCount; ++e)
        editTexts[e] = editTexts[e].left(MaxLength(Edit(e)));
}

QString RangeEditor::Title(bool addMode)
{
    return addMode ? QStringLiteral("Dodawanie zakresu pomiarowego")
                   : QStringLiteral("Edycja zakresu pomiarowego");
}

int RangeEditor::MaxLength(Edit edit)
{
    return edit == Edit::ClassReading || edit == Edit::ClassRange || edit == Edit::ConstTerm ? 5
                                                                                             : 4;
}

const QStringList& RangeEditor::VoltageUnits()
{
    static const QStringList units{QStringLiteral("mV"), QStringLiteral("V")};
    return units;
}

const QStringList& RangeEditor::ResistanceUnits()
{
    static const QStringList units{QStringLiteral("Ohm"), QStringLiteral("kOhm")};
    return units;
}

bool RangeEditor::IsEnabled(Control control) const
{
    const bool temperature = chosenQuantity == Quantity::Temperature;
    const bool thermocouple = temperature && chosenSensorKind == RangeFunction::Thermocouple;
    const bool rtd = temperature && chosenSensorKind == RangeFunction::Rtd;
    switch (control) {
    case Control::VoltageEdit:
    case Control::VoltageUnitList:
        return chosenQuantity == Quantity::Voltage;
    case Control::CurrentEdit:
    case Control::CurrentUnitLabel:
        return chosenQuantity == Quantity::Current;
    case Control::ResistanceEdit:
    case Control::ResistanceUnitList:
        return chosenQuantity == Quantity::Resistance;
    case Control::TemperatureEdit:
    case Control::TemperatureUnitLabel:
    case Control::ThermocoupleOption:
    case Control::RtdOption:
        return temperature;
    case Control::ThermocoupleList:
    case Control::TexOption:
    case Control::TinOption:
    case Control::ToOption:
        return thermocouple;
    case Control::ToEdit:
    case Control::ToUnitLabel:
        return thermocouple && chosenJunction == ColdJunction::To;
    case Control::RtdList:
    case Control::RlLabel:
    case Control::RlEdit:
    case Control::RlUnitLabel:
        return rtd;
    }
    return false;
}

std::optional<RangeEditor::Edit> RangeEditor::TakeFocusRequest()
{
    return std::exchange(focusedEdit, std::nullopt);
}

void RangeEditor::FillConstUnits(const QStringList& units)
{
    constUnitTexts = units;
    constUnitIndex = 0;
    editedRange.constUnit = constUnitTexts.first();
}

// The fields a click on a function option writes; typed texts stay in their edits.
void RangeEditor::ApplyChoiceFields()
{
    if (!chosenQuantity)
        return;
    switch (*chosenQuantity) {
    case Quantity::Voltage:
        editedRange.function = RangeFunction::Voltage;
        editedRange.calFunction = 0;
        editedRange.sensorName.clear();
        editedRange.rangeUnit = VoltageUnits().at(voltageUnitIndex);
        FillConstUnits({voltageConstUnits[0], voltageConstUnits[1]});
        break;
    case Quantity::Current:
        editedRange.function = RangeFunction::Current;
        editedRange.calFunction = 4;
        editedRange.sensorName.clear();
        editedRange.rangeUnit = QStringLiteral("mA");
        FillConstUnits({QStringLiteral("mA")});
        break;
    case Quantity::Resistance:
        editedRange.function = RangeFunction::Resistance;
        editedRange.calFunction = 5;
        editedRange.sensorName.clear();
        editedRange.rangeUnit = ResistanceUnits().at(resistanceUnitIndex);
        FillConstUnits({QStringLiteral("Ohm")});
        break;
    case Quantity::Temperature:
        editedRange.rangeUnit = QStringLiteral("°C");
        FillConstUnits({QStringLiteral("°C")});
        if (chosenSensorKind == RangeFunction::Rtd)
            ApplyResistanceThermometer();
        else
            ApplyThermocouple();
        break;
    }
}

void RangeEditor::ApplyThermocouple()
{
    chosenSensorKind = RangeFunction::Thermocouple;
    editedRange.function = RangeFunction::Thermocouple;
    editedRange.calFunction = 7;
    editedRange.sensorName = CalFunctions::ThermocoupleNames().at(thermocoupleIndex);
    chosenJunction = ColdJunction::Tex;
    editedRange.coldJunction = ColdJunction::Tex;
    editedRange.toValue.clear();
    TextRef(Edit::ToValue).clear();
}

void RangeEditor::ApplyResistanceThermometer()
{
    chosenSensorKind = RangeFunction::Rtd;
    editedRange.function = RangeFunction::Rtd;
    editedRange.calFunction = 14;
    editedRange.sensorName = CalFunctions::ResistanceThermometerNames().at(thermometerIndex);
    editedRange.rlValue.clear();
    TextRef(Edit::RlValue).clear();
}

void RangeEditor::ChooseQuantity(Quantity quantity)
{
    if (int(quantity) < int(Quantity::Voltage) || int(quantity) > int(Quantity::Temperature))
        return;
    chosenQuantity = quantity;
    ApplyChoiceFields();
    focusedEdit = RangeEditFor(quantity);
}

void RangeEditor::ChooseSensorKind(RangeFunction kind)
{
    if (chosenQuantity != Quantity::Temperature)
        return;
    if (kind == RangeFunction::Thermocouple)
        ApplyThermocouple();
    else if (kind == RangeFunction::Rtd)
        ApplyResistanceThermometer();
}

void RangeEditor::ChooseJunction(ColdJunction junction)
{
    if (junction != ColdJunction::Tex && junction != ColdJunction::Tin &&
        junction != ColdJunction::To)
        return;
    chosenJunction = junction;
    editedRange.coldJunction = junction;
    if (junction == ColdJunction::To)
        focusedEdit = Edit::ToValue;
}

void RangeEditor::SelectVoltageUnit(int index)
{
    if (index < 0 || index >= VoltageUnits().size())
        return;
    voltageUnitIndex = index;
    editedRange.rangeUnit = VoltageUnits().at(index);
}

void RangeEditor::SelectResistanceUnit(int index)
{
    if (index < 0 || index >= ResistanceUnits().size())
        return;
    resistanceUnitIndex = index;
    editedRange.rangeUnit = ResistanceUnits().at(index);
}

void RangeEditor::SelectThermocouple(int index)
{
    const QStringList names = CalFunctions::ThermocoupleNames();
    if (index < 0 || index >= names.size())
        return;
    thermocoupleIndex = index;
    editedRange.sensorName = names.at(index);
}

void RangeEditor::SelectResistanceThermometer(int index)
{
    const QStringList names = CalFunctions::ResistanceThermometerNames();
    if (index < 0 || index >= names.size())
        return;
    thermometerIndex = index;
    editedRange.sensorName = names.at(index);
}

void RangeEditor::SelectConstUnit(int index)
{
    if (index < 0 || index >= constUnitTexts.size())
        return;
    constUnitIndex = index;
    editedRange.constUnit = constUnitTexts.at(index);
}

void RangeEditor::EditChanged(Edit edit, const QString& text)
{
    if (int(edit) < 0 || int(edit) >= editCount)
        return;
    TextRef(edit) = text.left(MaxLength(edit));
    switch (edit) {
    case Edit::VoltageValue:
    case Edit::CurrentValue:
    case Edit::ResistanceValue:
    case Edit::TemperatureValue:
        if (!TextRef(edit).isEmpty())
            ValidateRangeEdit(edit, TextRef(edit));
        break;
    case Edit::ToValue:
    case Edit::RlValue:
        ValidateSetting(edit, TextRef(edit));
        break;
    default:
        ValidateClass(edit, TextRef(edit));
        break;
    }
}

void RangeEditor::Refuse(Edit edit, const QString& message, bool focus)
{
    TextRef(edit).clear();
    if (focus)
        focusedEdit = edit;
    messages.ShowError(message, messageOwner);
}

QString RangeEditor::RangeUnitFor(Edit edit) const
{
    switch (edit) {
    case Edit::VoltageValue:
        return VoltageUnits().at(voltageUnitIndex);
    case Edit::CurrentValue:
        return QStringLiteral("mA");
    case Edit::ResistanceValue:
        return ResistanceUnits().at(resistanceUnitIndex);
    default:
        return QStringLiteral("°C");
    }
}

bool RangeEditor::ValidateRangeEdit(Edit edit, const QString& text)
{
    if (!OnlyDigits(text)) {
        editedRange.rangeValue.clear();
        editedRange.rangeUnit.clear();
        Refuse(edit, QStringLiteral("Błędnie podany zakres miernika."), true);
        return false;
    }
    editedRange.rangeValue = QString::number(text.toInt()); // "0040" is 40, "0" stays 0
    editedRange.rangeUnit = RangeUnitFor(edit);
    if (edit == Edit::TemperatureValue) {
        if (chosenSensorKind)
            editedRange.function = *chosenSensorKind;
    } else {
        // The voltage, current and resistance edits come in the order of their quantities.
        editedRange.function = RangeFunction(int(edit) - int(Edit::VoltageValue));
    }
    return true;
}

// To and RL: one decimal, the digits behind it cut; To 0-60 °C, RL 0-55 Ohm.
void RangeEditor::ValidateSetting(Edit edit, const QString& text)
{
    const bool isTo = edit == Edit::ToValue;
    QString& field = editedRange.*FieldOf(edit);
    if (text.isEmpty()) {
        field.clear();
        return;
    }
    if (!OnlyNumberCharacters(text)) {
        field.clear();
        Refuse(edit,
               isTo ? QStringLiteral("Błędna nastawa wartości To.")
                    : QStringLiteral("Błędna nastawa wartości RL."),
               false);
        return;
    }
    QString value = text;
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    // A second point ends the number, as it ends the value read from it.
    const qsizetype second = value.indexOf(QLatin1Char('.'), value.indexOf(QLatin1Char('.')) + 1);
    if (value.indexOf(QLatin1Char('.')) >= 0 && second >= 0)
        value.truncate(second);
    const double v = ParseNumber(value);
    if (v < 0 || v > (isTo ? 60.0 : 55.0)) {
        field.clear();
        Refuse(edit,
               isTo ? QStringLiteral("Wartość To może mieścić się w zakresie 0.0 - 60.0 °C.")
                    : QStringLiteral("Wartość RL może mieścić się w zakresie 0.0 - 55.0 Ohm."),
               false);
        return;
    }
    QString normalised = SetDecimals(value, 1);
    // Leading zeros give way when the decimal would not fit the edit and the field of the file:
    // "030" is 30.0, not "030.0" cut to "030." on the way to the file.
    while (normalised.size() > MaxLength(edit) && normalised.size() > 1 &&
           normalised.startsWith(QLatin1Char('0')) && normalised.at(1) != QLatin1Char('.'))
        normalised.remove(0, 1);
    TextRef(edit) = normalised;
    field = TextRef(edit);
}

// Class parts and the constant component keep the decimals typed, at least one.
void RangeEditor::ValidateClass(Edit edit, const QString& text)
{
    QString& field = editedRange.*FieldOf(edit);
    if (text.isEmpty()) {
        field.clear();
        return;
    }
    if (!OnlyNumberCharacters(text)) {
        field.clear();
        Refuse(edit,
               edit == Edit::ConstTerm
                   ? QStringLiteral("Błędnie podana składowa stała.")
                   : QStringLiteral("Błędnie podana klasa miernika (% zakresu)."),
               true);
        return;
    }
    QString value = text;
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    const qsizetype point = value.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 1 : int(value.size() - point - 1);
    value = FormatFixed(ParseNumber(value), decimals);
    // ".5555" would become "0.5555": drop surplus decimals so that the text fits its field.
    while (value.size() > MaxLength(edit) && value.contains(QLatin1Char('.')))
        value.chop(1);
    TextRef(edit) = value;
    field = value;
}

bool RangeEditor::Accept()
{
    editedRange.rangeDefined = 0;
    const Edit rangeEdit = RangeEditFor(chosenQuantity.value_or(Quantity::Voltage));
    if (!chosenQuantity || TextRef(rangeEdit).isEmpty()) {
        editedRange.rangeValue.clear();
        if (chosenQuantity)
            focusedEdit = rangeEdit;
        messages.ShowError(QStringLiteral("Nie wprowadzono zakresu miernika."), messageOwner);
        return false;
    }
    // Whatever was typed into the other range edits, the chosen function's edit decides.
    if (!ValidateRangeEdit(rangeEdit, TextRef(rangeEdit)))
        return false;
    if (chosenQuantity == Quantity::Temperature &&
        chosenSensorKind == RangeFunction::Thermocouple && chosenJunction == ColdJunction::To &&
        TextRef(Edit::ToValue).isEmpty()) {
        focusedEdit = Edit::ToValue;
        messages.ShowError(QStringLiteral("Nie wprowadzono wartości To."), messageOwner);
        return false;
    }
    editedRange.rangeDefined = 1;
    return true;
}

void RangeEditor::StoreInto(MeterRange& slot) const
{
    slot.rangeValue = editedRange.rangeValue;
    slot.sensorName = editedRange.sensorName;
    slot.rangeUnit = editedRange.rangeUnit;
    slot.function = editedRange.function;
    slot.calFunction = editedRange.calFunction;
    slot.coldJunction = editedRange.coldJunction;
    slot.toValue = editedRange.toValue;
    slot.rlValue = editedRange.rlValue;
    slot.classReading = editedRange.classReading;
    slot.classRange = editedRange.classRange;
    slot.constTerm = editedRange.constTerm;
    slot.constUnit = editedRange.constUnit;
    slot.rangeDefined = editedRange.rangeDefined;
}
