// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/LinkReasons.h"
#include "core/link/ReplyLedger.h"
#include "core/link/SerialDevice.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class LinkClock;

// The calibrator's command protocol on one serial device: the frame "^" + command + "%"
// written a byte at a time with 20 ms after each, one read of up to 50 bytes in 400 ms, the
// acknowledgement, five recovery attempts, and the rules for giving the link up. Synchronous
// and bound to no thread: CalibratorLink runs it on its worker thread, tests on virtual time.
// It shows nothing itself; what the technician must be told goes to `notify`, and why, to
// `noticeDetail`. What goes over the line is written to the link trace (LinkTrace.h) when
// that is on.
//
// A reply is its own frame's or none. The calibrator answers every frame in order, and a late
// reply looks like any other, so the protocol keeps count of the replies owed (ReplyLedger).
// A command's reply is taken only when its frame went out on a clear line (no reply owed by
// an earlier frame, nothing waiting in the input) and its read brings exactly one reply;
// anything else fails the transaction, which then runs recovery and, when that fails, gives
// the link up with the message. Before a command's frame goes out while replies are owed, the
// protocol reads on until they have come, or until the line has been quiet for four reads:
// the calibrator then dropped those frames and the count starts again. The recovery frame
// goes out at once, as ever; its reply only decides whether the command is sent again.
class CalibratorProtocol
{
public:
    enum class Notice
    {
        PortNotOpened, // "Nie można otworzyć portu szeregowego."
        NoLink,        // "Brak komunikacji z portem COM." (once per failure episode)
    };

    CalibratorProtocol(SerialDevice& device, LinkClock& clock);

    // Opens COM<port>, which stands for the device at `devicePath` (the link looks it up in
    // the port map as the window posts its open), at 9600 8N1 without flow control, 400 ms
    // read time-out. An open port is left as it is (true, the link state unchanged). A port
    // that opens anew starts a new failure episode. A failure gives PortNotOpened and false.
    bool OpenCalibratorPort(int port, const QString& devicePath);
    // Closes the port if open; always true. The link state is left as it is.
    bool CloseCalibratorPort();
    // One transaction; callers that expect data read lastReply afterwards. Nothing happens
    // while the link is not open or the port is closed. When recovery fails or the port fails
    // under the transaction, the link is dropped (linkOpen false, lastReply empty, NoLink
    // unless told already in this episode); a port error also closes the port.
    void SendCommand(const QString& command);

    SerialDevice& Device() { return device; }

    // Told what the technician must see, where it happens; noticeDetail then says why.
    std::function<void(Notice)> notify;
    // Asked before each frame after the first: true ends the transaction there, without a
    // word and without a change of the link state (the window that sent it has gone).
    std::function<bool()> interrupted;

    bool linkOpen = false;       // the link is usable; SendCommand does nothing while false
    bool noLinkReported = false; // NoLink was told in this episode
    QString lastReply;           // the bytes of the most recent read, as text
    // Why, for the latest notice: the device and the reason it could not be opened, or what the
    // last attempt sent and what came back.
    QString noticeDetail;

private:
    enum class FrameRole
    {
        Command,  // the command itself: its reply must be its own
        Recovery, // "^I%": its reply is judged by its bytes alone
    };

    // What a frame's exchange, a recovery attempt or the transaction came to.
    enum class Outcome
    {
        Accepted,    // the reply was taken
        Refused,     // no reply that could be taken
        Interrupted, // the window that sent the command has gone: ended between frames
        PortFailed,  // the device failed: the port is closed and the link given up
    };

    // Writes the frame and reads its reply into lastReply.
    Outcome Exchange(const QByteArray& frame, FrameRole role);
    // Writes the frame; whether the line was clear as it went out.
    SerialResult<bool> WriteFramed(const QByteArray& frame);
    // Reads the reply into lastReply; whether it is accepted.
    Outcome ReadReply(FrameRole role, bool lineWasClear);
    // Reads until the replies owed by earlier frames have come, or forgives them; how the
    // transaction ends when it cannot go on.
    std::optional<Outcome> AwaitOwedReplies();
    Outcome RecoveryAttempt(const QByteArray& frame, int attempt);
    bool InterruptedHere() const;
    Outcome PortFailed(const CSerialException& failure);
    void DropLink(const QString& portError = {});
    void Tell(Notice notice) const;

    SerialDevice& device;
    LinkClock& clock;
    int portNumber = 0;
    QString devicePath;              // what COM<portNumber> stood for when it was opened
    QList<LineExchange> lastAttempt; // the frames of the attempt under way and their replies
    ReplyLedger ledger;
};

// "Nie można otworzyć portu szeregowego." and "Brak komunikacji z portem COM.".
QString NoticeText(CalibratorProtocol::Notice notice);
// "Brak komunikacji z portem COM.": what the technician is told when the link is given up.
QString NoLinkMessage();

namespace LinkProtocol {
constexpr int byteDelayMs = 20;
constexpr int readTimeoutMs = 400;
// The calibrator's line: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control; a
// read waits 400 ms in all.
constexpr SerialLineSettings lineSettings{9600,
                                          QSerialPort::Data8,
                                          QSerialPort::NoParity,
                                          QSerialPort::OneStop,
                                          QSerialPort::NoFlowControl,
                                          readTimeoutMs};
constexpr int replyBufferSize = 50;
constexpr int recoveryAttempts = 5;
// Reads in a row that bring nothing before replies still owed are given up.
constexpr int quietReadsToForgive = 4;
// Reads at most spent waiting for owed replies on a line that keeps bringing broken bytes.
constexpr int owedReadsLimit = 10;
constexpr char nak = 0x15;
// The shortest time one command of `length` characters takes when the calibrator answers at
// once: its frame written a byte at a time, then the one read, which waits its whole window.
constexpr int TransactionMs(int length)
{
    return (length + 2) * byteDelayMs + readTimeoutMs;
}
} // namespace LinkProtocol
