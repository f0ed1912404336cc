// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckDoc.h"

#include <QStringList>

#include <array>
#include <optional>

class MessageService;
class QObject;

// The rules of the range editor, without any widget: the three option groups, the lists, the
// nine edits with their validation as the user types, which controls are enabled, and the
// working copy of the range that OK hands back. Error boxes go through the message service.
class RangeEditor
{
public:
    enum class Edit
    {
        VoltageValue,     // 1245
        CurrentValue,     // 1249
        ResistanceValue,  // 1250
        TemperatureValue, // 1259
        ToValue,          // 1257
        RlValue,          // 1260
        ClassReading,     // 1246
        ClassRange,       // 1251
        ConstTerm,        // 1252
    };
    static constexpr int editCount = int(Edit::ConstTerm) + 1;
    enum class Control
    {
        VoltageEdit,
        VoltageUnitList,
        CurrentEdit,
        CurrentUnitLabel,
        ResistanceEdit,
        ResistanceUnitList,
        TemperatureEdit,
        TemperatureUnitLabel,
        ThermocoupleOption,
        RtdOption,
        ThermocoupleList,
        TexOption,
        TinOption,
        ToOption,
        ToEdit,
        ToUnitLabel,
        RtdList,
        RlLabel,
        RlEdit,
        RlUnitLabel,
    };
    static constexpr int controlCount = int(Control::RlUnitLabel) + 1;
    // The options of the function group. A temperature is measured with a thermocouple or a
    // resistance thermometer: the sensor option, kept as the range's function (Thermocouple or
    // Rtd); a thermocouple's reference junction is its ColdJunction.
    enum class Quantity
    {
        Voltage,
        Current,
        Resistance,
        Temperature
    };

    // Opens on a copy of `slot`: add mode starts a fresh voltage range, edit mode shows the
    // stored one. `owner` is only handed to the message boxes.
    RangeEditor(const MeterRange& slot, bool addMode, MessageService& messages,
                QObject* owner = nullptr);

    static QString Title(bool addMode);
    // The edit that holds the range of a quantity.
    static Edit RangeEditFor(Quantity quantity);
    static int MaxLength(Edit edit);
    static const QStringList& VoltageUnits();
    static const QStringList& ResistanceUnits();

    // Option groups; none selected only while a stored range of an unknown function is shown.
    std::optional<Quantity> ChosenQuantity() const { return chosenQuantity; }
    std::optional<RangeFunction> ChosenSensorKind() const { return chosenSensorKind; }
    std::optional<ColdJunction> ChosenJunction() const { return chosenJunction; }
    // Selected list items (index into the list).
    int VoltageUnit() const { return voltageUnitIndex; }
    int ResistanceUnit() const { return resistanceUnitIndex; }
    int Thermocouple() const { return thermocoupleIndex; }
    int ResistanceThermometer() const { return thermometerIndex; }
    const QStringList& ConstUnits() const { return constUnitTexts; }
    int ConstUnit() const { return constUnitIndex; }

    QString Text(Edit edit) const { return editTexts[std::size_t(edit)]; }
    bool IsEnabled(Control control) const;
    const MeterRange& Range() const { return editedRange; }
    // The edit that should get the focus after the last action, once.
    std::optional<Edit> TakeFocusRequest();

    // Choices outside the options (a sensor kind other than Thermocouple or Rtd) are ignored.
    void ChooseQuantity(Quantity quantity);
    void ChooseSensorKind(RangeFunction kind);
    void ChooseJunction(ColdJunction junction);
    void SelectVoltageUnit(int index);
    void SelectResistanceUnit(int index);
    void SelectThermocouple(int index);
    void SelectResistanceThermometer(int index);
    void SelectConstUnit(int index);
    // The user changed the text of an edit: validate it, keep the normalised text (Text(edit)),
    // and update the working range. Feeding back a normalised text changes nothing more.
    void EditChanged(Edit edit, const QString& text);
    // OK: true when the range may be stored; Range() is then complete with rangeDefined 1.
    bool Accept();
    // Copies the fields the editor owns into `slot`; its points and rangeMeasured stay.
    void StoreInto(MeterRange& slot) const;

private:
    void ApplyChoiceFields();
    void ApplyThermocouple();
    void ApplyResistanceThermometer();
    void FillConstUnits(const QStringList& units);
    bool ValidateRangeEdit(Edit edit, const QString& text);
    void ValidateSetting(Edit edit, const QString& text);
    void ValidateClass(Edit edit, const QString& text);
    QString RangeUnitFor(Edit edit) const;
    void Refuse(Edit edit, const QString& message, bool focus);
    QString& TextRef(Edit edit) { return editTexts[std::size_t(edit)]; }

    MessageService& messages;
    QObject* messageOwner;
    MeterRange editedRange;
    std::array<QString, editCount> editTexts;
    std::optional<Quantity> chosenQuantity;
    std::optional<RangeFunction> chosenSensorKind;
    std::optional<ColdJunction> chosenJunction;
    int voltageUnitIndex = 0;
    int resistanceUnitIndex = 0;
    int thermocoupleIndex = 0;
    int thermometerIndex = 0;
    QStringList constUnitTexts;
    int constUnitIndex = 0;
    std::optional<Edit> focusedEdit;
};
