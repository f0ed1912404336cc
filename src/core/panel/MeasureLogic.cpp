// SPDX-License-Identifier: MIT
#include "core/panel/MeasureLogic.h"

#include "core/link/CommandSender.h"
#include "core/link/NumberText.h"
#include "core/panel/AveragingTimer.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ParamPrompt.h"
#include "core/panel/ReadingParser.h"
#include "core/panel/SourceRangeTable.h"

#include <cmath>

MeasureLogic::MeasureLogic(CommandSender& sender, AveragingTimer& timer, ParamPrompt& prompt,
                           PanelMeterState& state)
    : sender(sender), timer(timer), prompt(prompt), state(state)
{}

void MeasureLogic::Send(const QString& command)
{
    sender.Send(command, [this](const QString&) {
        ShowLinkState();
        Changed();
    });
}

void MeasureLogic::Changed()
{
    if (changed)
        changed();
}

void MeasureLogic::ShowLinkState()
{
    state.linkLost = !sender.LinkAlive();
    if (state.linkLost) {
        state.meterText = PanelMarks::noMeasurement;
        state.meterPositive = true;
    }
}

void MeasureLogic::Open()
{
    rlChecked = false;
    SetOpeningState();
}

void MeasureLogic::ResetHalf()
{
    ChooseFamily(MeasureFamily::Range);
    SetOpeningState();
}

void MeasureLogic::SetOpeningState()
{
    ++selection;
    family = MeasureFamily::Range;
    avgSeconds = 10;
    avgCaption = QStringLiteral("10");
    checkedRange = QStringLiteral("25V");
    const MeasureRange* row = MeasureRangeTable::Find(checkedRange);
    state.meterText = row->format;
    state.meterRangeName = row->name;
    state.meterUnit = row->unit;
    state.meterPositive = true;
    meterDecimals = row->decimals;
    meterRl = 0;
    rlCaption = QStringLiteral("0.00");
    state.holdOn = false;
    state.heldText.clear();
    thermocoupleIndex = 0;
    rtdIndex = 0;
    stats.Clear(meterDecimals);
    ShowLinkState();
}

void MeasureLogic::ChooseFamily(MeasureFamily chosen)
{
    family = chosen;
    // With the range family nothing is applied until a radio has been checked.
    if (family != MeasureFamily::Range || !checkedRange.isEmpty())
        ApplyMeasureSelection();
}

void MeasureLogic::CheckRange(const QString& name)
{
    checkedRange = name;
    ApplyMeasureSelection();
}

void MeasureLogic::SelectThermocouple(int index)
{
    thermocoupleIndex = index;
    ApplyMeasureSelection();
}

void MeasureLogic::SelectRtd(int index)
{
    rtdIndex = index;
    ApplyMeasureSelection();
}

QString MeasureLogic::SelectionName() const
{
    switch (family) {
    case MeasureFamily::Range:
        return checkedRange;
    case MeasureFamily::Thermocouple:
        return ThermocoupleNames().value(thermocoupleIndex);
    case MeasureFamily::Rtd:
        return RtdNames().value(rtdIndex);
    }
    return QString();
}

void MeasureLogic::ApplyMeasureSelection()
{
    if (const MeasureRange* row = MeasureRangeTable::Find(SelectionName())) {
        ++selection;
        state.meterText = row->format;
        state.meterRangeName = row->name;
        state.meterUnit = row->unit;
        meterDecimals = row->decimals;
        state.meterPositive = true;
        Send(row->command);
    }
    // The old readings mean nothing in the new function; the next poll stops the averaging.
    stats.Clear(meterDecimals);
}

void MeasureLogic::SetLeadResistance(bool checked)
{
    rlChecked = checked;
    SendLeadResistance();
}

void MeasureLogic::SendLeadResistance()
{
    if (rlChecked)
        Send(QLatin1Char('Q') + FormatFixed(meterRl, meterDecimals));
    else
        Send(QStringLiteral("Q00.00"));
}

void MeasureLogic::EnterLeadResistance()
{
    const QString initial = rlCaption;
    prompt.Ask({QStringLiteral("RL = "), QStringLiteral("Ohm"), 0, 50, initial},
               [this, &initial](const std::optional<QString>& accepted) {
                   const QString text = accepted.value_or(initial);
                   rlCaption = SetDecimals(text, 1);
                   meterRl = ParseNumber(text);
                   SendLeadResistance();
               });
}

void MeasureLogic::EnterAveragingTime()
{
    const QString initial = avgCaption;
    prompt.Ask({QStringLiteral("t (AVR) = "), QStringLiteral("s"), 1, 99, initial},
               [this, &initial](const std::optional<QString>& accepted) {
                   avgCaption = accepted.value_or(initial);
                   // The dialog keeps t within 1-99; the bound only guards the conversion.
                   avgSeconds =
                       static_cast<int>(std::trunc(qBound(0.0, ParseNumber(avgCaption), 99.0)));
               });
}

void MeasureLogic::PollReading()
{
    if (pollPending)
        return;
    pollPending = true;
    sender.Poll(QStringLiteral("P"), [this, polled = selection](const QString& reply) {
        pollPending = false;
        TakeReading(reply, polled);
        Changed();
    });
}

void MeasureLogic::TakeReading(const QString& reply, int selectionOfPoll)
{
    ShowLinkState();
    // A reading of the function measured before the latest selection is not shown in it.
    const bool reading = !state.linkLost && selectionOfPoll == selection;
    // A link given up gives no reading, and the statistics count none.
    if (reading)
        ParseReading(reply, meterDecimals, state);
    if (!stats.running)
        timer.Stop();
    else if (reading)
        stats.Take(SignedReading(state), meterDecimals);
}

void MeasureLogic::SwitchHold()
{
    state.heldText = state.meterText;
    state.holdOn = !state.holdOn;
}

void MeasureLogic::ResetStatistics()
{
    if (avgSeconds < 1)
        return;
    timer.Start(avgSeconds * 1000);
    stats.Restart(SignedReading(state), meterDecimals);
}

void MeasureLogic::EndAveragingWindow()
{
    stats.EndWindow(meterDecimals);
}

void MeasureLogic::StopAveraging()
{
    timer.Stop();
}
