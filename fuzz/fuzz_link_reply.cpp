// SPDX-License-Identifier: MIT
// The calibrator link's side of a transaction: the protocol's SendCommand on a scripted serial
// device whose reads return what the fuzzer chooses (acknowledgements, NAK bytes, zero bytes,
// silence, over-long replies, port errors), checked against the acknowledgement, the count of
// replies owed and the recovery rules; then the control panel's reading of lastReply for every
// measure range.

#include "FakeLink.h"
#include "FakeSerialDevice.h"
#include "FuzzSupport.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"

#include <cmath>
#include <cstring>

namespace {

using FuzzSupport::Quoted;

const QString com1 = QStringLiteral("/dev/ttyS0"); // the device COM1 stands for here

const char* const commands[] = {"P",   "I",      "X",        "S1",     "S0",   "C02",
                                "C22", "N+0.00", "N-12.345", "T20.0",  "R1.5", "Q00.00",
                                "M01", "M130",   "C121",     "N1234.5"};

bool Accepted(const QByteArray& reply)
{
    return !reply.isEmpty() && reply.contains('%') && !reply.contains(LinkProtocol::nak);
}

// The rules of ParseReading, checked for one reply and one range's decimals.
void CheckReading(const QString& reply, int decimals)
{
    PanelMeterState state;
    ParseReading(reply, decimals, state);
    const QString where = Quoted(reply) + QStringLiteral(", decimals %1 gave ").arg(decimals) +
                          Quoted(state.meterText);
    const QString head = reply.left(9);
    FUZZ_CHECK(state.meterPositive == !head.contains(QLatin1Char('-')), where);
    const QString rest = head.mid(1);
    if (rest.contains(QLatin1Char('~'))) {
        FUZZ_CHECK(state.meterText == PanelMarks::overRange, where);
    } else if (rest.contains(QLatin1Char('_'))) {
        FUZZ_CHECK(state.meterText == PanelMarks::underRange, where);
    } else {
        const QString& t = state.meterText;
        FUZZ_CHECK(!t.isEmpty() && !t.contains(QLatin1Char('-')), where);
        for (QChar c : t)
            FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'),
                       where);
        FUZZ_CHECK(t.size() - t.indexOf(QLatin1Char('.')) - 1 == decimals, where);
        FUZZ_CHECK(std::fabs(ParseNumber(t) - std::fabs(ParseNumber(rest))) <=
                       0.5 * std::pow(10.0, -decimals) + 1e-15 * std::fabs(ParseNumber(rest)),
                   where);
    }
    const double v = SignedReading(state);
    FUZZ_CHECK(std::isfinite(v), where);
    FUZZ_CHECK(state.meterPositive ? v >= 0 : v <= 0, where);
}

// The count of replies owed that the link keeps across commands: one more for every frame,
// one less for every reply that ends with "%" or a NAK ("%" straight after a NAK is part of
// it). Started afresh when the port opens.
struct Owed
{
    int replies = 0;
    bool midReply = false;
    bool afterNak = false;

    struct Ends
    {
        int count = 0;
        bool surplus = false;
    };
    Ends Take(const QByteArray& bytes)
    {
        Ends e;
        for (char c : bytes) {
            if (afterNak && c == '%') {
                afterNak = false;
                continue;
            }
            afterNak = c == LinkProtocol::nak;
            if (c == '%' || c == LinkProtocol::nak) {
                midReply = false;
                ++e.count;
                if (replies > 0)
                    --replies;
                else
                    e.surplus = true;
            } else {
                midReply = true;
            }
        }
        return e;
    }
    bool Clear() const { return replies == 0 && !midReply; }
};

// What one SendCommand must have done, given the replies its reads got.
struct Expected
{
    QByteArray written;
    int reads = 0;
    bool succeeded = false;
    bool recovered = false;
};

