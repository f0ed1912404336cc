// SPDX-License-Identifier: MIT
#pragma once

#include "core/lab/LabPolicy.h"

#include <QString>

#include <optional>

// The fields of the lab's policy dialog as typed. Dates are "dd.mm.rrrr" or empty (not given).
struct LabPolicyForm
{
    DecisionRule rule = DecisionRule::SimpleAcceptance;
    QString turThreshold;
    bool appendixAlways = false;
    QString serialNumber;
    QString certificateNumber;
    QString calibratedOn;
    QString dueOn;

    // The fields showing `policy`.
    static LabPolicyForm Of(const LabPolicy& policy);
};

// The policy the fields give, or why they give none: one sentence to show and the field to
// put right.
struct LabPolicyReading
{
    enum class Field
    {
        None,
        TurThreshold,
        CalibratedOn,
        DueOn,
    };
    std::optional<LabPolicy> policy;
    QString refusal;
    Field field = Field::None;
};

// The threshold a number over 0 and at most 100 (comma or point); a date as dd.mm.rrrr (also
// d.m.rrrr) or empty; the due date not before the calibration date.
LabPolicyReading ReadLabPolicyForm(const LabPolicyForm& form);
