// SPDX-License-Identifier: MIT
#pragma once

#include "RecordingCommandSender.h"
#include "ScriptedPrompt.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadoutContent.h"
#include "core/panel/SourceLogic.h"

#include <QList>
#include <QStringList>

// The source half's rules with everything they talk to recorded: the commands sent and what
// the readout showed at each repaint.
struct SourceRig
{
    SourceRig()
    {
        logic.repaint = [this] { shown << SourceReadoutContent(state); };
        logic.Open();
        shown.clear();
    }

    // Runs keys written as on the panel, separated by blanks: digits, ".", "+/-", "E", "CE",
    // "O/S", and the step keys "up", "down", "UP", "DOWN", "+D", "-D", "+M", "-M".
    void Keys(const QString& keys)
    {
        for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (key == QLatin1String("+/-"))
                logic.PlusMinus();
            else if (key == QLatin1String("E"))
                logic.Enter();
            else if (key == QLatin1String("CE"))
                logic.CancelEntry();
            else if (key == QLatin1String("O/S"))
                logic.SwitchOperate();
            else if (key == QLatin1String("up"))
                logic.Step(StepKey::Up);
            else if (key == QLatin1String("down"))
                logic.Step(StepKey::Down);
            else if (key == QLatin1String("UP"))
                logic.Step(StepKey::FastUp);
            else if (key == QLatin1String("DOWN"))
                logic.Step(StepKey::FastDown);
            else if (key == QLatin1String("+D"))
                logic.Step(StepKey::DeltaUp);
            else if (key == QLatin1String("-D"))
                logic.Step(StepKey::DeltaDown);
            else if (key == QLatin1String("+M"))
                logic.Step(StepKey::MUp);
            else if (key == QLatin1String("-M"))
                logic.Step(StepKey::MDown);
            else
                for (QChar c : key)
                    logic.KeypadKey(c);
        }
    }

    // Selects a source range by its table name or a sensor by its list text.
    void Select(const QString& name)
    {
        if (ThermocoupleNames().contains(name)) {
            if (logic.Family() != SourceFamily::Thermocouple)
                logic.ChooseFamily(SourceFamily::Thermocouple);
            logic.SelectThermocouple(int(ThermocoupleNames().indexOf(name)));
        } else if (RtdNames().contains(name)) {
            if (logic.Family() != SourceFamily::Rtd)
                logic.ChooseFamily(SourceFamily::Rtd);
            logic.SelectRtd(int(RtdNames().indexOf(name)));
        } else {
            if (logic.Family() != SourceFamily::Range)
                logic.ChooseFamily(SourceFamily::Range);
            logic.CheckRange(name);
        }
    }

    // The readout as last repainted: sign and value ("-10.000", " 0.000").
    QString Readout() const
    {
        if (shown.isEmpty())
            return QString();
        return (shown.last().positive ? QStringLiteral(" ") : QStringLiteral("-")) +
               shown.last().valueText;
    }

    PanelSourceState state;
    RecordingCommandSender sender;
    ScriptedPrompt prompt;
    SourceLogic logic{sender, prompt, state};
    QList<ReadoutContent> shown;
};
