// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/RangeEditor.h"

#include "base/MessageService.h"
#include "link/CalFunctionTable.h"
#include "link/NumberText.h"

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

RangeEditor::Edit RangeEditFor(int functionChoice)
{
    switch (functionChoice) {
    case RangeEditor::Current:
        return RangeEditor::CurrentValue;
    case RangeEditor::Resistance:
        return RangeEditor::ResistanceValue;
    case RangeEditor::Temperature:
        return RangeEditor::TemperatureValue;
    default:
        return RangeEditor::VoltageValue;
    }
}

QString MeterRange::*FieldOf(RangeEditor::Edit edit)
{
    switch (edit) {
    case RangeEditor::ToValue:
        return &MeterRange::toValue;
    case RangeEditor::RlValue:
        return &MeterRange::rlValue;
    case RangeEditor::ClassReading:
        return &MeterRange::classReading;
    case RangeEditor::ClassRange:
        return &MeterRange::classRange;
    case RangeEditor::ConstTerm:
        return &MeterRange::constTerm;
    default:
        return &MeterRange::rangeValue;
    }
}

} // namespace

RangeEditor::RangeEditor(const MeterRange& slot, bool addMode, QWidget* owner)
    : owner_(owner), range_(slot)
{
    if (addMode) {
        for (QString MeterRange::*field :
             {&MeterRange::rangeValue, &MeterRange::sensorName, &MeterRange::rangeUnit,
              &MeterRange::toValue, &MeterRange::rlValue, &MeterRange::classReading,
              &MeterRange::classRange, &MeterRange::constTerm, &MeterRange::constUnit})
            (range_.*field).clear();
        range_.coldJunction = ColdJunction::Tex;
        functionChoice_ = Voltage;
        sensorKind_ = Thermocouple;
        junction_ = Tex;
        ApplyChoiceFields();
        return;
    }

    // Edit mode: the options, list items and edits show what is stored; nothing is changed.
    const RangeFunction function = range_.function;
    if (function == RangeFunction::Voltage || function == RangeFunction::Current ||
        function == RangeFunction::Resistance) {
        functionChoice_ = int(function); // the first three options are these quantities
        sensorKind_ = Thermocouple;
        junction_ = Tex;
    } else if (function == RangeFunction::Thermocouple) {
        functionChoice_ = Temperature;
        sensorKind_ = Thermocouple;
        // An unknown junction (a damaged file) gives way to Tex, shown and stored, as an
        // unknown sensor does below: a range without a junction selects no calibrator function.
        const int stored = int(range_.coldJunction);
        junction_ = stored >= Tex && stored <= To ? stored : int(Tex);
        range_.coldJunction = ColdJunction(junction_);
    } else if (function == RangeFunction::Rtd) {
        functionChoice_ = Temperature;
        sensorKind_ = Rtd;
        junction_ = Tex;
    }
    switch (function) {
    case RangeFunction::Current:
        constUnits_ = {QStringLiteral("mA")};
        break;
    case RangeFunction::Resistance:
        constUnits_ = {QStringLiteral("Ohm")};
        break;
    case RangeFunction::Thermocouple:
    case RangeFunction::Rtd:
        constUnits_ = {QStringLiteral("°C")};
        break;
    default:
        constUnits_ = {voltageConstUnits[0], voltageConstUnits[1]};
        break;
    }
    constUnitIndex_ = IndexOrFirst(constUnits_, range_.constUnit);
    if (function == RangeFunction::Voltage)
        voltageUnit_ = IndexOrFirst(VoltageUnits(), range_.rangeUnit);
    if (function == RangeFunction::Resistance)
        resistanceUnit_ = IndexOrFirst(ResistanceUnits(), range_.rangeUnit);
    // A sensor the lists do not know (a damaged file) gives way to the one shown, so that OK
    // stores what the technician saw and a measurement finds a calibrator function for it.
    if (function == RangeFunction::Thermocouple) {
        thermocouple_ = IndexOrFirst(CalFunctions::ThermocoupleNames(), range_.sensorName);
        range_.sensorName = CalFunctions::ThermocoupleNames().at(thermocouple_);
    }
    if (function == RangeFunction::Rtd) {
        rtd_ = IndexOrFirst(CalFunctions::ResistanceThermometerNames(), range_.sensorName);
        range_.sensorName = CalFunctions::ResistanceThermometerNames().at(rtd_);
    }

    if (functionChoice_ != NoFunction)
        texts_[RangeEditFor(functionChoice_)] = range_.rangeValue;
    texts_[ClassReading] = range_.classReading;
    texts_[ClassRange] = range_.classRange;
    texts_[ConstTerm] = range_.constTerm;
    if (functionChoice_ == Temperature) {
        texts_[ToValue] = range_.toValue;
        texts_[RlValue] = range_.rlValue;
    }
    for (int e = 0; e < EditCount; ++e)
        texts_[e] = texts_[e].left(MaxLength(Edit(e)));
}

QString RangeEditor::Title(bool addMode)
{
    return addMode ? QStringLiteral("Dodawanie zakresu pomiarowego")
                   : QStringLiteral("Edycja zakresu pomiarowego");
}

