// SPDX-License-Identifier: MIT
#pragma once

// The timer that ends the averaging windows of the measure statistics. The measure half
// uses a window timer; tests use a fake and end the windows themselves.
class AveragingTimer
{
public:
    virtual ~AveragingTimer() = default;
    // Starts (or starts over) with the given period.
    virtual void Start(int periodMs) = 0;
    virtual void Stop() = 0;
};
