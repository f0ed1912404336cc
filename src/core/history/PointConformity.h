// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckRecord.h"
#include "core/lab/DecisionRule.h"

#include <QString>

#include <optional>

// A recorded point judged under its record's policy: its expanded uncertainty U, its TUR and
// its statement of conformity, from the texts the record keeps (core/lab does the arithmetic).
struct PointConformity
{
    bool measured = false; // an unmeasured point has no statement
    double uncertainty = 0.0;
    std::optional<double> tur;
    PointStatement statement = PointStatement::Pass;
    bool turLow = false; // under the record's threshold

    // U with two significant digits ("0.058"), in the point's unit; empty when not measured.
    QString UncertaintyText() const;
    // "4.2", "∞"; empty when not measured.
    QString TurText() const;
    // "zgodny" ... "niezgodny"; empty when not measured.
    QString StatementText() const;
};

PointConformity JudgePoint(const CheckRecord& record, const CheckPointRecord& point);

// "Reguła decyzyjna: Prosta akceptacja; próg TUR: 4"
QString PolicyLine(const CheckRecord& record);
// "Kalibrator nr 123, świadectwo AB/1, wzorcowany 01.02.2026, ważny do 01.02.2027" (with
// "; użyty po terminie wzorcowania" when the technician went on with it overdue); empty when
// the lab gave nothing.
QString CalibratorLine(const CheckRecord& record);
