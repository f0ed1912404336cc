// SPDX-License-Identifier: MIT
#pragma once

#include "SimFunctions.h"
#include "SimTransmitter.h"

#include <QByteArray>

#include <random>

// A reading as the instrument shows it, in the unit of the measure function.
struct SimReading
{
    enum class Kind
    {
        Value,
        OverRange,
        UnderRange
    };
    Kind kind = Kind::Value;
    double value = 0;
    int decimals = 3;
};

enum class SimForcedRange
{
    None,
    Over,
    Under
};

// The calibrator's state and answers, without any line: the source function and its
// set-point ("C", "N", "S1"/"S0", "T", "R"), the measure function ("M", "Q") and the reading
// that "P" returns. The output is looped back to the measure input: a measure function that
// can see the source reads the set-point converted to its own unit; anything else reads a
// slowly drifting value of its own. Every reading carries a little noise. A transmitter
// (SimTransmitter) connects what cannot be looped back directly.
class SimInstrument
{
public:
    static constexpr char nak = 0x15;

    SimInstrument();

    // Carries out one command (the text between "^" and "%") and returns the reply: the
    // command echoed in a frame, the reading for "P", or the NAK byte for a command the
    // instrument does not know.
    QByteArray Handle(const QByteArray& command, double nowSeconds);

    SimReading Measure(double nowSeconds);
    // The reply to "P": "^", the sign, seven characters of magnitude (zero-padded, as many
    // decimals as fit), "%". Over-range "^+~~~~~~~%", under-range "^-_______%".
    static QByteArray ReadingReply(const SimReading& reading);

    void SetNoise(bool on) { noiseOn = on; }
    void SetSeed(quint32 seed) { random.seed(seed); }
    void SetForcedRange(SimForcedRange range) { forcedRange = range; }
    // The transmitter between the source and the measure input; while it is on, a measure
    // function that the source does not drive directly (a current input while a thermocouple
    // is sourced) reads its output; a direct loop-back stays as it is.
    SimTransmitter& Transmitter() { return transmitter; }

    QByteArray SourceCode() const { return source->code; }
    double SetPoint() const { return setPoint; }
    bool Operate() const { return operate; }
    bool AutoRangeInVolts() const { return autoInVolts; }
    double ReferenceTemperature() const { return referenceTemperature; }
    double SourceLeadResistance() const { return sourceLeadResistance; }
    QByteArray MeasureCode() const { return measure->code; }
    double MeasureLeadResistance() const { return measureLeadResistance; }

private:
    bool SetValue(const QByteArray& text);
    // What the output drives, in base units; quantity None when nothing.
    SimQuantity Output(double* baseValue) const;
    double SeenValue(double baseValue) const;
    double Noise();

    const SimSourceFunction* source;
    double setPoint = 0;
    bool operate = false;
    bool autoInVolts = false;
    double referenceTemperature = 0;
    double sourceLeadResistance = 0;
    const SimMeasureFunction* measure;
    double measureLeadResistance = 0;
    bool noiseOn = true;
    SimForcedRange forcedRange = SimForcedRange::None;
    SimTransmitter transmitter;
    std::mt19937 random;
};

// The number after the command letter: optional sign, digits with at most one point.
// Returns false for anything else; *decimals gets the digits after the point.
bool ParseCommandNumber(const QByteArray& text, double* value, int* decimals = nullptr);
