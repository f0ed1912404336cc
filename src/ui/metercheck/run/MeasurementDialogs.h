// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"

class MessageService;
class QWidget;
struct MeterCheckSession;

// The measurement dialogs on the screen, each run modally over the meter check window, on the
// session's document.
class MeasurementDialogs : public MeasurementDialogRunner
{
public:
    MeasurementDialogs(MeterCheckSession& session, QWidget* parent, CommandSender& sender,
                       MessageService& messages);

    bool ChooseProcedure(RangeScope& rangeScope, PointScope& pointScope) override;
    MeasurementOutcome RunExactSetting(int range, int point, const QString& setpointText) override;
    MeasurementOutcome RunExactReading(int range, int point, const QString& setpointText) override;

private:
    MeterCheckSession& session;
    QWidget* parent;
    CommandSender& sender;
    MessageService& messages;
};
