// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The check of one transducer (a transmitter, a converter, an isolator): the calibrator's
// source half drives its input, the measure half reads its output. Values are numbers in the
// unit of the calibrator function that sources or measures them.

struct TransducerInstrument
{
    QString tag;
    QString name;
    QString serialNumber;
    QString maker;
    QString model;
    QString notes;
};

// The input as the calibrator sources it: a row of CalFunctionTable (0-19), its reference
// junction for a thermocouple (To in °C with ColdJunction::To), its lead resistance for a
// resistance thermometer (empty: none sent), and the lower and upper range values.
struct TransducerInput
{
    int calFunction = 13;
    ColdJunction coldJunction = ColdJunction::Tin;
    double referenceTemperature = 0;
    QString leadResistance;
    double lower = 0;
    double upper = 500;
};

// The output as the measure half reads it: a voltage or current row of MeasureRangeTable
// (its name, such as "22mA") and the output's values at 0 % and 100 % of the input; a lower
// value above the upper one is a reversed output.
struct TransducerOutput
{
    QString measureRange = QStringLiteral("22mA");
    double lower = 4;
    double upper = 20;
};

enum class TransferFunction
{
    Linear,
    SquareRoot
};

// The permissible error: % of the output span, plus % of the expected output (0: none).
struct TransducerTolerance
{
    double percentOfSpan = 0.25;
    double percentOfReading = 0;
};

enum class PointVerdict
{
    Pass,
    Fail,
    OutOfRange // the measure half showed an over- or under-range mark
};

// One point as a run measured it.
struct TransducerPointResult
{
    double percent = 0;      // of the input span
    QString inputText;       // the set-point sent with "N", in the function's unit and decimals
    double expected = 0;     // output, in the measure range's unit
    double measured = 0;     // average of the readings taken
    double errorPercent = 0; // of the output span; positive: output above the expected
    double limitPercent = 0; // the permissible error at this point, % of span
    PointVerdict verdict = PointVerdict::Pass;
};

enum class RunKind
{
    AsFound,
    AsLeft
};

// How a run ended.
enum class RunEnd
{
    Completed,
    Stopped, // by the operator
    LinkLost // the link was given up
};

enum class RunVerdict
{
    Pass,
    Fail,
    Incomplete // no point failed, but not every point was measured
};

struct TransducerRunResult
{
    QDateTime started;
    RunEnd end = RunEnd::Completed;
    QList<TransducerPointResult> points;

    bool IsEmpty() const { return points.isEmpty(); }
};

struct TransducerDoc
{
    TransducerInstrument instrument;
    TransducerInput input;
    TransducerOutput output;
    TransferFunction transfer = TransferFunction::Linear;
    double lowFlowCutoffPercent = 0; // square root: below it (% of input) the output is at 0 %
    TransducerTolerance tolerance;
    QList<double> points{0, 25, 50, 75, 100}; // % of the input span, in run order
    double settlingSeconds = 5;
    int readingsAveraged = 3;

    TransducerRunResult asFound;
    TransducerRunResult asLeft;

    TransducerRunResult& Run(RunKind kind) { return kind == RunKind::AsFound ? asFound : asLeft; }
    const TransducerRunResult& Run(RunKind kind) const
    {
        return kind == RunKind::AsFound ? asFound : asLeft;
    }
};

namespace TransducerLimits {
// Longer settling is a mistyped value (minutes for seconds), not a slow transmitter.
constexpr double maxSettlingSeconds = 600;
constexpr int maxReadingsAveraged = 50;
constexpr int maxPoints = 50;
} // namespace TransducerLimits
