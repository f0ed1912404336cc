// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Shared by the fuzz targets: the check that aborts on a broken rule, one offscreen
// application for the code that needs one, and a reader that turns the fuzzer's bytes into
// the values a target feeds the program with.

// Aborts (so that the fuzzer keeps the input) when a rule of the program does not hold.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzSupport::Fail(#condition, __FILE__, __LINE__, (detail));                           \
    } while (false)

namespace FuzzSupport {

[[noreturn]] void Fail(const char* condition, const char* file, int line, const QString& detail);

// A QApplication on the offscreen platform, created once, plus the calibrator function table.
void EnsureApplication();

// Any text in quotes, with non-printable characters escaped, for failure details.
QString Quoted(const QString& text);

// Reads the input from the front; once it is used up every read gives zeros / empty.
class Bytes
{
public:
    Bytes(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool AtEnd() const { return pos >= size; }
    size_t Remaining() const { return size - pos; }

    uint8_t Byte();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return int32_t(U32()); }
    // Eight raw bytes as a double: every bit pattern, NaNs and infinities included.
    double RawDouble();
    QByteArray Take(size_t count);
    QByteArray Rest() { return Take(Remaining()); }
    // A text: one byte chooses the length (0-255; 255 takes everything that is left) and one
    // the decoding (UTF-8, windows-1250 or Latin-1), so the program sees what a keyboard or a
    // pasted text in either code page can produce.
    QString Text();

private:
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

// Bytes decoded as windows-1250 (as the .met file and the Polish keyboard know them).
QString FromCp1250(const QByteArray& bytes);

} // namespace FuzzSupport
