// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

// Cuts the bytes that come down the line into frames "^" + command + "%". Bytes outside a
// frame are line noise and ignored; a "^" inside a frame starts the frame over, as the
// instrument does when a transmission was broken off.
class SimFrameParser
{
public:
    // Longer commands are not the calibrator's: such a frame is dropped.
    static constexpr int maxCommandLength = 40;

    // Takes the bytes that arrived; returns the frames completed by them, "^" and "%"
    // included, in order of arrival.
    QList<QByteArray> Feed(const QByteArray& bytes);
    // Forgets a half-received frame (the line was hung up).
    void Reset();
    // The bytes of the frame received so far; empty between frames.
    QByteArray Pending() const { return pending; }

    // The command text of a frame: without the leading "^" and the closing "%".
    static QByteArray CommandOf(const QByteArray& frame);

private:
    QByteArray pending;
    bool inFrame = false;
};
