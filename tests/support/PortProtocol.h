// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/MessageService.h"
#include "core/link/CSerialPort.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/LinkClock.h"

// The protocol on a real serial port at real speed, driven on the test's thread; its notices
// are shown as the link shows them.
struct PortProtocol
{
    PortProtocol()
    {
        protocol.notify = [](CalibratorProtocol::Notice notice) { ShowError(NoticeText(notice)); };
    }
    CSerialPort port;
    CalibratorProtocol protocol{port, SystemLinkClock()};
};
