// SPDX-License-Identifier: MIT
// The range editor's rules as the user clicks and types: option groups, lists and the nine
// edits fed with any text, then OK; also the editor opened on a stored (or file-made) range.

#include "FuzzRanges.h"
#include "FuzzSupport.h"
#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/entry/RangeEditor.h"

namespace {

using FuzzSupport::Quoted;

const QStringList& KnownMessages()
{
    static const QStringList texts{
        QStringLiteral("Błędnie podany zakres miernika."),
        QStringLiteral("Błędna nastawa wartości To."),
        QStringLiteral("Błędna nastawa wartości RL."),
        QStringLiteral("Wartość To może mieścić się w zakresie 0.0 - 60.0 °C."),
        QStringLiteral("Wartość RL może mieścić się w zakresie 0.0 - 55.0 Ohm."),
        QStringLiteral("Błędnie podana składowa stała."),
        QStringLiteral("Błędnie podana klasa miernika (% zakresu)."),
        QStringLiteral("Nie wprowadzono zakresu miernika."),
        QStringLiteral("Nie wprowadzono wartości To."),
    };
    return texts;
}

bool EditEnabled(const RangeEditor& editor, RangeEditor::Edit edit)
{
    switch (edit) {
    case RangeEditor::Edit::VoltageValue:
        return editor.IsEnabled(RangeEditor::Control::VoltageEdit);
    case RangeEditor::Edit::CurrentValue:
        return editor.IsEnabled(RangeEditor::Control::CurrentEdit);
    case RangeEditor::Edit::ResistanceValue:
        return editor.IsEnabled(RangeEditor::Control::ResistanceEdit);
    case RangeEditor::Edit::TemperatureValue:
        return editor.IsEnabled(RangeEditor::Control::TemperatureEdit);
    case RangeEditor::Edit::ToValue:
        return editor.IsEnabled(RangeEditor::Control::ToEdit);
    case RangeEditor::Edit::RlValue:
        return editor.IsEnabled(RangeEditor::Control::RlEdit);
    default:
        return true; // the class edits are always open
    }
}

// What holds after every action.
void CheckState(const RangeEditor& editor, const QString& where)
{
    for (int e = 0; e < RangeEditor::editCount; ++e)
        FUZZ_CHECK(editor.Text(RangeEditor::Edit(e)).size() <=
                       RangeEditor::MaxLength(RangeEditor::Edit(e)),
                   where);
    FUZZ_CHECK(editor.VoltageUnit() >= 0 && editor.VoltageUnit() < 2, where);
    FUZZ_CHECK(editor.ResistanceUnit() >= 0 && editor.ResistanceUnit() < 2, where);
    FUZZ_CHECK(editor.Thermocouple() >= 0 && editor.Thermocouple() < 7, where);
    FUZZ_CHECK(editor.ResistanceThermometer() >= 0 && editor.ResistanceThermometer() < 6, where);
    FUZZ_CHECK(editor.ConstUnits().isEmpty() ||
                   (editor.ConstUnit() >= 0 && editor.ConstUnit() < editor.ConstUnits().size()),
               where);
    const std::optional<RangeEditor::Quantity> quantity = editor.ChosenQuantity();
    FUZZ_CHECK(!quantity || (int(*quantity) >= int(RangeEditor::Quantity::Voltage) &&
                             int(*quantity) <= int(RangeEditor::Quantity::Temperature)),
               where);
}

// Everything OK hands back is a complete range that fits the file.
void CheckAccepted(const RangeEditor& editor, const MeterRange& slot, const QString& where)
{
    const MeterRange& r = editor.Range();
    const QString w = where + QStringLiteral(" accepted ") + Quoted(r.rangeValue) +
                      QLatin1Char(' ') + Quoted(r.rangeUnit);
    FUZZ_CHECK(r.rangeDefined == 1, w);
    FUZZ_CHECK(!r.rangeValue.isEmpty() && r.rangeValue.size() <= 4, w);
    for (QChar c : r.rangeValue)
        FUZZ_CHECK(c >= QLatin1Char('0') && c <= QLatin1Char('9'), w);
    FUZZ_CHECK(int(r.function) >= 0 && int(r.function) <= 4, w);
    // The preset of the function chosen, or what the stored range held when only its texts
    // were edited.
    FUZZ_CHECK(CalFunctions::IsValid(r.calFunction) || r.calFunction == slot.calFunction, w);
    static const QStringList units{QStringLiteral("mV"),   QStringLiteral("V"),
                                   QStringLiteral("mA"),   QStringLiteral("Ohm"),
                                   QStringLiteral("kOhm"), QStringLiteral("°C")};
    FUZZ_CHECK(units.contains(r.rangeUnit), w);
    // A range opened from a damaged file keeps its unknown sensor or junction when only its
    // texts are edited (the editor changes nothing it was not told to).
    if (r.sensorName == slot.sensorName && r.coldJunction == slot.coldJunction &&
        r.function == slot.function)
        return;
    if (r.function == RangeFunction::Thermocouple)
        FUZZ_CHECK(CalFunctions::ThermocoupleNames().contains(r.sensorName) &&
                       int(r.coldJunction) >= 0 && int(r.coldJunction) <= 2,
                   w);
    if (r.function == RangeFunction::Rtd)
        FUZZ_CHECK(CalFunctions::ResistanceThermometerNames().contains(r.sensorName), w);
    if (r.function == RangeFunction::Thermocouple && r.coldJunction == ColdJunction::To) {
        FUZZ_CHECK(!r.toValue.isEmpty(), w);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::EnsureApplication();
    FuzzSupport::Bytes in(data, size);
    RecordingMessageService messages;

    const uint8_t start = in.Byte();
    MeterRange slot;
    if (start & 1)
        slot = FuzzedRange(in);
    auto editor = std::make_unique<RangeEditor>(slot, !(start & 1), messages);
    CheckState(*editor, QStringLiteral("opened"));

    for (int step = 0; step < 32 && !in.AtEnd(); ++step) {
        const uint8_t action = in.Byte();
        const int arg = int(int8_t(in.Byte()));
        const qsizetype before = messages.messages.size();
        QString where =
            QStringLiteral("step %1, action %2, arg %3").arg(step).arg(action % 12).arg(arg);
        switch (action % 12) {
        case 0:
            editor->ChooseQuantity(RangeEditor::Quantity(arg % 6));
            break;
        // Options and lists only while the dialog has them enabled.
        case 1:
            if (editor->IsEnabled(RangeEditor::Control::ThermocoupleOption))
                editor->ChooseSensorKind(RangeFunction(arg % 4 + 3)); // 3 and 4 are sensors
            break;
        case 2:
            if (editor->IsEnabled(RangeEditor::Control::TexOption))
                editor->ChooseJunction(ColdJunction(arg % 5));
            break;
        case 3:
            if (editor->IsEnabled(RangeEditor::Control::VoltageUnitList))
                editor->SelectVoltageUnit(arg % 4);
            break;
        case 4:
            if (editor->IsEnabled(RangeEditor::Control::ResistanceUnitList))
                editor->SelectResistanceUnit(arg % 4);
            break;
        case 5:
            if (editor->IsEnabled(RangeEditor::Control::ThermocoupleList))
                editor->SelectThermocouple(arg % 9);
            break;
        case 6:
            if (editor->IsEnabled(RangeEditor::Control::RtdList))
                editor->SelectResistanceThermometer(arg % 8);
            break;
        case 7:
            editor->SelectConstUnit(arg % 4);
            break;
        case 8:
        case 9: {
            // Typing: the whole text at once, as a paste, or growing character by character.
            const auto edit = RangeEditor::Edit(uint8_t(arg) % RangeEditor::editCount);
            const QString typed = in.Text();
            where += QStringLiteral(", edit %1 typed ").arg(int(edit)) + Quoted(typed);
            // Only an edit that is enabled can be typed into.
            if (!EditEnabled(*editor, edit) || (action % 12 == 9 && typed.isEmpty()))
                break;
            if (action % 12 == 8) {
                editor->EditChanged(edit, typed);
            } else {
                for (qsizetype n = 1; n <= qMin<qsizetype>(typed.size(), 8); ++n)
                    editor->EditChanged(edit, typed.left(n));
            }
            for (qsizetype m = before; m < messages.messages.size(); ++m)
                FUZZ_CHECK(KnownMessages().contains(messages.messages[m].text),
                           where + QStringLiteral(": ") + messages.messages[m].text);
            // Feeding back the normalised text changes nothing more.
            const QString shown = editor->Text(edit);
            const MeterRange rangeBefore = editor->Range();
            const qsizetype count = messages.messages.size();
            editor->EditChanged(edit, shown);
            FUZZ_CHECK(editor->Text(edit) == shown, where + QStringLiteral(" shown ") +
                                                        Quoted(shown) + QStringLiteral(" then ") +
                                                        Quoted(editor->Text(edit)));
            FUZZ_CHECK(messages.messages.size() == count,
                       where + QStringLiteral(" shown ") + Quoted(shown));
            FUZZ_CHECK(editor->Range() == rangeBefore,
                       where + QStringLiteral(" shown ") + Quoted(shown));
            break;
        }
        case 10:
            if (editor->Accept()) {
                CheckAccepted(*editor, slot, where);
                // Stored into its slot and opened again for editing, the range reads back the
                // same.
                MeterRange stored = slot;
                editor->StoreInto(stored);
                RangeEditor reopened(stored, false, messages);
                FUZZ_CHECK(reopened.Accept(), where + QStringLiteral(" reopened"));
                FUZZ_CHECK(reopened.Range() == editor->Range(),
                           where + QStringLiteral(" reopened"));
            } else {
                FUZZ_CHECK(messages.messages.size() > before, where);
            }
            break;
        default: {
            MeterRange stored = slot;
            editor->StoreInto(stored);
            editor = std::make_unique<RangeEditor>(stored, false, messages);
            break;
        }
        }
        editor->TakeFocusRequest();
        for (qsizetype m = before; m < messages.messages.size(); ++m)
            FUZZ_CHECK(KnownMessages().contains(messages.messages[m].text),
                       where + QStringLiteral(": ") + messages.messages[m].text);
        CheckState(*editor, where);
    }
    return 0;
}
