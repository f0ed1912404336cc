// SPDX-License-Identifier: MIT
#pragma once

#include "SimFaultPlan.h"
#include "SimFrameParser.h"
#include "SimInstrument.h"

#include <QByteArray>
#include <QList>

#include <random>

// What became of one frame from the line.
struct SimFrameResult
{
    QByteArray frame;
    SimAction action = SimAction::Answer;
    QByteArray reply;     // the bytes to send back; empty for a silence
    bool hangUp = false;  // the line is to be hung up after the reply
    bool partial = false; // frame holds only the first bytes of a frame cut by the hang-up
    int splitPauseMs = 0; // the reply goes in pieces this far apart; 0 = in one piece
    int lateMs = 0;       // the reply goes this long after the frame; 0 = at once
};

// The calibrator without its line: frames in, replies out, faults applied. The pty loop
// feeds it the bytes it reads and writes back what it returns.
class SimEngine
{
public:
    SimEngine();

    QList<SimFrameResult> Feed(const QByteArray& bytes, double nowSeconds);
    // Applies one control line: "transmitter ..." to the instrument's transmitter, any other
    // to the fault plan. Returns an empty text when it was understood, else what is wrong.
    QString Control(const QString& line);
    // The line was hung up: a half-received frame is lost.
    void LineHungUp() { parser.Reset(); }

    SimFaultPlan plan;
    SimInstrument instrument;

private:
    SimFrameResult Handle(const QByteArray& frame, double nowSeconds);
    QByteArray Garbage();

    SimFrameParser parser;
    std::mt19937 random;
};

// The word a log line uses for an action.
const char* ActionName(SimAction action);
