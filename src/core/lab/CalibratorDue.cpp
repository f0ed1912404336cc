// SPDX-License-Identifier: MIT
#include "core/lab/CalibratorDue.h"

#include "core/base/MessageService.h"
#include "core/metercheck/report/ReportClock.h"

QString CalibratorOverdueQuestion(const CalibratorTraceability& calibrator)
{
    QString text = QStringLiteral("Termin wzorcowania kalibratora upłynął %1")
                       .arg(ReportDateText(calibrator.dueOn));
    if (!calibrator.certificateNumber.isEmpty())
        text += QStringLiteral(" (świadectwo wzorcowania nr %1)").arg(calibrator.certificateNumber);
    return text + QStringLiteral(".\nCzy mimo to rozpocząć pomiary?");
}

CalibratorGoAhead AskAboutOverdueCalibrator(const CalibratorTraceability& calibrator,
                                            const QDate& today, MessageService& messages,
                                            QObject* owner)
{
    if (!calibrator.OverdueOn(today))
        return CalibratorGoAhead::InDate;
    const MessageAnswer answer = messages.AskQuestion(CalibratorOverdueQuestion(calibrator),
                                                      QString::fromUtf8(calibratorOverdueCaption),
                                                      MessageButtons::YesNo, owner);
    return answer == MessageAnswer::Yes ? CalibratorGoAhead::OverdueGoOn : CalibratorGoAhead::Stop;
}
