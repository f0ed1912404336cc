// SPDX-License-Identifier: MIT
#pragma once

#include "FakeSerialDevice.h"
#include "RecordingMessageService.h"
#include "VirtualClock.h"
#include "link/CalibratorLink.h"

// Puts a FakeSerialDevice and a VirtualClock behind the calibrator link for the lifetime of
// the object, with the link state reset (closed, linkOpen and noLinkReported false, empty
// lastReply) and a RecordingMessageService in place of the message boxes; afterwards the real
// port and clock come back and the state is reset again.
class ScopedFakeLink
{
public:
    ScopedFakeLink()
    {
        ResetLinkState();
        previousDevice = SetCalibratorDevice(&device);
        previousClock = SetLinkClock(&clock);
    }
    ~ScopedFakeLink()
    {
        SetCalibratorDevice(previousDevice);
        SetLinkClock(previousClock);
        ResetLinkState();
    }
    ScopedFakeLink(const ScopedFakeLink&) = delete;
    ScopedFakeLink& operator=(const ScopedFakeLink&) = delete;

    RecordingMessageService messages;
    VirtualClock clock;
    FakeSerialDevice device{&clock};

private:
    static void ResetLinkState()
    {
        linkOpen = false;
        noLinkReported = false;
        lastReply.clear();
    }

    SerialDevice* previousDevice = nullptr;
    LinkClock* previousClock = nullptr;
};
