// SPDX-License-Identifier: MIT
#include "SimFrameLog.h"

SimFrameLog::~SimFrameLog()
{
    if (owned)
        std::fclose(file);
}

bool SimFrameLog::Open(const QByteArray& path)
{
    if (path == "-") {
        file = stderr;
        return true;
    }
    file = std::fopen(path.constData(), "a");
    owned = file != nullptr;
    return owned;
}

void SimFrameLog::Write(double seconds, const QByteArray& frame, const char* action,
                        const QByteArray& reply)
{
    if (!file)
        return;
    std::fprintf(file, "%.6f\t%s\t%s\t%s\n", seconds, Escape(frame).constData(), action,
                 Escape(reply).constData());
    std::fflush(file);
}

QByteArray SimFrameLog::Escape(const QByteArray& bytes)
{
    QByteArray text;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\')
            text.append(c);
        else
            text.append(QByteArray("\\x") + QByteArray::number(u, 16).rightJustified(2, '0'));
    }
    return text;
}
