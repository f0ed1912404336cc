// SPDX-License-Identifier: MIT
#pragma once

#include "RecordingCommandSender.h"
#include "VirtualRunClock.h"
#include "core/link/NumberText.h"

#include <cmath>
#include <functional>

// A calibrator with a transmitter between its source and its measure input: "P" reads the
// output the test's function gives for the set-point last sent, at the clock's time. Every
// command is recorded with the time it went out.
class TransmitterSender : public RecordingCommandSender
{
public:
    explicit TransmitterSender(VirtualRunClock& clock) : clock(clock) {}

    void Send(const QString& command, Done done = {}) override
    {
        times << clock.now;
        if (command.startsWith(QLatin1Char('N')))
            setpoint = ParseNumber(command.mid(1));
        replies = {command == QLatin1String("P") ? ReadingReply(output(setpoint, clock.now))
                                                 : QLatin1Char('^') + command + QLatin1Char('%')};
        RecordingCommandSender::Send(command, std::move(done));
    }
    // The instrument's reply to "P": sign and seven characters, three decimals.
    static QString ReadingReply(double value)
    {
        if (std::isinf(value))
            return QStringLiteral("^+~~~~~~~%");
        return QStringLiteral("^%1%2%")
            .arg(value < 0 ? '-' : '+')
            .arg(FormatFixed(std::fabs(value), 3).rightJustified(7, QLatin1Char('0')));
    }

    std::function<double(double setpoint, qint64 now)> output = [](double setpoint, qint64) {
        return 4 + setpoint / 500 * 16; // the K transmitter, without error
    };
    QList<qint64> times;
    double setpoint = 0;

private:
    VirtualRunClock& clock;
};
