// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/SetpointStepper.h"
#include "core/panel/SourceMembers.h"
#include "core/panel/SourceRangeTable.h"

#include <QString>

#include <functional>

class CommandSender;
class ParamPrompt;
struct PanelSourceState;

// The rules of the source half of the control panel: the selection of function, range and
// sensor, the keypad entry of the set-point, operate/standby, the parameter entries and the
// step keys. The widgets of the half mirror its state and call it; it never touches a widget.
class SourceLogic
{
public:
    SourceLogic(CommandSender& sender, ParamPrompt& prompt, PanelSourceState& state);

    // Called whenever the readout has to be repainted.
    std::function<void()> repaint;

    // The state of a freshly opened panel: 50 mV at zero, family RANGE, nothing sent.
    void Open();
    // The source half of the panel's reset: the range radio still checked is applied (its
    // commands go out), then the opening state.
    void ResetHalf();

    // Family option buttons, range radios, sensor lists, reference-junction radios.
    void ChooseFamily(SourceFamily family);
    void CheckRange(const QString& name);
    void SelectThermocouple(int index);
    void SelectRtd(int index);
    void ChooseColdJunction(ColdJunction junction);
    void ApplySourceSelection();

    // The RL check box.
    void SetLeadResistance(bool checked);

    // Keypad.
    void KeypadKey(QChar key); // a digit or "."
    void PlusMinus();
    void Enter();
    void CancelEntry();

    // Click of the O/S toggle (the toggle has already changed its state).
    void SwitchOperate();

    // Value buttons: reference temperature, lead resistance, Δ and M step sizes.
    void EnterColdJunctionTemperature();
    void EnterLeadResistance();
    void EnterDeltaStep();
    void EnterMStep();

    void Step(StepKey key);

    // Shows in the readout whether the link was given up (then nothing the half sends reaches
    // the calibrator). The half notes it after each of its own commands; the panel calls it
    // after each poll.
    void NoteLinkState();

    SourceFamily Family() const { return family; }
    QString CheckedRange() const { return checkedRange; }
    int ThermocoupleIndex() const { return thermocoupleIndex; }
    int RtdIndex() const { return rtdIndex; }
    ColdJunction Junction() const { return coldJunction; }
    bool ToButtonEnabled() const
    {
        return family == SourceFamily::Thermocouple && coldJunction == ColdJunction::To;
    }
    bool LeadResistanceChecked() const { return rlChecked; }
    bool LeadResistanceButtonEnabled() const { return family == SourceFamily::Rtd && rlChecked; }
    QString ToCaption() const { return toCaption; }
    QString LeadResistanceCaption() const { return rlCaption; }
    QString DeltaCaption() const { return members.deltaCaption; }
    QString MCaption() const { return members.mCaption; }
    const SourceMembers& Members() const { return members; }
    double SourceToValue() const { return sourceToValue; }
    double SourceRl() const { return sourceRl; }
    bool SourceRlOn() const { return sourceRlOn; }
    const PanelSourceState& State() const { return state; }

private:
    QString SelectionName() const;
    void SetOpeningState();
    void Repaint();
    void ShowRangeAtZero(const SourceRange& row, const QString& shownName);
    void SendSetpoint();
    void Send(const QString& command);
    // Runs the parameter dialog; as it closes, `then` gets the accepted text, or the old
    // caption when cancelled.
    void AskParameter(const QString& caption, const QString& unit, double low, double high,
                      const QString& initial, const std::function<void(const QString&)>& then);

    CommandSender& sender;
    ParamPrompt& prompt;
    PanelSourceState& state;
    SourceMembers members;

    SourceFamily family = SourceFamily::Range;
    QString checkedRange; // name of the checked range radio, empty while none is checked
    int thermocoupleIndex = 0;
    int rtdIndex = 0;
    ColdJunction coldJunction = ColdJunction::Tex;
    bool rlChecked = false;
    QString toCaption = QStringLiteral("0.0");
    QString rlCaption = QStringLiteral("0.00");

    double sourceToValue = 0; // °C
    double sourceRl = 0;      // Ω
    bool sourceRlOn = false;
};
