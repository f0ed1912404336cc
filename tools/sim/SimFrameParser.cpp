// SPDX-License-Identifier: MIT
#include "SimFrameParser.h"

QList<QByteArray> SimFrameParser::Feed(const QByteArray& bytes)
{
    QList<QByteArray> frames;
    for (char byte : bytes) {
        if (byte == '^') {
            pending = QByteArray(1, byte);
            inFrame = true;
            continue;
        }
        if (!inFrame)
            continue;
        pending.append(byte);
        if (byte == '%') {
            frames.append(pending);
            Reset();
        } else if (pending.size() > maxCommandLength + 1) {
            Reset();
        }
    }
    return frames;
}

void SimFrameParser::Reset()
{
    pending.clear();
    inFrame = false;
}

QByteArray SimFrameParser::CommandOf(const QByteArray& frame)
{
    if (frame.size() < 2 || !frame.startsWith('^') || !frame.endsWith('%'))
        return QByteArray();
    return frame.mid(1, frame.size() - 2);
}
