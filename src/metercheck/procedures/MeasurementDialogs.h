// SPDX-License-Identifier: MIT
#pragma once

#include "link/CommandSender.h"
#include "metercheck/procedures/MeasurementDialogRunner.h"

class QWidget;

// The measurement dialogs on the screen, each run modally over the meter check window.
class MeasurementDialogs : public MeasurementDialogRunner
{
public:
    MeasurementDialogs(QWidget* parent, CommandSender& sender);

    bool ChooseProcedure(qint16& rangeScope, qint16& pointScope) override;
    MeasurementOutcome RunExactSetting(int range, int point) override;
    MeasurementOutcome RunExactReading(int range, int point) override;

private:
    QWidget* parent;
    CommandSender& sender;
};
