// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/MeterStatistics.h"

#include <QString>

#include <functional>

class AveragingTimer;
class CommandSender;
class ParamPrompt;
struct PanelMeterState;

enum class MeasureFamily
{
    Range,
    Thermocouple,
    Rtd
};

// The rules of the measure half of the control panel: what is measured, the poll and its
// reading, HOLD, the lead resistance, and the statistics with their averaging windows.
// The widgets of the half mirror its state and call it; it never touches a widget.
class MeasureLogic
{
public:
    MeasureLogic(CommandSender& sender, AveragingTimer& timer, ParamPrompt& prompt,
                 PanelMeterState& state);

    // Called when a reply that came later changed the state (a reading, the link given up).
    std::function<void()> changed;

    // The state a freshly opened panel shows: the 25 V range at zero, nothing sent.
    void Open();
    // The measure half of the panel's reset: the range radio still checked is applied (its
    // "M" goes out), then the opening state; the RL box keeps its state.
    void ResetHalf();

    // Family option buttons, range radios and sensor lists.
    void ChooseFamily(MeasureFamily family);
    void CheckRange(const QString& name); // a range radio was clicked
    void SelectThermocouple(int index);
    void SelectRtd(int index);
    void ApplyMeasureSelection();

    // RL box, RL button and t button.
    void SetLeadResistance(bool checked);
    void EnterLeadResistance();
    void EnterAveragingTime();

    // Timer 1: posts "P" unless a poll is still on its way (a slow link lowers the poll rate
    // instead of piling polls up); the reply becomes the reading. The operator's commands
    // go out before a poll still waiting for the line.
    void PollReading();
    void SwitchHold();         // Click of the Hold toggle
    void ResetStatistics();    // "Reset", key "R"
    void EndAveragingWindow(); // timer 2
    void StopAveraging();      // the panel's closing stops timer 2

    MeasureFamily Family() const { return family; }
    QString CheckedRange() const { return checkedRange; }
    int ThermocoupleIndex() const { return thermocoupleIndex; }
    int RtdIndex() const { return rtdIndex; }
    bool LeadResistanceChecked() const { return rlChecked; }
    bool LeadResistanceButtonEnabled() const { return family == MeasureFamily::Rtd && rlChecked; }
    QString LeadResistanceCaption() const { return rlCaption; }
    QString AveragingCaption() const { return avgCaption; }
    int MeterDecimals() const { return meterDecimals; }
    double MeterRl() const { return meterRl; }
    int AvgSeconds() const { return avgSeconds; }
    const MeterStatistics& Statistics() const { return stats; }
    const PanelMeterState& State() const { return state; }

private:
    QString SelectionName() const;
    void SetOpeningState();
    void SendLeadResistance();
    void Send(const QString& command);
    void TakeReading(const QString& reply, int selectionOfPoll);
    void Changed();
    // Once the link is given up no measurement takes place: the readout shows the
    // no-measurement mark instead of any number until the port is opened again.
    void ShowLinkState();

    CommandSender& sender;
    AveragingTimer& timer;
    ParamPrompt& prompt;
    PanelMeterState& state;

    MeasureFamily family = MeasureFamily::Range;
    QString checkedRange;
    int thermocoupleIndex = 0;
    int rtdIndex = 0;
    bool rlChecked = false;
    QString rlCaption = QStringLiteral("0.00");
    QString avgCaption = QStringLiteral("10");

    int meterDecimals = 3;
    double meterRl = 0;
    int avgSeconds = 10;
    MeterStatistics stats;
    bool pollPending = false;
    int selection = 0; // counts the measure selections: a reply of the one before is stale
};
