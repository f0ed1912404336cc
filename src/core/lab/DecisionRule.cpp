// SPDX-License-Identifier: MIT
#include "core/lab/DecisionRule.h"

#include "core/link/NumberText.h"

#include <cmath>

double LastDigitStep(const QString& numberText)
{
    const QString text = numberText.trimmed();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 1.0;
    qsizetype decimals = 0;
    for (qsizetype i = point + 1; i < text.size() && text.at(i).isDigit(); ++i)
        ++decimals;
    return std::pow(10.0, -double(decimals));
}

double ExpandedUncertainty(const QString& calibratorErrorText, const QString& readingText)
{
    const double calibrator = std::fabs(ParseNumber(calibratorErrorText)) / std::sqrt(3.0);
    const double resolution = readingText.trimmed().isEmpty()
                                  ? 0.0
                                  : LastDigitStep(readingText) / 2.0 / std::sqrt(3.0);
    return 2.0 * std::sqrt(calibrator * calibrator + resolution * resolution);
}

PointStatement Statement(DecisionRule rule, double actualError, double permissibleError,
                         double uncertainty)
{
    const double actual = std::fabs(actualError);
    const double limit = std::fabs(permissibleError);
    const double u = std::fabs(uncertainty);
    switch (rule) {
    case DecisionRule::SimpleAcceptance:
        return actual <= limit ? PointStatement::Pass : PointStatement::Fail;
    case DecisionRule::GuardBand:
        return actual <= limit - u ? PointStatement::Pass : PointStatement::Fail;
    case DecisionRule::NonBinary:
        if (actual <= limit - u)
            return PointStatement::Pass;
        if (actual <= limit)
            return PointStatement::ConditionalPass;
        if (actual <= limit + u)
            return PointStatement::ConditionalFail;
        return PointStatement::Fail;
    }
    return PointStatement::Fail;
}

std::optional<double> TestUncertaintyRatio(double permissibleError, double uncertainty)
{
    if (uncertainty == 0.0)
        return std::nullopt;
    return std::fabs(permissibleError) / std::fabs(uncertainty);
}

bool TurBelow(std::optional<double> tur, double threshold)
{
    return tur && *tur < threshold;
}

QString DecisionRuleText(DecisionRule rule)
{
    switch (rule) {
    case DecisionRule::SimpleAcceptance:
        return QStringLiteral("Prosta akceptacja");
    case DecisionRule::GuardBand:
        return QStringLiteral("Pasmo ochronne");
    case DecisionRule::NonBinary:
        return QStringLiteral("Stwierdzenie niebinarne");
    }
    return QString();
}

QString StatementText(PointStatement statement)
{
    switch (statement) {
    case PointStatement::Pass:
        return QStringLiteral("zgodny");
    case PointStatement::ConditionalPass:
        return QStringLiteral("warunkowo zgodny");
    case PointStatement::ConditionalFail:
        return QStringLiteral("warunkowo niezgodny");
    case PointStatement::Fail:
        return QStringLiteral("niezgodny");
    }
    return QString();
}

QString TurText(std::optional<double> tur)
{
    if (!tur)
        return QStringLiteral("∞");
    return FormatFixed(*tur, 1);
}

DecisionRule DecisionRuleFromNumber(int number)
{
    switch (number) {
    case int(DecisionRule::GuardBand):
        return DecisionRule::GuardBand;
    case int(DecisionRule::NonBinary):
        return DecisionRule::NonBinary;
    default:
        return DecisionRule::SimpleAcceptance;
    }
}
