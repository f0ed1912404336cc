// SPDX-License-Identifier: MIT
#pragma once

#include "core/lab/DecisionRule.h"

#include <QDate>
#include <QString>

// The calibrator the lab checks with, as its own certificate names it.
struct CalibratorTraceability
{
    QString serialNumber;
    QString certificateNumber;
    QDate calibratedOn;
    QDate dueOn; // invalid: not given

    bool IsEmpty() const
    {
        return serialNumber.isEmpty() && certificateNumber.isEmpty() && !calibratedOn.isValid() &&
               !dueOn.isValid();
    }
    // True when a due date is given and `today` is after it.
    bool OverdueOn(const QDate& today) const { return dueOn.isValid() && today > dueOn; }

    friend bool operator==(const CalibratorTraceability&, const CalibratorTraceability&) = default;
};

// What the lab chose for its statements of conformity; kept per user in the settings
// (group "Lab") and copied into every record of a check.
struct LabPolicy
{
    DecisionRule rule = DecisionRule::SimpleAcceptance;
    double turThreshold = 4.0;
    bool appendixAlways = false; // the report's appendix page even under simple acceptance
    CalibratorTraceability calibrator;

    // The appendix is printed when the lab asks for it or chose a rule other than the default.
    bool AppendixWanted() const
    {
        return appendixAlways || rule != DecisionRule::SimpleAcceptance;
    }

    friend bool operator==(const LabPolicy&, const LabPolicy&) = default;

    static LabPolicy FromSettings();
    void SaveToSettings() const;
};
