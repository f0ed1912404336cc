// SPDX-License-Identifier: MIT
#pragma once

// Scripted stand-ins for the measurement dialogs and the ranges page, so that whole runs go
// through the procedure logic without a screen. The dialogs apply the same rules as the real
// ones (ExactSettingEntry, ExactReadingControl) and, like them, only hand back what was done.

#include "RecordingCommandSender.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/ExactReadingControl.h"
#include "core/metercheck/run/ExactSettingEntry.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"
#include "core/metercheck/run/PointsGridView.h"

#include <QList>
#include <QStringList>

#include <functional>

// One answer of the operator to a measurement dialog.
struct DialogStep
{
    MeasurementOutcome outcome = MeasurementOutcome::Ok;
    QString typed;                                    // exact setting: the indication typed
    std::function<void(ExactReadingControl&)> adjust; // exact reading: what the operator does

    static DialogStep Ok(const QString& typed = {}) { return {MeasurementOutcome::Ok, typed, {}}; }
    static DialogStep Abort() { return {MeasurementOutcome::Abort, {}, {}}; }
    static DialogStep Adjust(std::function<void(ExactReadingControl&)> f)
    {
        return {MeasurementOutcome::Ok, {}, std::move(f)};
    }
};

// What a dialog saw when it opened.
struct OpenedDialog
{
    int range;
    int point;
    QString setpoint; // setpointText
    QString setting;  // the point's setting and reading at that moment
    QString reading;
};

class ScriptedMeasurementDialogs : public MeasurementDialogRunner
{
public:
    ScriptedMeasurementDialogs(const MeterCheckDoc& doc, RecordingCommandSender& sender)
        : doc(doc), sender(sender)
    {}

    bool ChooseProcedure(RangeScope& rangeChoice, PointScope& pointChoice) override
    {
        ++choices;
        if (!chooseOk)
            return false;
        rangeChoice = chosenRangeScope;
        pointChoice = chosenPointScope;
        return true;
    }

    MeasurementResult RunExactSetting(int range, int point, const QString& setpointText) override
    {
        Open(range, point, setpointText);
        const DialogStep step = Next();
        MeasurementResult taken{step.outcome, {}};
        if (step.outcome == MeasurementOutcome::Ok &&
            ExactSettingEntry::Confirm(step.typed, taken.value) == ExactSettingEntry::Outcome::Refused)
            return {}; // a script never leaves a refused entry
        return taken;
    }

    MeasurementResult RunExactReading(int range, int point, const QString& setpointText) override
    {
        Open(range, point, setpointText);
        const DialogStep step = Next();
        ExactReadingControl control(doc.ranges[range].calFunction, setpointText, sender);
        if (step.adjust)
            step.adjust(control);
        if (step.outcome == MeasurementOutcome::Ok)
            return {step.outcome, control.SettingText()};
        return {step.outcome, {}};
    }

    bool chooseOk = true;
    RangeScope chosenRangeScope = RangeScope::Current;
    PointScope chosenPointScope = PointScope::Marked;
    int choices = 0;
    QList<DialogStep> steps;
    QList<OpenedDialog> opened;

private:
    void Open(int range, int point, const QString& setpointText)
    {
        const MeterPoint& p = doc.ranges[range].points[point];
        opened.append({range, point, setpointText, p.setting, p.reading});
    }
    DialogStep Next() { return steps.isEmpty() ? DialogStep::Abort() : steps.takeFirst(); }

    const MeterCheckDoc& doc;
    RecordingCommandSender& sender;
};

// Records what the run asks of the points grid: "fill 3", "row 2".
class RecordingPointsGrid : public PointsGridView
{
public:
    void FillPointsGrid(int range) override { calls << QStringLiteral("fill %1").arg(range); }
    void SelectPointsRow(int row) override { calls << QStringLiteral("row %1").arg(row); }
    QStringList calls;
};
