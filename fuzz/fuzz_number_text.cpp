// SPDX-License-Identifier: MIT
// Number texts: FormatFixed, ParseNumber, SetDecimals, DecimalsForFunction and the field
// fitting of measured values, with every double bit pattern and any decimals count.

#include "FuzzSupport.h"
#include "core/link/NumberText.h"
#include "core/metercheck/run/FieldText.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace {

using FuzzSupport::Quoted;

QString Show(double value, int decimals)
{
    return QString::asprintf("value %.17g (bits %016llx), decimals %d", value,
                             static_cast<unsigned long long>(std::bit_cast<quint64>(value)),
                             decimals);
}

// Digits, at most one point, "-" only in front.
bool PlainNumberText(const QString& text)
{
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('-') && i == 0)
            continue;
        if (c == QLatin1Char('.'))
            ++points;
        else if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return points <= 1;
}

void CheckFormatFixed(double value, int decimals)
{
    const QString text = FormatFixed(value, decimals);
    const QString where = Show(value, decimals) + QStringLiteral(" gave ") + Quoted(text);
    FUZZ_CHECK(PlainNumberText(text), where);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(point > 0, where);
    // Exactly the decimals asked for (the count is kept within what a double holds).
    const int wanted = std::clamp(decimals, 0, 17);
    FUZZ_CHECK(text.size() - point - 1 == wanted, where);
    // A "-" only when a digit other than 0 follows: never "-0.000".
    if (text.startsWith(QLatin1Char('-'))) {
        bool nonZero = false;
        for (QChar c : text)
            nonZero = nonZero || (c >= QLatin1Char('1') && c <= QLatin1Char('9'));
        FUZZ_CHECK(nonZero, where);
        FUZZ_CHECK(value < 0, where);
    }
    const double back = ParseNumber(text);
    FUZZ_CHECK(std::isfinite(back), where);
    if (std::isfinite(value)) {
        // Within half a unit of the last decimal (plus what the double itself cannot hold).
        const double tolerance =
            0.5 * std::pow(10.0, -wanted) + std::fabs(value) * 4 * DBL_EPSILON + DBL_MIN;
        FUZZ_CHECK(std::fabs(back - value) <= tolerance, where);
        // Writing the read-back value again gives the same text.
        FUZZ_CHECK(FormatFixed(back, decimals) == text, where);
    } else {
        FUZZ_CHECK(!std::isnan(value) || back == 0.0, where);
    }
}

void CheckParseNumber(const QString& text)
{
    const double value = ParseNumber(text);
    const QString where = Quoted(text) + QString::asprintf(" gave %.17g", value);
    FUZZ_CHECK(std::isfinite(value), where);
    // The standard conversion in the "C" locale reads the same number, as long as it gives a
    // finite decimal one (strtod also reads hexadecimal, "inf" and "nan", which the program
    // never treats as numbers).
    const QByteArray bytes = text.toUtf8();
    bool special = false;
    for (char c : bytes)
        special = special || QByteArrayView("xXiInN").contains(c);
    if (!special && !bytes.contains('\0')) {
        errno = 0;
        const double standard = std::strtod(bytes.constData(), nullptr);
        if (std::isfinite(standard) && errno != ERANGE)
            FUZZ_CHECK(standard == value, where + QString::asprintf(", strtod %.17g", standard));
    }
    // A value read once and written with any decimals reads back within the decimals.
    CheckFormatFixed(value, 3);
}

void CheckSetDecimals(const QString& text, int n)
{
    const QString result = SetDecimals(text, n);
    const QString where =
        Quoted(text) + QStringLiteral(", n %1 gave ").arg(n) + Quoted(result.left(80));
    if (text.size() > 6) {
        FUZZ_CHECK(result == text, where);
        return;
    }
    const qsizetype point = result.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(point >= 0, where);
    // What stands before the point is kept; an empty text becomes "0".
    const QString head = text.isEmpty() ? QStringLiteral("0") : text;
    FUZZ_CHECK(result.startsWith(head.left(point)), where);
    // Exactly n characters after the first point; n is bounded like FormatFixed's decimals.
    FUZZ_CHECK(result.size() - point - 1 == std::clamp(n, 0, 17), where);
}

void CheckFitFixed(double value, int decimals, int width)
{
    const QString text = FitFixed(value, decimals, width);
    const QString where = Show(value, decimals) + QStringLiteral(", width %1 gave ").arg(width) +
                          Quoted(text.left(80));
    FUZZ_CHECK(!text.contains(QLatin1String("nan")) && !text.contains(QLatin1String("inf")), where);
    const double back = ParseNumber(text);
    FUZZ_CHECK(std::isfinite(back), where);
    if (width >= 7) {
        // Every value fits a field of 7 characters, the exponent form being the last resort.
        FUZZ_CHECK(text.size() <= width, where);
        if (std::isfinite(value) && std::fabs(value) < 1e300) {
            // No digit is cut off a whole number: at worst the rounding of the shortest exponent
            // form, which for 1e+100 and more has room for one digit only.
            FUZZ_CHECK(std::fabs(back - value) <= std::max(0.5, std::fabs(value) * 0.5), where);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool once = [] {
        std::setlocale(LC_ALL, "C");
        return true;
    }();
    (void)once;
    FuzzSupport::Bytes in(data, size);
    const double raw = in.RawDouble();
    const int32_t decimalsRaw = in.I32();
    const uint8_t mode = in.Byte();
    // Mostly the counts the program uses; sometimes any count at all.
    const int decimals = mode & 0x80 ? decimalsRaw : int(decimalsRaw % 8) - 1;

    CheckFormatFixed(raw, decimals);
    CheckFormatFixed(-raw, decimals);
    CheckFitFixed(raw, decimals, mode & 0x40 ? int(mode % 12) : 7);

    const QString text = in.Text();
    CheckParseNumber(text);
    CheckSetDecimals(text, decimals);
    CheckSetDecimals(text.left(6), decimals);

    const int index = decimalsRaw % 64 - 20;
    const int d = DecimalsForFunction(index);
    FUZZ_CHECK(index >= 0 && index <= 19 ? d >= 1 && d <= 4 : d == -1,
               QStringLiteral("index %1 gave %2").arg(index).arg(d));
    const int typed = TypedDecimals(text);
    FUZZ_CHECK(typed >= 0 && typed <= text.size(), Quoted(text));
    return 0;
}