Expected Model(const QByteArray& frame, const QList<QByteArray>& replies, Owed& owed)
{
    Expected e;
    auto read = [&](QByteArray* got) {
        if (e.reads >= replies.size())
            return false;
        *got = replies[e.reads++];
        return true;
    };
    QByteArray reply;
    // The command goes out on a clear line: owed replies are read first, and forgotten after
    // quiet reads. Its reply is its own when it is the one reply its read ended.
    auto command = [&](bool* accepted) {
        if (!owed.Clear()) {
            int quiet = 0;
            for (int r = 0; r < LinkProtocol::owedReadsLimit && !owed.Clear(); ++r) {
                if (!read(&reply))
                    return false;
                if (!reply.isEmpty()) {
                    quiet = 0;
                    owed.Take(reply);
                } else if (++quiet == LinkProtocol::quietReadsToForgive) {
                    owed = Owed();
                }
            }
        }
        const bool clear = owed.Clear();
        e.written += frame;
        ++owed.replies;
        if (!read(&reply))
            return false;
        const Owed::Ends ends = owed.Take(reply);
        *accepted = Accepted(reply) && clear && !ends.surplus && ends.count == 1;
        if (*accepted)
            owed = Owed();
        return true;
    };
    bool accepted = false;
    if (!command(&accepted))
        return e;
    if (accepted) {
        e.succeeded = true;
        return e;
    }
    for (int attempt = 0; attempt < LinkProtocol::recoveryAttempts; ++attempt) {
        e.written += "^I%";
        ++owed.replies;
        if (!read(&reply))
            return e;
        owed.Take(reply);
        if (!Accepted(reply))
            continue;
        if (!command(&accepted))
            return e;
        if (accepted) {
            e.succeeded = e.recovered = true;
            return e;
        }
    }
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::EnsureApplication();
    FuzzSupport::Bytes in(data, size);
    FakeProtocol link;
    const uint8_t flags = in.Byte();
    const uint8_t readFault = in.Byte();
    const uint8_t writeFault = in.Byte();
    link.device.failOnRead = readFault >= 200 ? readFault - 199 : 0;
    link.device.failOnWrite = writeFault >= 240 ? writeFault - 239 : 0;

    QList<QByteArray> served; // every reply a read returned, as the link got it
    link.device.responder = [&in, &served](const QList<QByteArray>&) {
        const uint8_t length = in.Byte();
        QByteArray reply = in.Take(length % 61); // more than 50 is cut by the read
        reply.truncate(LinkProtocol::replyBufferSize);
        served << reply;
        return reply;
    };
    if (flags & 0x07) {
        FUZZ_CHECK(link.protocol.OpenCalibratorPort(1, com1), QStringLiteral("open"));
        FUZZ_CHECK(link.protocol.linkOpen, QStringLiteral("open"));
    }
    link.protocol.noLinkReported = flags & 0x08;

    Owed owed;
    for (int n = 0; n < 6 && !in.AtEnd(); ++n) {
        const uint8_t choice = in.Byte();
        const qsizetype opensBefore = link.device.opens.size();
        if (choice & 0x80) {
            // The window closes the port and opens it again (the next module).
            link.protocol.CloseCalibratorPort();
            link.protocol.OpenCalibratorPort(1, com1);
        } else if ((choice & 0x60) == 0x60) {
            // The window ended and closed the port while the link still counts as open.
            link.protocol.CloseCalibratorPort();
        }
        if (link.device.opens.size() > opensBefore)
            owed = Owed(); // the port opened anew
        const QByteArray command = commands[choice % std::size(commands)];
        const QByteArray frame = '^' + command + '%';
        const bool openBefore = link.protocol.linkOpen && link.device.IsOpen();
        const bool flagBefore = link.protocol.linkOpen;
        const bool reportedBefore = link.protocol.noLinkReported;
        const QString replyBefore = link.protocol.lastReply;
        const qsizetype messagesBefore = link.messages.messages.size();
        const QByteArray writtenBefore = link.device.Written();
        const int readsBefore = link.device.readCount;
        const int writesBefore = link.device.writeCount;
        const qsizetype servedBefore = served.size();
        const qsizetype sleepsBefore = link.clock.sleeps.size();

        link.protocol.SendCommand(QString::fromLatin1(command));

        const QString where = QStringLiteral("command %1, reads %2")
                                  .arg(QString::fromLatin1(command))
                                  .arg(link.device.readCount - readsBefore);
        const QByteArray written = link.device.Written().mid(writtenBefore.size());
        if (!openBefore) {
            FUZZ_CHECK(written.isEmpty() && link.device.readCount == readsBefore, where);
            FUZZ_CHECK(link.protocol.lastReply == replyBefore &&
                           link.protocol.linkOpen == flagBefore,
                       where);
            FUZZ_CHECK(link.protocol.noLinkReported == reportedBefore, where);
            FUZZ_CHECK(link.messages.messages.size() == messagesBefore, where);
            continue;
        }
        const QList<QByteArray> replies = served.mid(servedBefore);
        const Expected e = Model(frame, replies, owed);
        const bool faulted = (link.device.failOnRead > readsBefore &&
                              link.device.failOnRead <= link.device.readCount) ||
                             (link.device.failOnWrite > writesBefore &&
                              link.device.failOnWrite <= link.device.writeCount);
        // Every byte goes out alone, with 20 ms after it.
        for (qsizetype s = sleepsBefore; s < link.clock.sleeps.size(); ++s)
            FUZZ_CHECK(link.clock.sleeps[s] == LinkProtocol::byteDelayMs, where);
        FUZZ_CHECK(link.clock.sleeps.size() - sleepsBefore == written.size() || faulted, where);
        if (!replies.isEmpty() && !faulted) {
            // The accepted reply stays readable; a link given up keeps none (its last reply
            // was refused and is no reading).
            const QByteArray& last = replies.last();
            const QString expected =
                e.succeeded
                    ? QString::fromLatin1(last.constData(),
                                          qsizetype(qstrnlen(last.constData(), last.size())))
                    : QString();
            FUZZ_CHECK(link.protocol.lastReply == expected,
                       where + QStringLiteral(", lastReply ") + Quoted(link.protocol.lastReply));
        }
        const qsizetype shown = link.messages.messages.size() - messagesBefore;
        FUZZ_CHECK(shown == 0 || shown == 1, where);
        if (shown == 1) {
            const auto& m = link.messages.messages.last();
            FUZZ_CHECK(m.text == QStringLiteral("Brak komunikacji z portem COM.") &&
                           m.caption == QStringLiteral("Błąd!") && m.icon == MessageIcon::Error,
                       where);
        }
        if (faulted) {
            // A port error ends the transaction at once: no reading survives it, the port is
            // closed and the link given up as when the calibrator stops answering.
            FUZZ_CHECK(e.written.startsWith(written), where);
            FUZZ_CHECK(link.protocol.lastReply.isEmpty() && !link.device.IsOpen(), where);
            FUZZ_CHECK(!link.protocol.linkOpen && link.protocol.noLinkReported, where);
            FUZZ_CHECK(shown == (reportedBefore ? 0 : 1), where);
            continue;
        }
        FUZZ_CHECK(written == e.written,
                   where + QStringLiteral(", wrote ") + Quoted(QString::fromLatin1(written)));
        FUZZ_CHECK(replies.size() == e.reads, where);
        FUZZ_CHECK(e.reads <= 1 + LinkProtocol::owedReadsLimit +
                                  LinkProtocol::recoveryAttempts * (2 + LinkProtocol::owedReadsLimit),
                   where);
        if (e.succeeded) {
            FUZZ_CHECK(link.protocol.linkOpen, where);
            FUZZ_CHECK(link.protocol.noLinkReported == (e.recovered ? false : reportedBefore),
                       where);
            FUZZ_CHECK(link.messages.messages.size() == messagesBefore, where);
        } else {
            FUZZ_CHECK(!link.protocol.linkOpen && link.protocol.noLinkReported, where);
            FUZZ_CHECK(shown == (reportedBefore ? 0 : 1), where);
        }
    }

    // The panel reads lastReply (and any text at all) in every measure range.
    const QString anyText = in.Text();
    for (const MeasureRange& range : MeasureRangeTable::Rows()) {
        CheckReading(link.protocol.lastReply, range.decimals);
        CheckReading(anyText, range.decimals);
    }
    return 0;
}
