// SPDX-License-Identifier: MIT
#include "core/lab/LabPolicy.h"

#include <QSettings>

namespace {

QSettings Settings()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"));
}

} // namespace

LabPolicy LabPolicy::FromSettings()
{
    const QSettings s = Settings();
    LabPolicy policy;
    policy.rule = DecisionRuleFromNumber(s.value("Lab/DecisionRule", 0).toInt());
    bool ok = false;
    const double threshold = s.value("Lab/TurThreshold", 4.0).toDouble(&ok);
    if (ok && threshold > 0.0)
        policy.turThreshold = threshold;
    policy.appendixAlways = s.value("Lab/AppendixAlways", false).toBool();
    policy.calibrator.serialNumber = s.value("Lab/CalibratorSerial").toString();
    policy.calibrator.certificateNumber = s.value("Lab/CalibratorCertificate").toString();
    policy.calibrator.calibratedOn =
        QDate::fromString(s.value("Lab/CalibratorCalibratedOn").toString(), Qt::ISODate);
    policy.calibrator.dueOn =
        QDate::fromString(s.value("Lab/CalibratorDueOn").toString(), Qt::ISODate);
    return policy;
}

void LabPolicy::SaveToSettings() const
{
    QSettings s = Settings();
    s.setValue("Lab/DecisionRule", int(rule));
    s.setValue("Lab/TurThreshold", turThreshold);
    s.setValue("Lab/AppendixAlways", appendixAlways);
    s.setValue("Lab/CalibratorSerial", calibrator.serialNumber);
    s.setValue("Lab/CalibratorCertificate", calibrator.certificateNumber);
    s.setValue("Lab/CalibratorCalibratedOn", calibrator.calibratedOn.toString(Qt::ISODate));
    s.setValue("Lab/CalibratorDueOn", calibrator.dueOn.toString(Qt::ISODate));
    s.sync();
}
