// SPDX-License-Identifier: MIT
#pragma once

// The pauses of the calibrator protocol go through a clock so that tests run on virtual time.
class LinkClock
{
public:
    virtual ~LinkClock() = default;
    virtual void SleepMs(int milliseconds) = 0;
};

// The real clock: blocks the calling thread (the link's worker thread).
LinkClock& SystemLinkClock();
