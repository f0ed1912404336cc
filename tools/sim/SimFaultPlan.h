#pragma once

#include "SimInstrument.h"

#include <QString>

// How the instrument treats the next frame.
enum class SimAction
{
    Answer,
    Nak,
    Silence,
    Garbage
};

// The faults that tests inject into the line: counted NAKs, silences and garbage replies,
// silence for ever, a hang-up after so many frames, forced over- or under-range readings,
// and the pacing of replies at the wire speed. Set from the command line and changed while
// running by control lines such as "nak 3" or "over-range on".
class SimFaultPlan
{
public:
    // The treatment of the next frame. Counted faults are used up in the order silence,
    // NAK, garbage, one per frame.
    SimAction NextFrame();
    // Called after each frame was dealt with: true when the line is to be hung up now.
    bool FrameDone();

    // Applies one control line. Returns an empty text when it was understood, else what is
    // wrong with it. Lines: "nak K", "silence K", "silence forever", "silence off",
    // "garbage K", "hangup", "hangup-after K", "over-range on|off", "under-range on|off",
    // "pace on|off", "noise on|off", "clear" (no faults), "ping".
    QString Apply(const QString& line);

    // A "hangup" line asks for the hang-up at once; the caller takes the request.
    bool TakeHangUpRequest();

    SimForcedRange ForcedRange() const;

    int nakFrames = 0;
    int silentFrames = 0;
    int garbageFrames = 0;
    bool silentForever = false;
    int hangUpAfter = 0; // frames left before the hang-up; 0 = none planned
    bool overRange = false;
    bool underRange = false;
    bool pace = true;
    bool noise = true;

private:
    bool hangUpRequested = false;
};
