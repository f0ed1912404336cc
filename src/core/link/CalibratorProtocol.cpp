// SPDX-License-Identifier: MIT
#include "core/link/CalibratorProtocol.h"

#include "core/link/LinkClock.h"
#include "core/link/LinkTrace.h"
#include "core/link/SerialDevice.h"

#include <QByteArray>
#include <QMetaEnum>

#include <cstring>

namespace {

bool Accepted(const QByteArray& reply)
{
    return !reply.isEmpty() && reply.contains('%') && !reply.contains(LinkProtocol::nak);
}

// The trace's word on a reply.
QString Verdict(const QByteArray& reply)
{
    if (reply.isEmpty())
        return QStringLiteral("received nothing: refused");
    const QString received = QStringLiteral("received ") + PrintableBytes(reply);
    if (reply.contains(LinkProtocol::nak))
        return received + QStringLiteral(": refused, NAK");
    if (!reply.contains('%'))
        return received + QStringLiteral(": refused, no %");
    return received + QStringLiteral(": accepted");
}

QString PortErrorName(QSerialPort::SerialPortError error)
{
    return QString::fromLatin1(
        QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(int(error)));
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

// Writes the frame and reads its reply. The command's own frame goes out only on a clear
// line: replies owed by earlier frames are awaited first. The recovery frame "^I%" goes out at
// once; its reply is judged by its bytes alone, as it only decides whether the command is sent
// again.
CalibratorProtocol::Outcome CalibratorProtocol::Exchange(const QByteArray& frame, FrameRole role)
{
    if (role == FrameRole::Command && (ledger.Owed() > 0 || ledger.MidReply())) {
        if (const std::optional<Outcome> ended = AwaitOwedReplies())
            return *ended;
    }
    const SerialResult<bool> written = WriteFramed(frame);
    if (written.failure)
        return PortFailed(*written.failure);
    return ReadReply(role, written.value);
}

// Writes the framed text one byte per write, pausing after every byte (the last one too).
// Until the frame is complete the calibrator cannot have answered it: whatever waits in the
// input just before the closing byte is a reply that came too late for an earlier read, and
// is dropped. Dropping it there rather than before the first byte also catches late bytes
// that come in while the frame is paced out. Whether the line was clear as the frame went
// out comes back: nothing owed, nothing dropped.
SerialResult<bool> CalibratorProtocol::WriteFramed(const QByteArray& frame)
{
    bool clear = ledger.Owed() == 0 && !ledger.MidReply();
    lastAttempt.append({frame, {}});
    for (qsizetype i = 0; i < frame.size(); ++i) {
        if (i == frame.size() - 1) {
            const SerialResult<QByteArray> dropped = device.DiscardInput();
            if (dropped.failure)
                return *dropped.failure;
            if (!dropped.value.isEmpty()) {
                clear = false;
                ledger.Take(dropped.value);
                if (LinkTracing())
                    TraceLink(QStringLiteral("discarded before the frame's last byte: %1")
                                  .arg(PrintableBytes(dropped.value)));
            }
        }
        if (const SerialResult<qint64> written = device.Write(frame.mid(i, 1)); written.failure)
            return *written.failure;
        clock.SleepMs(LinkProtocol::byteDelayMs);
    }
    ledger.FrameSent();
    if (LinkTracing())
        TraceLink(QStringLiteral("sent ") + PrintableBytes(frame));
    return clear;
}

// One read of up to 50 bytes into lastReply; a zero byte ends the text. The acceptance test
// looks at the raw bytes. A command's reply is its own only when its frame went out on a clear
// line and the read ends exactly one reply (bytes behind its end count as part of it); the
// recovery frame's reply is judged by its bytes alone.
CalibratorProtocol::Outcome CalibratorProtocol::ReadReply(FrameRole role, bool lineWasClear)
{
    const SerialResult<QByteArray> read = device.Read(LinkProtocol::replyBufferSize);
    if (read.failure)
        return PortFailed(*read.failure);
    const QByteArray& raw = read.value;
    lastReply = QString::fromLatin1(raw.constData(), int(strnlen(raw.constData(), raw.size())));
    if (!lastAttempt.isEmpty())
        lastAttempt.last().received = raw;
    const ReplyLedger::Taken taken = ledger.Take(raw);
    QString notOwn;
    if (role == FrameRole::Command) {
        if (!lineWasClear)
            notOwn = QStringLiteral("the line was not clear before its frame");
        else if (taken.surplus || taken.replies > 1)
            notOwn = QStringLiteral("more replies than frames");
        else if (taken.replies == 0)
            notOwn = QStringLiteral("the reply did not end");
    }
    const bool accepted = Accepted(raw) && notOwn.isEmpty();
    if (accepted && role == FrameRole::Command)
        ledger.Forgive(); // the bytes behind the reply's end were part of it
    if (LinkTracing())
        TraceLink(
            Accepted(raw) && !notOwn.isEmpty()
                ? QStringLiteral("received %1: not taken, %2").arg(PrintableBytes(raw), notOwn)
                : Verdict(raw));
    return accepted ? Outcome::Accepted : Outcome::Refused;
}

// The replies owed by earlier frames are read and dropped as they come. Four reads in a row
// with nothing (1.6 s after the last frame's own read) mean the calibrator dropped those
// frames: a reply later than that is beyond what it does when it answers at all.
std::optional<CalibratorProtocol::Outcome> CalibratorProtocol::AwaitOwedReplies()
{
    if (LinkTracing())
        TraceLink(QStringLiteral("waiting for %1 owed by earlier frames")
                      .arg(ledger.Owed() == 1 ? QStringLiteral("1 reply")
                                              : QStringLiteral("%1 replies").arg(ledger.Owed())));
    int quietReads = 0;
    for (int reads = 0; reads < LinkProtocol::owedReadsLimit; ++reads) {
        if (InterruptedHere())
            return Outcome::Interrupted;
        const SerialResult<QByteArray> read = device.Read(LinkProtocol::replyBufferSize);
        if (read.failure)
            return PortFailed(*read.failure);
        if (!read.value.isEmpty()) {
            quietReads = 0;
            ledger.Take(read.value);
            if (LinkTracing())
                TraceLink(QStringLiteral("received %1: owed by an earlier frame")
                              .arg(PrintableBytes(read.value)));
        } else if (++quietReads == LinkProtocol::quietReadsToForgive) {
            if (LinkTracing())
                TraceLink(QStringLiteral("line quiet: the owed replies are not coming"));
            ledger.Forgive();
        }
        if (ledger.Owed() == 0 && !ledger.MidReply())
            return std::nullopt;
    }
    return std::nullopt;
}

// A transaction is only ever cut between frames: a frame broken off would reach the
// calibrator as a command it never got whole. A reply left unread then waits in the input
// and is dropped before the next frame completes.
bool CalibratorProtocol::InterruptedHere() const
{
    return interrupted && interrupted();
}

CalibratorProtocol::Outcome CalibratorProtocol::RecoveryAttempt(const QByteArray& frame,
                                                                int attempt)
{
    if (InterruptedHere())
        return Outcome::Interrupted;
    lastAttempt.clear();
    if (LinkTracing())
        TraceLink(QStringLiteral("recovery attempt %1 of %2")
                      .arg(attempt)
                      .arg(LinkProtocol::recoveryAttempts));
    const Outcome recovery = Exchange(QByteArrayLiteral("^I%"), FrameRole::Recovery);
    if (recovery != Outcome::Accepted)
        return recovery;
    if (InterruptedHere())
        return Outcome::Interrupted;
    return Exchange(frame, FrameRole::Command);
}

// The device failed under the open port (a read or write error, as when a USB adapter is
// pulled). The port is closed so that the next open really opens the device again; the
// technician is told as for a link that stopped answering.
CalibratorProtocol::Outcome CalibratorProtocol::PortFailed(const CSerialException& failure)
{
    QString text = failure.ErrorMessage();
    if (text.isEmpty())
        text = QStringLiteral("błąd %1").arg(failure.errorCode);
    if (LinkTracing())
        TraceLink(QStringLiteral("port error: %1; port closed, link given up").arg(text));
    device.Close();
    DropLink(text);
    return Outcome::PortFailed;
}

// The link is given up: NoLink once per failure episode, and later commands are dropped until
// the port is opened again. No reply survives it: the last one read was refused (noise, a
// NAK, a broken-off reply) and must not be taken for a reading. The flag drops before the
// technician is told, so that whatever runs while the message is up finds the link dead.
void CalibratorProtocol::DropLink(const QString& portError)
{
    lastReply.clear();
    linkOpen = false;
    if (!noLinkReported) {
        noLinkReported = true;
        noticeDetail = NoLinkReason(devicePath, portNumber, lastAttempt, portError);
        Tell(Notice::NoLink);
    }
}

bool CalibratorProtocol::OpenCalibratorPort(int port, const QString& path)
{
    if (device.IsOpen()) {
        if (LinkTracing())
            TraceLink(QStringLiteral("COM%1 open already").arg(port));
        return true;
    }
    portNumber = port;
    devicePath = path;
    std::optional<CSerialException> failure = device.Open(path, LinkProtocol::lineSettings);
    // Whatever waits in the input was sent before the port was opened: no reply to come.
    if (!failure)
        failure = device.DiscardInput().failure;
    if (failure) {
        // A port that opened but could not be configured is closed again, so that the next
        // open really tries again instead of answering "open" on an unusable link.
        device.Close();
        linkOpen = false;
        const int systemError =
            failure->systemError != 0 ? failure->systemError : int(failure->errorCode);
        if (LinkTracing())
            TraceLink(QStringLiteral("COM%1 (%2) not opened: %3, errno %4 (%5)")
                          .arg(port)
                          .arg(devicePath, PortErrorName(failure->portError))
                          .arg(systemError)
                          .arg(QString::fromLocal8Bit(std::strerror(systemError))));
        noticeDetail = OpenFailureReason(devicePath, port, failure->portError, systemError);
        Tell(Notice::PortNotOpened);
        return false;
    }
    linkOpen = true;
    // Replies owed before the port was closed are not awaited on the port opened anew.
    ledger.Forgive();
    // A port opened anew starts a new episode: a window opened after an earlier failure must
    // tell the technician again when the calibrator still does not answer, rather than drop
    // its commands without a word.
    noLinkReported = false;
    if (LinkTracing())
        TraceLink(QStringLiteral("COM%1 (%2) opened").arg(port).arg(devicePath));
    return true;
}

bool CalibratorProtocol::CloseCalibratorPort()
{
    if (device.IsOpen()) {
        device.Close();
        if (LinkTracing())
            TraceLink(QStringLiteral("COM%1 closed").arg(portNumber));
    }
    return true;
}

void CalibratorProtocol::SendCommand(const QString& command)
{
    if (!linkOpen || !device.IsOpen()) {
        // A port the program closed itself (its window ended) is no failure of the device:
        // the command goes nowhere, without a word.
        if (LinkTracing())
            TraceLink(
                QStringLiteral("not sent, %1: %2")
                    .arg(linkOpen ? QStringLiteral("port closed") : QStringLiteral("link not open"),
                         command));
        return;
    }
    const QByteArray frame = '^' + command.toLatin1() + '%';
    lastAttempt.clear();
    Outcome outcome = Exchange(frame, FrameRole::Command);
    for (int attempt = 1; outcome == Outcome::Refused && attempt <= LinkProtocol::recoveryAttempts;
         ++attempt) {
        outcome = RecoveryAttempt(frame, attempt);
        if (outcome == Outcome::Accepted)
            noLinkReported = false;
    }
    switch (outcome) {
    case Outcome::Accepted:
    case Outcome::PortFailed: // given up where the port failed
        return;
    case Outcome::Interrupted:
        if (LinkTracing())
            TraceLink(QStringLiteral("ended before the next frame: its window has gone"));
        return;
    case Outcome::Refused:
        if (LinkTracing())
            TraceLink(QStringLiteral("given up after %1 recovery attempts")
                          .arg(LinkProtocol::recoveryAttempts));
        DropLink();
        return;
    }
}
