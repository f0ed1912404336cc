// SPDX-License-Identifier: MIT
#include "link/CalibratorLink.h"

#include "base/MessageService.h"
#include "link/CommandSender.h"
#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <QThread>

#include <cstring>

int portNumber = 0;
bool linkOpen = false;
bool noLinkReported = false;
QString lastReply;

namespace {

CSerialPort calibratorPort;
SerialDevice* device = &calibratorPort;

class ThreadSleepClock : public LinkClock
{
public:
    void SleepMs(int milliseconds) override { QThread::msleep(milliseconds); }
};
ThreadSleepClock threadSleepClock;
LinkClock* linkClock = &threadSleepClock;

// Writes the framed text one byte per write, pausing after every byte (the last one too).
// Until the frame is complete the calibrator cannot have answered it: whatever waits in the
// input just before the closing byte is a reply that came too late for an earlier read, and
// is dropped, so that it is never taken for this frame's reply. Dropping it there rather than
// before the first byte also catches late bytes that come in while the frame is paced out.
void WriteFramed(const QByteArray& frame)
{
    for (qsizetype i = 0; i < frame.size(); ++i) {
        if (i == frame.size() - 1)
            device->DiscardInput();
        device->Write(frame.constData() + i, 1);
        linkClock->SleepMs(LinkProtocol::byteDelayMs);
    }
}

// One read of up to 50 bytes into lastReply; a zero byte ends the text. Returns the raw bytes
// for the acceptance test.
QByteArray ReadReply()
{
    char buffer[LinkProtocol::replyBufferSize];
    const qint64 n = device->Read(buffer, sizeof buffer);
    const QByteArray raw(buffer, int(qMax<qint64>(n, 0)));
    lastReply = QString::fromLatin1(raw.constData(), int(strnlen(raw.constData(), raw.size())));
    return raw;
}

bool Accepted(const QByteArray& reply)
{
    return !reply.isEmpty() && reply.contains('%') && !reply.contains(LinkProtocol::nak);
}

bool RecoveryAttempt(const QByteArray& frame)
{
    WriteFramed(QByteArrayLiteral("^I%"));
    if (!Accepted(ReadReply()))
        return false;
    WriteFramed(frame);
    return Accepted(ReadReply());
}

// The link is given up: "Brak komunikacji z portem COM." once per failure episode, and later
// commands are dropped until the port is opened again. No reply survives it: the last one
// read was refused (noise, a NAK, a broken-off reply) and must not be taken for a reading.
// The flag drops before the box is shown: the box runs its own event loop, where the panel's
// poll timer must find the link dead instead of starting another failing transaction.
void DropLink()
{
    lastReply.clear();
    linkOpen = false;
    if (!noLinkReported) {
        noLinkReported = true;
        ShowError(NoLinkMessage());
    }
}

class LinkSender : public CommandSender
{
public:
    void Send(const QString& command) override { SendCommand(command); }
    QString LastReply() const override { return lastReply; }
    bool LinkAlive() const override { return linkOpen; }
};
LinkSender linkSender;

} // namespace

bool OpenCalibratorPort(int port)
{
    if (device->IsOpen())
        return true;
    try {
        device->Open(port, 9600, ParityNone, 8, StopBitsOne, FlowNone, false);
        device->DisableWriteTimeout();
        SerialTimeouts t = device->GetTimeouts();
        t.readTotalTimeoutConstant = LinkProtocol::readTimeoutMs;
        device->SetTimeouts(t);
    } catch (const CSerialException&) {
        // A port that opened but could not be configured is closed again, so that the next
        // open really tries again instead of answering "open" on an unusable link.
        device->Close();
        linkOpen = false;
        ShowError(QStringLiteral("Nie można otworzyć portu szeregowego."));
        return false;
    }
    linkOpen = true;
    // A port opened anew starts a new episode: a window opened after an earlier failure must
    // tell the technician again when the calibrator still does not answer, rather than drop
    // its commands without a word.
    noLinkReported = false;
    return true;
}

bool CloseCalibratorPort()
{
    if (device->IsOpen())
        device->Close();
    return true;
}

void SendCommand(const QString& command)
{
    if (!linkOpen)
        return;
    // A port the program closed itself (its window ended) is no failure of the device: the
    // command goes nowhere, without a word.
    if (!device->IsOpen())
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
    } catch (const CSerialException&) {
        // The device failed under the open port (a read or write error, as when a USB
        // adapter is pulled). The port is closed so that the next open really opens the
        // device again; the technician is told as for a link that stopped answering.
        device->Close();
        DropLink();
        return;
    }
    DropLink();
}

QString NoLinkMessage()
{
    return QStringLiteral("Brak komunikacji z portem COM.");
}

SerialDevice* SetCalibratorDevice(SerialDevice* newDevice)
{
    SerialDevice* previous = device;
    device = newDevice ? newDevice : &calibratorPort;
    return previous;
}

LinkClock* SetLinkClock(LinkClock* newClock)
{
    LinkClock* previous = linkClock;
    linkClock = newClock ? newClock : &threadSleepClock;
    return previous;
}

SerialDevice& CalibratorDevice()
{
    return *device;
}

LinkClock& SystemLinkClock()
{
    return threadSleepClock;
}

CommandSender& LinkCommandSender()
{
    return linkSender;
}
