// SPDX-License-Identifier: MIT
#include "core/lab/LabPolicyForm.h"

#include "core/metercheck/report/ReportClock.h"

#include <QLocale>

#include <cmath>

namespace {

QString DateText(const QDate& date)
{
    return date.isValid() ? ReportDateText(date) : QString();
}

// Empty text: no date (valid answer, invalid QDate). False when the text is not a date.
bool ReadDate(const QString& typed, QDate& date)
{
    const QString text = typed.trimmed();
    date = QDate();
    if (text.isEmpty())
        return true;
    date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    return date.isValid();
}

LabPolicyReading Refused(LabPolicyReading::Field field, const QString& text)
{
    LabPolicyReading reading;
    reading.field = field;
    reading.refusal = text;
    return reading;
}

} // namespace

LabPolicyForm LabPolicyForm::Of(const LabPolicy& policy)
{
    LabPolicyForm form;
    form.rule = policy.rule;
    form.turThreshold = QString::number(policy.turThreshold);
    form.appendixAlways = policy.appendixAlways;
    form.serialNumber = policy.calibrator.serialNumber;
    form.certificateNumber = policy.calibrator.certificateNumber;
    form.calibratedOn = DateText(policy.calibrator.calibratedOn);
    form.dueOn = DateText(policy.calibrator.dueOn);
    return form;
}

LabPolicyReading ReadLabPolicyForm(const LabPolicyForm& form)
{
    using Field = LabPolicyReading::Field;
    LabPolicy policy;
    policy.rule = form.rule;
    policy.appendixAlways = form.appendixAlways;

    QString threshold = form.turThreshold.trimmed();
    threshold.replace(QLatin1Char(','), QLatin1Char('.'));
    bool number = false;
    policy.turThreshold = QLocale::c().toDouble(threshold, &number);
    if (!number || !std::isfinite(policy.turThreshold) || policy.turThreshold <= 0.0 ||
        policy.turThreshold > 100.0)
        return Refused(Field::TurThreshold,
                       QStringLiteral("Podaj próg TUR: liczbę większą od 0 i nie większą niż "
                                      "100, np. 4."));

    policy.calibrator.serialNumber = form.serialNumber.trimmed();
    policy.calibrator.certificateNumber = form.certificateNumber.trimmed();
    if (!ReadDate(form.calibratedOn, policy.calibrator.calibratedOn))
        return Refused(Field::CalibratedOn,
                       QStringLiteral("Podaj datę wzorcowania kalibratora w postaci dd.mm.rrrr "
                                      "(np. 15.01.2026) albo zostaw pole puste."));
    if (!ReadDate(form.dueOn, policy.calibrator.dueOn))
        return Refused(Field::DueOn,
                       QStringLiteral("Podaj termin następnego wzorcowania w postaci dd.mm.rrrr "
                                      "(np. 15.01.2027) albo zostaw pole puste."));
    if (policy.calibrator.calibratedOn.isValid() && policy.calibrator.dueOn.isValid() &&
        policy.calibrator.dueOn < policy.calibrator.calibratedOn)
        return Refused(Field::DueOn,
                       QStringLiteral("Termin następnego wzorcowania nie może być wcześniejszy "
                                      "niż data wzorcowania."));
    LabPolicyReading reading;
    reading.policy = policy;
    return reading;
}
