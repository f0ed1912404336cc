// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <cstdio>

// One line per frame received, so that tests can see what reached the wire:
// seconds since start, the frame, what the instrument did (answer, reject for a command it
// does not know, nak, silence, garbage), the reply — separated by tabs,
// bytes outside printable ASCII written as \xNN. A hang-up gets a line of its own with
// "-" as the frame.
class SimFrameLog
{
public:
    ~SimFrameLog();
    // "-" logs to standard error. Returns false when the file cannot be opened.
    bool Open(const QByteArray& path);
    void Write(double seconds, const QByteArray& frame, const char* action,
               const QByteArray& reply);

    static QByteArray Escape(const QByteArray& bytes);

private:
    std::FILE* file = nullptr;
    bool owned = false;
};
