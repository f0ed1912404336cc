// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

// The replies the calibrator still owes. The calibrator answers every frame it receives, in
// order, and nothing in a reply names its frame: what ties a reply to its frame is the count
// of frames sent against replies received. A reply ends with "%" or, for a NAK sent without
// one, with the NAK byte; a "%" straight after a NAK belongs to it ("<15>%" is one reply).
//
// The count can only be too high, never too low, when the calibrator drops a frame: a reply
// is then awaited that never comes. The protocol forgives the owed replies once the line has
// been quiet long enough for any of them to have come (Forgive).
class ReplyLedger
{
public:
    struct Taken
    {
        int replies = 0;      // replies that the bytes ended
        bool surplus = false; // more replies ended than were owed: noise, or a forgiven reply
    };

    // A frame went out whole: its reply is owed.
    void FrameSent() { ++owed; }
    // Counts the replies that come in.
    Taken Take(const QByteArray& bytes);
    // The replies still owed by the frames sent.
    int Owed() const { return owed; }
    // Bytes of a reply have come in and its end has not.
    bool MidReply() const { return midReply; }
    // The owed replies are no longer expected; a reply that was under way is given up too.
    void Forgive();

private:
    int owed = 0;
    bool midReply = false;
    bool afterBareNak = false; // the last reply ended with a NAK: a "%" now is still part of it
};
