// SPDX-License-Identifier: MIT
#pragma once

#include "FakeSerialDevice.h"
#include "RecordingMessageService.h"
#include "VirtualClock.h"
#include "core/base/MessageService.h"
#include "core/link/CalibratorLink.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/LinkSession.h"

// A scripted line for the calibrator link: a FakeSerialDevice on a VirtualClock, and a
// RecordingMessageService in place of the message boxes of what runs on it.
struct FakeLine
{
    RecordingMessageService messages;
    VirtualClock clock;
    FakeSerialDevice device{&clock};
};

// The protocol on the fake line, driven on the test's thread; its notices are shown as the
// link shows them.
struct FakeProtocol : FakeLine
{
    FakeProtocol()
    {
        protocol.notify = [this](CalibratorProtocol::Notice notice) {
            messages.ShowError(NoticeText(notice));
        };
    }
    CalibratorProtocol protocol{device, clock};
};

// A calibrator link of the test's own on the fake line. Its worker thread uses the device:
// read the device's records once what was posted has been carried out (Settle, a session's
// WaitUntilSent, or ApplyPortChoice and the like, which wait themselves).
struct FakeLink : FakeLine
{
    // Waits until everything posted to the link so far has been carried out.
    void Settle()
    {
        LinkSession session(link);
        session.Sync();
        session.WaitUntilSent();
    }
    CalibratorLink link{messages, &device, &clock};
};
