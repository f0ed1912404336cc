// SPDX-License-Identifier: MIT
#pragma once

#include "FakeSerialDevice.h"

#include <QSemaphore>

#include <atomic>

// Holds the reply to one frame on a fake line until the test lets it go, so that requests
// queue up behind a transaction that is running. Every other frame is answered with "%", or
// with silence while `reply` is false.
class HeldLine
{
public:
    HeldLine(FakeSerialDevice& device, const QByteArray& held) : held(held)
    {
        device.responder = [this](const QList<QByteArray>& frames) {
            if (frames.last() == this->held && !heldOnce) {
                heldOnce = true;
                running = true;
                entered.release();
                release.acquire();
                running = false;
            }
            return reply.load() ? QByteArray("%") : QByteArray();
        };
    }
    // Waits (blocking this thread) until the held frame's read has started.
    bool Running() { return entered.tryAcquire(1, 5000); }
    void Release() { release.release(); }

    std::atomic<bool> reply{true};
    std::atomic<bool> running{false}; // the held frame's read is waiting now

private:
    QByteArray held;
    bool heldOnce = false;
    QSemaphore entered;
    QSemaphore release;
};
