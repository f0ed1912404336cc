// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <random>

// A transmitter wired between the calibrator's source and its measure input where the two do
// not loop back directly (a thermocouple, a resistance thermometer or a voltage in, a current
// out; a current in, a voltage out): its output, read by the measure function, follows a transfer
// function of the source set-point, with a zero and a span error to be trimmed, noise and a
// first-order lag. Set by "--transmitter" and the "transmitter ..." control lines:
//
//     transmitter in=0:500 out=4:20 function=linear zero=0.5 span=-0.2 noise=0.002 lag=1.5
//     transmitter zero=0 span=0        (trimmed; the other settings stay)
//     transmitter in=4:20 out=0:10 switch=12.5:11.5
//     transmitter switch=off           (the transfer function again)
//     transmitter off
//
// in and out are the lower:upper range values (input in the source function's unit, output in
// the measure function's); function is linear or sqrt; zero moves the output by % of the
// output span, span adds % of the output span in proportion to the input fraction; noise is
// the standard deviation of the output in its unit; lag the time constant in seconds.
//
// switch=TRIP:RESET makes it an alarm unit instead, whose contact output reads the upper
// output value while tripped and the lower one otherwise: with TRIP above RESET it trips once
// the input has risen to TRIP and resets once it has fallen to RESET (a deadband between the
// two); with TRIP below RESET it trips falling and resets rising.
class SimTransmitter
{
public:
    struct Settings
    {
        double inLow = 0, inHigh = 100;
        double outLow = 4, outHigh = 20;
        bool squareRoot = false;
        double zeroError = 0; // % of the output span
        double spanError = 0; // % of the output span at 100 % of the input
        double noise = 0;     // standard deviation, output unit
        double lagSeconds = 0;
        bool switching = false;
        double tripAt = 0, resetAt = 0; // input values
    };

    // Applies the words after "transmitter" (separated by blanks or commas). Returns an empty
    // text when they were understood, else what is wrong; nothing changes then.
    QString Apply(const QString& words);

    bool On() const { return on; }
    const Settings& Current() const { return settings; }

    // The output for the input value at `nowSeconds`; the lag follows the input since the
    // output was last asked for.
    double Output(double input, double nowSeconds, std::mt19937& random);
    // The output without lag or noise.
    double Steady(double input) const;

private:
    bool on = false;
    Settings settings;
    bool tripped = false;  // the alarm unit's contact
    bool tracking = false; // the lag has a state to go on from
    double lagged = 0;
    double lastSeconds = 0;
};