int RangeEditor::MaxLength(Edit edit)
{
    return edit == ClassReading || edit == ClassRange || edit == ConstTerm ? 5 : 4;
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

bool RangeEditor::isEnabled(Control control) const
{
    const bool temperature = functionChoice_ == Temperature;
    const bool thermocouple = temperature && sensorKind_ == Thermocouple;
    const bool rtd = temperature && sensorKind_ == Rtd;
    switch (control) {
    case VoltageEdit:
    case VoltageUnitList:
        return functionChoice_ == Voltage;
    case CurrentEdit:
    case CurrentUnitLabel:
        return functionChoice_ == Current;
    case ResistanceEdit:
    case ResistanceUnitList:
        return functionChoice_ == Resistance;
    case TemperatureEdit:
    case TemperatureUnitLabel:
    case ThermocoupleOption:
    case RtdOption:
        return temperature;
    case ThermocoupleList:
    case TexOption:
    case TinOption:
    case ToOption:
        return thermocouple;
    case ToEdit:
    case ToUnitLabel:
        return thermocouple && junction_ == To;
    case RtdList:
    case RlLabel:
    case RlEdit:
    case RlUnitLabel:
        return rtd;
    case ControlCount:
        break;
    }
    return false;
}

std::optional<RangeEditor::Edit> RangeEditor::takeFocusRequest()
{
    return std::exchange(focus_, std::nullopt);
}

void RangeEditor::FillConstUnits(const QStringList& units)
{
    constUnits_ = units;
    constUnitIndex_ = 0;
    range_.constUnit = constUnits_.first();
}

// The fields a click on a function option writes; typed texts stay in their edits.
void RangeEditor::ApplyChoiceFields()
{
    switch (functionChoice_) {
    case Voltage:
        range_.function = RangeFunction::Voltage;
        range_.calFunction = 0;
        range_.sensorName.clear();
        range_.rangeUnit = VoltageUnits().at(voltageUnit_);
        FillConstUnits({voltageConstUnits[0], voltageConstUnits[1]});
        break;
    case Current:
        range_.function = RangeFunction::Current;
        range_.calFunction = 4;
        range_.sensorName.clear();
        range_.rangeUnit = QStringLiteral("mA");
        FillConstUnits({QStringLiteral("mA")});
        break;
    case Resistance:
        range_.function = RangeFunction::Resistance;
        range_.calFunction = 5;
        range_.sensorName.clear();
        range_.rangeUnit = ResistanceUnits().at(resistanceUnit_);
        FillConstUnits({QStringLiteral("Ohm")});
        break;
    case Temperature:
        range_.rangeUnit = QStringLiteral("°C");
        FillConstUnits({QStringLiteral("°C")});
        if (sensorKind_ == Rtd)
            ApplyResistanceThermometer();
        else
            ApplyThermocouple();
        break;
    default:
        break;
    }
}

void RangeEditor::ApplyThermocouple()
{
    sensorKind_ = Thermocouple;
    range_.function = RangeFunction::Thermocouple;
    range_.calFunction = 7;
    range_.sensorName = CalFunctions::ThermocoupleNames().at(thermocouple_);
    junction_ = Tex;
    range_.coldJunction = ColdJunction::Tex;
    range_.toValue.clear();
    texts_[ToValue].clear();
}

void RangeEditor::ApplyResistanceThermometer()
{
    sensorKind_ = Rtd;
    range_.function = RangeFunction::Rtd;
    range_.calFunction = 14;
    range_.sensorName = CalFunctions::ResistanceThermometerNames().at(rtd_);
    range_.rlValue.clear();
    texts_[RlValue].clear();
}

void RangeEditor::ChooseFunction(int choice)
{
    if (choice < Voltage || choice > Temperature)
        return;
    functionChoice_ = choice;
    ApplyChoiceFields();
    focus_ = RangeEditFor(choice);
}

void RangeEditor::ChooseSensorKind(int kind)
{
    if (functionChoice_ != Temperature)
        return;
    if (kind == Thermocouple)
        ApplyThermocouple();
    else if (kind == Rtd)
        ApplyResistanceThermometer();
}

void RangeEditor::ChooseJunction(int junction)
{
    if (junction < Tex || junction > To)
        return;
    junction_ = junction;
    range_.coldJunction = ColdJunction(junction);
    if (junction == To)
        focus_ = ToValue;
}

void RangeEditor::SelectVoltageUnit(int index)
{
    if (index < 0 || index >= VoltageUnits().size())
        return;
    voltageUnit_ = index;
    range_.rangeUnit = VoltageUnits().at(index);
}

void RangeEditor::SelectResistanceUnit(int index)
{
    if (index < 0 || index >= ResistanceUnits().size())
        return;
    resistanceUnit_ = index;
    range_.rangeUnit = ResistanceUnits().at(index);
}

void RangeEditor::SelectThermocouple(int index)
{
    const QStringList names = CalFunctions::ThermocoupleNames();
    if (index < 0 || index >= names.size())
        return;
    thermocouple_ = index;
    range_.sensorName = names.at(index);
}

void RangeEditor::SelectResistanceThermometer(int index)
{
    const QStringList names = CalFunctions::ResistanceThermometerNames();
    if (index < 0 || index >= names.size())
        return;
    rtd_ = index;
    range_.sensorName = names.at(index);
}

void RangeEditor::SelectConstUnit(int index)
{
    if (index < 0 || index >= constUnits_.size())
        return;
    constUnitIndex_ = index;
    range_.constUnit = constUnits_.at(index);
}

void RangeEditor::EditChanged(Edit edit, const QString& text)
{
    if (edit < 0 || edit >= EditCount)
        return;
    texts_[edit] = text.left(MaxLength(edit));
    switch (edit) {
    case VoltageValue:
    case CurrentValue:
    case ResistanceValue:
    case TemperatureValue:
        if (!texts_[edit].isEmpty())
            ValidateRangeEdit(edit, texts_[edit]);
        break;
    case ToValue:
    case RlValue:
        ValidateSetting(edit, texts_[edit]);
        break;
    default:
        ValidateClass(edit, texts_[edit]);
        break;
    }
}

void RangeEditor::Refuse(Edit edit, const QString& message, bool focus)
{
    texts_[edit].clear();
    if (focus)
        focus_ = edit;
    ShowError(message, owner_);
}

QString RangeEditor::RangeUnitFor(Edit edit) const
{
    switch (edit) {
    case VoltageValue:
        return VoltageUnits().at(voltageUnit_);
    case CurrentValue:
        return QStringLiteral("mA");
    case ResistanceValue:
        return ResistanceUnits().at(resistanceUnit_);
    default:
        return QStringLiteral("°C");
    }
}

bool RangeEditor::ValidateRangeEdit(Edit edit, const QString& text)
{
    if (!OnlyDigits(text)) {
        range_.rangeValue.clear();
        range_.rangeUnit.clear();
        Refuse(edit, QStringLiteral("Błędnie podany zakres miernika."), true);
        return false;
    }
    range_.rangeValue = QString::number(text.toInt()); // "0040" is 40, "0" stays 0
    range_.rangeUnit = RangeUnitFor(edit);
    if (edit == TemperatureValue) {
        if (sensorKind_ == Thermocouple)
            range_.function = RangeFunction::Thermocouple;
        else if (sensorKind_ == Rtd)
            range_.function = RangeFunction::Rtd;
    } else {
        // The voltage, current and resistance edits come in the order of their quantities.
        range_.function = RangeFunction(edit - VoltageValue);
    }
    return true;
}

// To and RL: one decimal, the digits behind it cut; To 0-60 °C, RL 0-55 Ohm.
void RangeEditor::ValidateSetting(Edit edit, const QString& text)
{
    const bool isTo = edit == ToValue;
    QString& field = range_.*FieldOf(edit);
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
    texts_[edit] = normalised;
    field = texts_[edit];
}

// Class parts and the constant component keep the decimals typed, at least one.
void RangeEditor::ValidateClass(Edit edit, const QString& text)
{
    QString& field = range_.*FieldOf(edit);
    if (text.isEmpty()) {
        field.clear();
        return;
    }
    if (!OnlyNumberCharacters(text)) {
        field.clear();
        Refuse(edit,
               edit == ConstTerm ? QStringLiteral("Błędnie podana składowa stała.")
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
    texts_[edit] = value;
    field = value;
}

bool RangeEditor::Accept()
{
    range_.rangeDefined = 0;
    const Edit rangeEdit = RangeEditFor(functionChoice_);
    if (functionChoice_ == NoFunction || texts_[rangeEdit].isEmpty()) {
        range_.rangeValue.clear();
        if (functionChoice_ != NoFunction)
            focus_ = rangeEdit;
        ShowError(QStringLiteral("Nie wprowadzono zakresu miernika."), owner_);
        return false;
    }
    // Whatever was typed into the other range edits, the chosen function's edit decides.
    if (!ValidateRangeEdit(rangeEdit, texts_[rangeEdit]))
        return false;
    if (functionChoice_ == Temperature && sensorKind_ == Thermocouple && junction_ == To &&
        texts_[ToValue].isEmpty()) {
        focus_ = ToValue;
        ShowError(QStringLiteral("Nie wprowadzono wartości To."), owner_);
        return false;
    }
    range_.rangeDefined = 1;
    return true;
}

void RangeEditor::StoreInto(MeterRange& slot) const
{
    slot.rangeValue = range_.rangeValue;
    slot.sensorName = range_.sensorName;
    slot.rangeUnit = range_.rangeUnit;
    slot.function = range_.function;
    slot.calFunction = range_.calFunction;
    slot.coldJunction = range_.coldJunction;
    slot.toValue = range_.toValue;
    slot.rlValue = range_.rlValue;
    slot.classReading = range_.classReading;
    slot.classRange = range_.classRange;
    slot.constTerm = range_.constTerm;
    slot.constUnit = range_.constUnit;
    slot.rangeDefined = range_.rangeDefined;
}
