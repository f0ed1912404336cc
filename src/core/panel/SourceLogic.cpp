// SPDX-License-Identifier: MIT
#include "core/panel/SourceLogic.h"

#include "core/link/CommandSender.h"
#include "core/link/NumberText.h"
#include "core/panel/AutoSubrange.h"
#include "core/panel/PanelState.h"
#include "core/panel/ParamPrompt.h"

namespace {

const QString autoRangeName = QStringLiteral("Uauto");

} // namespace

SourceLogic::SourceLogic(CommandSender& sender, ParamPrompt& prompt, PanelSourceState& state)
    : sender(sender), prompt(prompt), state(state)
{}

void SourceLogic::Repaint()
{
    if (repaint)
        repaint();
}

void SourceLogic::Send(const QString& command)
{
    sender.Send(command, [this](const QString&) { NoteLinkState(); });
}

void SourceLogic::NoteLinkState()
{
    const bool lost = !sender.LinkAlive();
    if (lost == state.linkLost)
        return;
    state.linkLost = lost;
    Repaint();
}

void SourceLogic::Open()
{
    checkedRange.clear();
    toCaption = QStringLiteral("0.0");
    rlCaption = QStringLiteral("0.00");
    ChooseFamily(SourceFamily::Range); // nothing is checked yet, so nothing is sent
    state.operateOn = false;
    SetOpeningState();
    NoteLinkState();
}

void SourceLogic::ResetHalf()
{
    toCaption = QStringLiteral("0.0");
    rlCaption = QStringLiteral("0.00");
    ChooseFamily(SourceFamily::Range); // applies the range still checked
    SetOpeningState();
    NoteLinkState();
}

// 50 mV at zero, as the calibrator stands after "I" and "X"; nothing is sent.
void SourceLogic::SetOpeningState()
{
    const SourceRange* row = FindSourceRange(QStringLiteral("50mV"));
    checkedRange = row->name;
    members.autoRange = false;
    ShowRangeAtZero(*row, row->name);
    sourceToValue = 0;
    sourceRl = 0;
    sourceRlOn = false;
    // The RL box follows: a checked box with compensation off would leave the next
    // resistance-thermometer selection without its "R".
    rlChecked = false;
    coldJunction = ColdJunction::Tex;
    thermocoupleIndex = 0;
    rtdIndex = 0;
}

void SourceLogic::ChooseFamily(SourceFamily newFamily)
{
    family = newFamily;
    switch (family) {
    case SourceFamily::Range:
        if (!checkedRange.isEmpty())
            ApplySourceSelection();
        break;
    case SourceFamily::Thermocouple:
        ChooseColdJunction(coldJunction);
        break;
    case SourceFamily::Rtd:
        ApplySourceSelection();
        break;
    }
}

void SourceLogic::CheckRange(const QString& name)
{
    checkedRange = name;
    ApplySourceSelection();
}

void SourceLogic::SelectThermocouple(int index)
{
    thermocoupleIndex = index;
    ApplySourceSelection();
}

void SourceLogic::SelectRtd(int index)
{
    rtdIndex = index;
    ApplySourceSelection();
}

void SourceLogic::ChooseColdJunction(ColdJunction junction)
{
    coldJunction = junction;
    ApplySourceSelection();
}

QString SourceLogic::SelectionName() const
{
    switch (family) {
    case SourceFamily::Range:
        return checkedRange;
    case SourceFamily::Thermocouple:
        return ThermocoupleNames().value(thermocoupleIndex);
    case SourceFamily::Rtd:
        return RtdNames().value(rtdIndex);
    }
    return QString();
}

// Takes the range's limits and decimals and shows its zero as the set-point in force; the
// step sizes start again from zero.
void SourceLogic::ShowRangeAtZero(const SourceRange& row, const QString& shownName)
{
    state.entryText = row.format;
    state.sourceRangeName = shownName;
    state.sourceUnit = row.unit;
    members.sourceMax = row.max;
    members.sourceMin = row.min;
    members.sourceDecimals = row.decimals;
    state.entryPositive = true;
    state.showingSetting = true;
    state.digitsStarted = false;
    Repaint();

    state.sentText = row.format;
    state.sentPositive = true;
    members.deltaCaption = row.format;
    members.mCaption = row.format;
    members.deltaStep = 0;
    members.mStep = 0;
}

void SourceLogic::ApplySourceSelection()
{
    const SourceRange* row = FindSourceRange(SelectionName());
    if (!row)
        return;
    members.autoRange = row->name == autoRangeName;
    ShowRangeAtZero(*row, members.autoRange ? AutoSubranges().first().name : row->name);
    for (const QString& command :
         SourceSelectionCommands(*row, coldJunction, sourceToValue, sourceRlOn, sourceRl))
        Send(command);
}

void SourceLogic::SetLeadResistance(bool checked)
{
    rlChecked = checked;
    sourceRlOn = checked;
    Send(checked ? QStringLiteral("R") + FormatFixed(sourceRl, 2) : QStringLiteral("R00.00"));
}

