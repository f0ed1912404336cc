// SPDX-License-Identifier: MIT
#pragma once

#include "RecordingMessageService.h"
#include "core/link/CSerialPort.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/LinkClock.h"

// The protocol on a real serial port at real speed, driven on the test's thread; its notices
// are shown as the link shows them, into `messages`.
struct PortProtocol
{
    PortProtocol()
    {
        protocol.notify = [this](CalibratorProtocol::Notice notice) {
            messages.ShowError(NoticeText(notice));
        };
    }
    RecordingMessageService messages;
    CSerialPort port;
    CalibratorProtocol protocol{port, SystemLinkClock()};
};
