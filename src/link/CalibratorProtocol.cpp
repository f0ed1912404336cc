// SPDX-License-Identifier: MIT
#include "link/CalibratorProtocol.h"

#include "link/LinkClock.h"
#include "link/SerialDevice.h"

#include <QByteArray>

#include <cstring>

namespace {

bool Accepted(const QByteArray& reply)
{
    return !reply.isEmpty() && reply.contains('%') && !reply.contains(LinkProtocol::nak);
}

} // namespace

QString NoticeText(CalibratorProtocol::Notice notice)
{
    return notice == CalibratorProtocol::Notice::PortNotOpened
               ? QStringLiteral("Nie można otworzyć portu szeregowego.")
               : QStringLiteral("Brak komunikacji z portem COM.");
}

QString NoLinkMessage()
{
    return NoticeText(CalibratorProtocol::Notice::NoLink);
}

CalibratorProtocol::CalibratorProtocol(SerialDevice& device, LinkClock& clock)
    : device(device), clock(clock)
{}

void CalibratorProtocol::Tell(Notice notice) const
{
    if (notify)
        notify(notice);
}

// Writes the framed text one byte per write, pausing after every byte (the last one too).
// Until the frame is complete the calibrator cannot have answered it: whatever waits in the
// input just before the closing byte is a reply that came too late for an earlier read, and
// is dropped, so that it is never taken for this frame's reply. Dropping it there rather than
// before the first byte also catches late bytes that come in while the frame is paced out.
void CalibratorProtocol::WriteFramed(const QByteArray& frame)
{
    for (qsizetype i = 0; i < frame.size(); ++i) {
        if (i == frame.size() - 1)
            device.DiscardInput();
        device.Write(frame.constData() + i, 1);
        clock.SleepMs(LinkProtocol::byteDelayMs);
    }
}

// One read of up to 50 bytes into lastReply; a zero byte ends the text. Returns the raw bytes
// for the acceptance test.
QByteArray CalibratorProtocol::ReadReply()
{
    char buffer[LinkProtocol::replyBufferSize];
    const qint64 n = device.Read(buffer, sizeof buffer);
    const QByteArray raw(buffer, int(qMax<qint64>(n, 0)));
    lastReply = QString::fromLatin1(raw.constData(), int(strnlen(raw.constData(), raw.size())));
    return raw;
}

// A transaction is only ever cut between frames: a frame broken off would reach the
// calibrator as a command it never got whole. A reply left unread then waits in the input
// and is dropped before the next frame completes.
void CalibratorProtocol::CheckInterrupted() const
{
    if (interrupted && interrupted())
        throw Interrupted{};
}

bool CalibratorProtocol::RecoveryAttempt(const QByteArray& frame)
{
    CheckInterrupted();
    WriteFramed(QByteArrayLiteral("^I%"));
    if (!Accepted(ReadReply()))
        return false;
    CheckInterrupted();
    WriteFramed(frame);
    return Accepted(ReadReply());
}

// The link is given up: NoLink once per failure episode, and later commands are dropped until
// the port is opened again. No reply survives it: the last one read was refused (noise, a
// NAK, a broken-off reply) and must not be taken for a reading. The flag drops before the
// technician is told, so that whatever runs while the message is up finds the link dead.
void CalibratorProtocol::DropLink()
{
    lastReply.clear();
    linkOpen = false;
    if (!noLinkReported) {
        noLinkReported = true;
        Tell(Notice::NoLink);
    }
}

bool CalibratorProtocol::OpenCalibratorPort(int port)
{
    if (device.IsOpen())
        return true;
    try {
        device.Open(port, 9600, ParityNone, 8, StopBitsOne, FlowNone, false);
        device.DisableWriteTimeout();
        SerialTimeouts t = device.GetTimeouts();
        t.readTotalTimeoutConstant = LinkProtocol::readTimeoutMs;
        device.SetTimeouts(t);
    } catch (const CSerialException&) {
        // A port that opened but could not be configured is closed again, so that the next
        // open really tries again instead of answering "open" on an unusable link.
        device.Close();
        linkOpen = false;
        Tell(Notice::PortNotOpened);
        return false;
    }
    linkOpen = true;
    // A port opened anew starts a new episode: a window opened after an earlier failure must
    // tell the technician again when the calibrator still does not answer, rather than drop
    // its commands without a word.
    noLinkReported = false;
    return true;
}

bool CalibratorProtocol::CloseCalibratorPort()
{
    if (device.IsOpen())
        device.Close();
    return true;
}

void CalibratorProtocol::SendCommand(const QString& command)
{
    if (!linkOpen)
        return;
    // A port the program closed itself (its window ended) is no failure of the device: the
    // command goes nowhere, without a word.
    if (!device.IsOpen())
        return;
    const QByteArray frame = '^' + command.toLatin1() + '%';
    try {
        WriteFramed(frame);
        if (Accepted(ReadReply()))
            return;
        for (int attempt = 0; attempt < LinkProtocol::recoveryAttempts; ++attempt) {
            if (RecoveryAttempt(frame)) {
                noLinkReported = false;
                return;
            }
        }
    } catch (const Interrupted&) {
        return;
    } catch (const CSerialException&) {
        // The device failed under the open port (a read or write error, as when a USB
        // adapter is pulled). The port is closed so that the next open really opens the
        // device again; the technician is told as for a link that stopped answering.
        device.Close();
        DropLink();
        return;
    }
    DropLink();
}
