// SPDX-License-Identifier: MIT
// The point dialog's check of a typed nominal value against the calibrator's limits of the
// range, in either method.

#include "FuzzRanges.h"
#include "FuzzSupport.h"
#include "RecordingMessageService.h"
#include "core/link/NumberText.h"
#include "core/metercheck/entry/PointEntry.h"

#include <QRegularExpression>

#include <cmath>

namespace {

using FuzzSupport::Quoted;

const QStringList& KnownMessages()
{
    static const QStringList texts{
        QStringLiteral("Błędnie podany punkt pomiarowy."),
        QStringLiteral("Podana nastawa nie mieści się w zakresie kalibratora."),
        QStringLiteral("Punkt pomiarowy może mieć najwyżej 7 znaków "
                       "(razem z kropką i znakiem minus)."),
    };
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::EnsureApplication();
    FuzzSupport::Bytes in(data, size);
    RecordingMessageService messages;
    const MeterRange range = FuzzedRange(in);
    const auto method =
        CheckMethod(in.Byte() % 3 - (size % 2)); // both methods, sometimes a stray value
    const auto limits = PointEntry::LimitsFor(range);

    for (int n = 0; n < 4 && !in.AtEnd(); ++n) {
        const QString typed = in.Text();
        PointEntry entry(range, method, messages);
        const qsizetype before = messages.messages.size();
        const PointEntry::Outcome outcome = entry.Check(typed);
        const QString where = Quoted(typed) + QStringLiteral(" in ") + range.rangeUnit +
                              QStringLiteral(" gave ") + Quoted(entry.Value());
        switch (outcome) {
        case PointEntry::Outcome::Empty:
            FUZZ_CHECK(typed.isEmpty() && messages.messages.size() == before, where);
            break;
        case PointEntry::Outcome::Refused:
            FUZZ_CHECK(messages.messages.size() == before + 1, where);
            FUZZ_CHECK(KnownMessages().contains(messages.messages.last().text), where);
            FUZZ_CHECK(messages.messages.last().caption == QStringLiteral("Błąd!"), where);
            FUZZ_CHECK(entry.Value().isEmpty(), where);
            break;
        case PointEntry::Outcome::Accepted: {
            FUZZ_CHECK(messages.messages.size() == before, where);
            const QString v = entry.Value();
            // What is stored fits the file and is a plain number within the limits ("5." as
            // FormatFixed writes a number typed with a point and no decimals).
            FUZZ_CHECK(!v.isEmpty() && v.size() <= PointEntry::maxValueLength, where);
            static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d*)?$"));
            FUZZ_CHECK(number.match(v).hasMatch(), where);
            FUZZ_CHECK(limits.has_value(), where);
            const double value = ParseNumber(v);
            const double margin =
                1e-9 * std::max({1.0, std::fabs(limits->low), std::fabs(limits->high)});
            FUZZ_CHECK(value >= limits->low - margin && value <= limits->high + margin, where);
            // The typed value is kept: only zero decimals may have gone.
            QString t = typed;
            t.replace(QLatin1Char(','), QLatin1Char('.'));
            FUZZ_CHECK(value == ParseNumber(t), where);
            // Checking the stored text again accepts it unchanged.
            PointEntry again(range, method, messages);
            FUZZ_CHECK(again.Check(v) == PointEntry::Outcome::Accepted && again.Value() == v,
                       where);
            MeterPoint point;
            entry.StoreInto(point);
            FUZZ_CHECK(PointEntry::NominalValue(point, method) == v && point.pointDefined == 1 &&
                           point.marked == 1 && point.unit == range.rangeUnit,
                       where);
            break;
        }
        }
    }
    return 0;
}
