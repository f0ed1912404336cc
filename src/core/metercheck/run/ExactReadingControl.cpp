// SPDX-License-Identifier: MIT
#include "core/metercheck/run/ExactReadingControl.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/CommandSender.h"
#include "core/link/NumberText.h"
#include "core/metercheck/run/FieldText.h"

#include <Qt>

#include <cmath>

namespace {

// x of the digit buttons, positions 1 to 5, for 1 to 4 decimals.
constexpr int digitButtonXs[4][ExactReadingControl::digitCount] = {
    {144, 105, 86, 67, 48},
    {144, 125, 86, 67, 48},
    {144, 125, 105, 67, 48},
    {144, 125, 105, 87, 48},
};

} // namespace

ExactReadingControl::ExactReadingControl(int functionIndex, const QString& startText,
                                         CommandSender& sender)
    : sender(sender)
{
    if (CalFunctions::IsValid(functionIndex)) {
        lowLimit = CalFunctionTable[functionIndex].lowLimit;
        highLimit = CalFunctionTable[functionIndex].highLimit;
        decimals = DecimalsForFunction(functionIndex);
    }
    outputValue = ParseNumber(startText);
    signFlag = outputValue >= 0;
    stepValue = std::pow(10.0, -decimals);
}

int ExactReadingControl::DigitButtonX(int decimals, int position)
{
    const int row = qBound(1, decimals, 4) - 1;
    return digitButtonXs[row][qBound(1, position, digitCount) - 1];
}

QString ExactReadingControl::MagnitudeText() const
{
    return FormatFixed(std::fabs(outputValue), decimals);
}

QString ExactReadingControl::SignText() const
{
    return outputValue < 0 && FormatFixed(outputValue, decimals).startsWith(QLatin1Char('-'))
               ? QStringLiteral("-")
               : QString();
}

QString ExactReadingControl::OutputCommand() const
{
    return QStringLiteral("N") + FormatFixed(outputValue, decimals);
}

void ExactReadingControl::SelectDigit(int position)
{
    digitPosition = qBound(1, position, digitCount);
    stepValue = std::pow(10.0, -decimals) * std::pow(10.0, digitPosition - 1);
}

bool ExactReadingControl::StepUp()
{
    const bool taken = Step(stepValue);
    SendOutput();
    return taken;
}

bool ExactReadingControl::StepDown()
{
    const bool taken = Step(-stepValue);
    SendOutput();
    return taken;
}

bool ExactReadingControl::KeyDown(int qtKey)
{
    if (qtKey == Qt::Key_Up)
        Step(stepValue);
    else if (qtKey == Qt::Key_Down)
        Step(-stepValue);
    SendOutput();
    return qtKey == Qt::Key_Plus || qtKey == Qt::Key_Minus || qtKey == Qt::Key_Equal;
}

bool ExactReadingControl::ToggleSign()
{
    const double signedValue = signFlag ? -std::fabs(outputValue) : std::fabs(outputValue);
    if (signedValue < lowLimit || signedValue > highLimit)
        return false;
    outputValue = signedValue;
    signFlag = !signFlag;
    SendOutput();
    return true;
}

void ExactReadingControl::SendOutput()
{
    sender.Send(OutputCommand());
}

QString ExactReadingControl::SettingText() const
{
    return FitFixed(outputValue, decimals);
}

bool ExactReadingControl::Step(double delta)
{
    // Rounded to the display's resolution, so that sums of steps land on the limits exactly.
    const double proposed = Rounded(outputValue + delta);
    if (proposed > highLimit || proposed < lowLimit)
        return false;
    outputValue = proposed;
    return true;
}

double ExactReadingControl::Rounded(double value) const
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}
