// SPDX-License-Identifier: MIT
// The pass/fail rule of a point, ErrorExceedsPermissible, against its statement: the actual
// error exceeds the permissible one when |A| > E, A and E being the numbers read from the two
// texts (leading blanks skipped, the number ending at the first character that cannot go on
// with it, no number read as 0). The texts are made from known decimal numbers, which are
// compared here exactly, digit by digit, without any conversion to double.

#include "FuzzSupport.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/PointErrors.h"

namespace {

using FuzzSupport::Quoted;

// A number text and the decimal number it holds.
struct NumberText
{
    QString text;
    bool negative = false;
    QByteArray digits; // integer and fraction digits, the fraction `scale` digits long
    int scale = 0;
};

// Blanks, a sign, up to 7 integer digits, a point and up to 6 fraction digits, and something
// after the number that cannot continue it (a unit, a mark, a blank).
NumberText MakeNumber(FuzzSupport::Bytes& in)
{
    static const char* const signs[] = {"", "-", "+"};
    static const char* const trailers[] = {"", " ", "*", "V", "°C", "%", ";"};
    const uint8_t form = in.Byte();
    const uint8_t counts = in.Byte();
    NumberText n;
    QByteArray integer;
    QByteArray fraction;
    for (int i = 0; i < counts % 8; ++i)
        integer += char('0' + in.Byte() % 10);
    const bool point = (form / 63) % 2 == 1;
    if (point)
        for (int i = 0; i < (counts / 8) % 7; ++i)
            fraction += char('0' + in.Byte() % 10);
    const int sign = (form / 3) % 3;
    n.negative = sign == 1;
    n.digits = integer + fraction;
    n.scale = int(fraction.size());
    n.text = QString(form % 3, QLatin1Char(' ')) + QString::fromLatin1(signs[sign]) +
             QString::fromLatin1(integer) + (point ? "." : "") + QString::fromLatin1(fraction) +
             QString::fromUtf8(trailers[(form / 9) % 7]);
    return n;
}

// The digits of the number scaled to `scale` fraction digits, without leading zeros.
QByteArray Scaled(const NumberText& n, int scale)
{
    QByteArray d = n.digits + QByteArray(scale - n.scale, '0');
    qsizetype zeros = 0;
    while (zeros < d.size() && d.at(zeros) == '0')
        ++zeros;
    return d.mid(zeros);
}

// Compares the magnitudes exactly: -1, 0 or 1.
int CompareMagnitudes(const NumberText& a, const NumberText& b)
{
    const int scale = qMax(a.scale, b.scale);
    const QByteArray x = Scaled(a, scale);
    const QByteArray y = Scaled(b, scale);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x < y ? -1 : x > y ? 1 : 0;
}

bool IsZero(const NumberText& n)
{
    return Scaled(n, n.scale).isEmpty();
}

// |A| > E as stated: a negative E is exceeded by every A, zero included.
bool Exceeds(const NumberText& actual, const NumberText& permissible)
{
    if (permissible.negative && !IsZero(permissible))
        return true;
    return CompareMagnitudes(actual, permissible) > 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Bytes in(data, size);
    // Every case the input holds, at least one.
    do {
        const NumberText actual = MakeNumber(in);
        const NumberText permissible = MakeNumber(in);
        MeterPoint point;
        point.actualError = actual.text;
        point.permissibleError = permissible.text;
        // Whether the point counts as measured is its callers' question, not the rule's.
        point.pointMeasured = in.Byte() % 2;
        point.pointDefined = 1;
        const bool expected = Exceeds(actual, permissible);
        FUZZ_CHECK(ErrorExceedsPermissible(point) == expected,
                   Quoted(actual.text) + QStringLiteral(" against ") + Quoted(permissible.text) +
                       (expected ? QStringLiteral(" exceeds") : QStringLiteral(" does not")));
    } while (!in.AtEnd());
    return 0;
}
