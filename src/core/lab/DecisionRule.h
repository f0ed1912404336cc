// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// How a point's statement of conformity is made from its actual error, its permissible error
// and its expanded uncertainty U. The numbers are kept with every record, so the values are
// stored: never renumber them.
enum class DecisionRule
{
    SimpleAcceptance = 0, // pass when |actual| <= permissible (the grid's and report's own rule)
    GuardBand = 1,        // pass when |actual| <= permissible - U, else fail
    NonBinary = 2,        // pass / conditional pass / conditional fail / fail around the limit
};

enum class PointStatement
{
    Pass,
    ConditionalPass, // within the limit, but by less than U
    ConditionalFail, // beyond the limit, but by no more than U
    Fail,
};

// The expanded uncertainty of a point (k = 2), from the numbers every record keeps:
// the calibrator's error taken as a rectangular limit, and half of the last digit of the
// reading as recorded, also rectangular:
//     U = 2 * sqrt( (e_cal / sqrt 3)^2 + ((d / 2) / sqrt 3)^2 )
// where d is one unit of the reading's last decimal ("12.35" -> 0.01, "12." -> 1).
double ExpandedUncertainty(const QString& calibratorErrorText, const QString& readingText);

// One unit of the text's last decimal digit.
double LastDigitStep(const QString& numberText);

// The statement of a point under the rule. On a boundary the point keeps the better
// statement: |actual| == permissible - U passes, == permissible is a conditional pass under
// the non-binary rule, == permissible + U a conditional fail.
PointStatement Statement(DecisionRule rule, double actualError, double permissibleError,
                         double uncertainty);

// Permissible error over the expanded uncertainty; none when U is 0 (nothing to divide by:
// shown as TurText's "∞", never flagged).
std::optional<double> TestUncertaintyRatio(double permissibleError, double uncertainty);
// True when the ratio is known and under the threshold.
bool TurBelow(std::optional<double> tur, double threshold);

// "Prosta akceptacja", "Pasmo ochronne", "Stwierdzenie niebinarne".
QString DecisionRuleText(DecisionRule rule);
// "zgodny", "warunkowo zgodny", "warunkowo niezgodny", "niezgodny".
QString StatementText(PointStatement statement);
// "4.2" (one decimal), "∞" without a ratio.
QString TurText(std::optional<double> tur);
// A stored number back into a rule; the default for anything unknown.
DecisionRule DecisionRuleFromNumber(int number);
