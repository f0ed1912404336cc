// SPDX-License-Identifier: MIT
#pragma once

#include "SimInstrument.h"

#include <QString>
#include <QStringList>

// How the instrument treats the next frame.
enum class SimAction
{
    Answer,
    Nak,
    Silence,
    Garbage
};

// Where a planned hang-up in the middle of a transaction cuts the line.
enum class SimMidHangUp
{
    None,
    InFrame,    // after the first bytes of the next frame ("^" and one more)
    BeforeReply // after the next whole frame, before any reply
};

// The faults that tests inject into the line: counted NAKs, silences and garbage replies,
// silence for ever, a hang-up after so many frames or in the middle of a transaction, a
// device that stays away after a hang-up until it is plugged in again, replies split into
// pieces with pauses between them, replies that come late, forced over- or under-range
// readings, and the pacing of
// replies at the wire speed. Set from the command line and changed while running by control
// lines such as "nak 3" or "over-range on".
class SimFaultPlan
{
public:
    // The treatment of the next frame. Counted faults are used up in the order silence,
    // NAK, garbage, one per frame.
    SimAction NextFrame();
    // Called after each frame was dealt with: true when the line is to be hung up now.
    bool FrameDone();
    // The pause between the pieces of the next reply of two or more bytes; 0 when it goes
    // in one piece. Each split reply uses up one of the counted splits.
    int TakeSplitPause();
    // A hang-up planned in the middle of the next transaction at the given point: true once,
    // then the plan is used up.
    bool TakeMidHangUp(SimMidHangUp point);
    // How late the next reply goes, in milliseconds; 0 when on time. Each late reply uses up
    // one of the counted late ones.
    int TakeLateMs();

    // Applies one control line. Returns an empty text when it was understood, else what is
    // wrong with it. Lines: "nak K", "silence K", "silence forever", "silence off",
    // "garbage K", "split K [MS]", "late MS [K|forever]", "late off", "hangup", "hangup-after K",
    // "hangup-mid frame|reply|off", "stay-away on|off", "plug-in", "over-range on|off",
    // "under-range on|off", "pace on|off", "noise on|off", "clear" (no faults), "ping".
    QString Apply(const QString& line);

    // A "hangup" line asks for the hang-up at once; the caller takes the request.
    bool TakeHangUpRequest();
    // A "plug-in" line asks for the device to come back; the caller takes the request.
    bool TakePlugInRequest();

    SimForcedRange ForcedRange() const;

    int nakFrames = 0;
    int silentFrames = 0;
    int garbageFrames = 0;
    bool silentForever = false;
    int hangUpAfter = 0; // frames left before the hang-up; 0 = none planned
    SimMidHangUp midHangUp = SimMidHangUp::None;
    bool stayAway = false; // after a hang-up the device stays away until "plug-in"
    int splitReplies = 0;  // replies left to be sent in pieces
    int splitPauseMs = defaultSplitPauseMs;
    int lateReplies = 0; // replies left to be sent late
    bool lateForever = false;
    int lateMs = 0;
    bool overRange = false;
    bool underRange = false;
    bool pace = true;
    bool noise = true;

    static constexpr int defaultSplitPauseMs = 100;
    // Pieces of a split reply (fewer when the reply is shorter).
    static constexpr int splitPieces = 3;

private:
    QString ApplySplit(const QStringList& words);
    QString ApplyLate(const QStringList& words);

    bool hangUpRequested = false;
    bool plugInRequested = false;
};
