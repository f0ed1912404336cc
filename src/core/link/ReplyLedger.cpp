// SPDX-License-Identifier: MIT
#include "core/link/ReplyLedger.h"

#include "core/link/CalibratorProtocol.h"

namespace {
constexpr char replyEnd = '%';
} // namespace

ReplyLedger::Taken ReplyLedger::Take(const QByteArray& bytes)
{
    Taken taken;
    for (const char byte : bytes) {
        const bool naksPercent = afterBareNak && byte == replyEnd;
        afterBareNak = false;
        if (naksPercent)
            continue;
        if (byte == replyEnd || byte == LinkProtocol::nak) {
            afterBareNak = byte == LinkProtocol::nak;
            midReply = false;
            ++taken.replies;
            if (owed > 0)
                --owed;
            else
                taken.surplus = true;
        } else {
            midReply = true;
        }
    }
    return taken;
}

void ReplyLedger::Forgive()
{
    owed = 0;
    midReply = false;
    afterBareNak = false;
}
