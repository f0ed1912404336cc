// SPDX-License-Identifier: MIT
#include "ui/metercheck/run/MeasurementDialogs.h"

#include "ui/metercheck/run/CExactReadingDlg.h"
#include "ui/metercheck/run/CExactSettingDlg.h"
#include "ui/metercheck/run/CProcedureDlg.h"

namespace {

MeasurementOutcome OutcomeOf(int dialogResult)
{
    switch (dialogResult) {
    case QDialog::Accepted:
        return MeasurementOutcome::Ok;
    case QDialog::Rejected:
        return MeasurementOutcome::Abort;
    default:
        return MeasurementOutcome::Other;
    }
}

} // namespace

MeasurementDialogs::MeasurementDialogs(const MeterCheckSession& session, QWidget* parent,
                                       CommandSender& sender, MessageService& messages)
    : session(session), parent(parent), sender(sender), messages(messages)
{}

bool MeasurementDialogs::ChooseProcedure(RangeScope& rangeScope, PointScope& pointScope)
{
    CProcedureDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rangeScope = dialog.RangeScope();
    pointScope = dialog.PointScope();
    return true;
}

MeasurementResult MeasurementDialogs::RunExactSetting(int range, int, const QString& setpointText)
{
    CExactSettingDlg dialog(session, range, setpointText, messages, parent);
    const MeasurementOutcome outcome = OutcomeOf(dialog.exec());
    return {outcome, dialog.Indication()};
}

MeasurementResult MeasurementDialogs::RunExactReading(int range, int point,
                                                      const QString& setpointText)
{
    CExactReadingDlg dialog(session, range, point, setpointText, sender, parent);
    const MeasurementOutcome outcome = OutcomeOf(dialog.exec());
    return {outcome, dialog.Setting()};
}