void SourceLogic::KeypadKey(QChar key)
{
    if (state.showingSetting) {
        state.entryText.clear();
        state.entryPositive = true;
        state.digitsStarted = false;
    }
    // At most six characters: the readout shows no more.
    if (state.entryText.size() >= 6)
        return;
    QString text(key);
    if (key == QLatin1Char('0')) {
        // No second leading zero.
        if (state.entryText.startsWith(QLatin1Char('0')) &&
            !state.entryText.startsWith(QLatin1String("0.")))
            text.clear();
    } else if (key == QLatin1Char('.')) {
        if (!state.digitsStarted) {
            state.entryText.clear();
            text = QStringLiteral("0.");
        } else if (state.entryText.contains(QLatin1Char('.'))) {
            text.clear();
        }
    }
    state.digitsStarted = true;
    state.showingSetting = false;
    // A digit after a lone leading zero is dropped.
    if (!(state.entryText == QLatin1String("0") && key != QLatin1Char('.')))
        state.entryText += text;
    Repaint();
}

void SourceLogic::PlusMinus()
{
    // Resistance cannot be negative.
    if (state.sourceRangeName == QLatin1String("400") ||
        state.sourceRangeName == QLatin1String("4000"))
        return;
    state.entryPositive = !state.entryPositive;
    if (state.showingSetting) {
        state.entryText.clear();
        state.showingSetting = false;
    }
    Repaint();
}

void SourceLogic::SendSetpoint()
{
    Send((state.entryPositive ? QStringLiteral("N+") : QStringLiteral("N-")) + state.entryText);
}

void SourceLogic::Enter()
{
    // Nothing typed: the set-point in force stays as it is (and so does the sub-range).
    if (state.showingSetting)
        return;
    if (members.autoRange)
        SelectAutoSubrange(state, members);
    const double v = ParseNumber(state.entryText); // the magnitude; the sign is apart
    // Beyond either limit the set-point is refused: the mark shows until the next repaint,
    // and the set-point in force is kept.
    if (v > members.sourceMax || (!state.entryPositive && -v < members.sourceMin)) {
        state.entryText = state.entryPositive ? PanelMarks::overRange : PanelMarks::underRange;
        Repaint();
        state.entryPositive = state.sentPositive;
        state.entryText = state.sentText;
        state.showingSetting = true;
        state.digitsStarted = false;
        return;
    }
    if (v == 0)
        state.entryPositive = true;
    state.entryText = SetDecimals(state.entryText, members.sourceDecimals);
    Repaint();
    state.sentText = state.entryText;
    state.sentPositive = state.entryPositive;
    SendSetpoint();
    state.showingSetting = true;
    state.digitsStarted = false;
}

void SourceLogic::CancelEntry()
{
    state.entryText = state.sentText;
    state.entryPositive = state.sentPositive;
    Repaint();
    SendSetpoint();
    state.digitsStarted = false;
    state.showingSetting = true;
}

void SourceLogic::SwitchOperate()
{
    state.operateOn = !state.operateOn;
    Send(state.operateOn ? QStringLiteral("S1") : QStringLiteral("S0"));
    if (state.entryText.isEmpty())
        state.entryText = state.sentText;
    Repaint();
}

void SourceLogic::AskParameter(const QString& caption, const QString& unit, double low, double high,
                               const QString& initial,
                               const std::function<void(const QString&)>& then)
{
    prompt.Ask({caption, unit, low, high, initial},
               [&](const std::optional<QString>& accepted) { then(accepted.value_or(initial)); });
}

void SourceLogic::EnterColdJunctionTemperature()
{
    AskParameter(QStringLiteral("To = "), QStringLiteral("°C"), 0, 60, toCaption,
                 [this](const QString& text) {
                     toCaption = SetDecimals(text, 1);
                     sourceToValue = ParseNumber(text);
                     coldJunction = ColdJunction::To;
                     ApplySourceSelection();
                 });
}

void SourceLogic::EnterLeadResistance()
{
    AskParameter(QStringLiteral("RL = "), QStringLiteral("Ohm"), 0, 50, rlCaption,
                 [this](const QString& text) {
                     rlCaption = SetDecimals(text, 1);
                     sourceRl = ParseNumber(text);
                     Send(rlChecked
                              ? QStringLiteral("R") + FormatFixed(sourceRl, members.sourceDecimals)
                              : QStringLiteral("R00.00"));
                 });
}

void SourceLogic::EnterDeltaStep()
{
    AskParameter(QStringLiteral("Delta = "), QString(), 0, members.sourceMax, members.deltaCaption,
                 [this](const QString& text) {
                     members.deltaCaption = SetDecimals(text, members.sourceDecimals);
                     members.deltaStep = ParseNumber(text);
                 });
}

void SourceLogic::EnterMStep()
{
    AskParameter(QStringLiteral("M = "), QString(), 0, members.sourceMax, members.mCaption,
                 [this](const QString& text) {
                     members.mCaption = SetDecimals(text, members.sourceDecimals);
                     members.mStep = ParseNumber(text);
                 });
}

void SourceLogic::Step(StepKey key)
{
    const QString command = StepSetpoint(state, members, StepSize(key, members), StepIsUp(key));
    if (command.isEmpty())
        return;
    Repaint();
    Send(command);
}
