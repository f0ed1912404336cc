// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"

class MessageService;
class QWidget;
struct MeterCheckSession;

// The measurement dialogs on the screen, each run modally over the meter check window, showing
// the session's document and handing back what the operator did.
class MeasurementDialogs : public MeasurementDialogRunner
{
public:
    MeasurementDialogs(const MeterCheckSession& session, QWidget* parent, CommandSender& sender,
                       MessageService& messages);

    bool ChooseProcedure(RangeScope& rangeScope, PointScope& pointScope) override;
    MeasurementResult RunExactSetting(int range, int point, const QString& setpointText) override;
    MeasurementResult RunExactReading(int range, int point, const QString& setpointText) override;

private:
    const MeterCheckSession& session;
    QWidget* parent;
    CommandSender& sender;
    MessageService& messages;
};
