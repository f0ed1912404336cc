// SPDX-License-Identifier: MIT
#include "FuzzSupport.h"

#include "core/link/CalFunctionTable.h"

#include <QApplication>
#include <QStringDecoder>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace FuzzSupport {

void Fail(const char* condition, const char* file, int line, const QString& detail)
{
    std::fprintf(stderr, "\n*** rule broken at %s:%d: %s\n    %s\n", file, line, condition,
                 detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

void EnsureApplication()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Each run gets its own settings folder only through the environment; nothing is saved.
    static int argc = 1;
    static char name[] = "r718-fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
    FillCalFunctionTable();
}

QString Quoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

uint8_t Bytes::Byte()
{
    return pos < size ? data[pos++] : 0;
}

uint16_t Bytes::U16()
{
    return uint16_t(Byte() | (Byte() << 8));
}

uint32_t Bytes::U32()
{
    return uint32_t(U16()) | (uint32_t(U16()) << 16);
}

double Bytes::RawDouble()
{
    uint64_t bits = uint64_t(U32()) | (uint64_t(U32()) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray Bytes::Take(size_t count)
{
    count = std::min(count, Remaining());
    const QByteArray bytes(reinterpret_cast<const char*>(data + pos), qsizetype(count));
    pos += count;
    return bytes;
}

QString Bytes::Text()
{
    const uint8_t length = Byte();
    const uint8_t coding = Byte();
    const QByteArray bytes = Take(length == 255 ? Remaining() : length);
    switch (coding % 3) {
    case 0:
        return QString::fromUtf8(bytes);
    case 1:
        return FromCp1250(bytes);
    default:
        return QString::fromLatin1(bytes);
    }
}

QString FromCp1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

} // namespace FuzzSupport
