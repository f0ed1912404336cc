// SPDX-License-Identifier: MIT
// The parameter dialog's check on OK (averaging time, lead resistances, reference-junction
// temperature, step sizes) with any typed text.

#include "FuzzSupport.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/panel/ParamCheck.h"

namespace {

using FuzzSupport::Quoted;

struct Use
{
    double low;
    double high;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::EnsureApplication();
    FuzzSupport::Bytes in(data, size);
    const uint8_t which = in.Byte();
    // The panel's uses: t (AVR), both RL, To, and Delta / M up to a source range's limit.
    Use use;
    switch (which % 5) {
    case 0:
        use = {1, 99};
        break;
    case 1:
        use = {0, 50};
        break;
    case 2:
        use = {0, 60};
        break;
    default:
        use = {0, CalFunctionTable[(which / 5) % calFunctionCount].highLimit};
        break;
    }
    const QString typed = in.Text();
    const ParamCheckResult r = CheckParamText(typed, use.low, use.high);
    const QString where = Quoted(typed) +
                          QStringLiteral(" in %1..%2: ").arg(use.low).arg(use.high) +
                          (r.accepted ? Quoted(r.text) : r.error);

    QString text = typed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    int points = 0;
    int digits = 0;
    bool others = false;
    for (QChar c : text) {
        if (c == QLatin1Char('.'))
            ++points;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            others = true;
    }
    if (r.accepted) {
        // Only a plain unsigned number within the limits, kept as typed with "." for ",".
        FUZZ_CHECK(r.error.isEmpty() && r.text == text, where);
        FUZZ_CHECK(!others && points <= 1 && digits > 0, where);
        const double v = ParseNumber(r.text);
        FUZZ_CHECK(v >= use.low && v <= use.high, where);
        return 0;
    }
    FUZZ_CHECK(r.text.isEmpty(), where);
    if (typed.isEmpty())
        FUZZ_CHECK(r.error == ParamMessages::empty, where);
    else if (others || points > 1 || digits == 0)
        FUZZ_CHECK(r.error == ParamMessages::badCharacters, where);
    else
        FUZZ_CHECK(r.error == ParamMessages::OutOfRange(use.low, use.high) &&
                       !r.error.contains(QLatin1String("nan")) &&
                       !r.error.contains(QLatin1String("inf")),
                   where);
    return 0;
}
