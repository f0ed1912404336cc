// SPDX-License-Identifier: MIT
#include "core/program/ProgramValidation.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/program/ProgramPlan.h"

#include <algorithm>
#include <cmath>

namespace {

ProgramProblem Refuse(ProgramField field, const QString& what)
{
    return {field, -1, QStringLiteral("Pole „%1”: %2").arg(ProgramFieldName(field), what)};
}

ProgramProblem RefuseSegment(int index, const ProgramSegment& s, ProgramField field,
                             const QString& what)
{
    QString where = QStringLiteral("Segment %1 (%2)").arg(index + 1).arg(SegmentKindName(s.kind));
    if (field != ProgramField::Segments)
        where += QStringLiteral(", pole „%1”").arg(ProgramFieldName(field));
    return {field, index, where + QStringLiteral(": ") + what};
}

bool Finite(double v)
{
    return std::isfinite(v);
}

QString Seconds(qint64 ms)
{
    return FormatFixed(double(ms) / 1000.0, 2);
}

ProgramProblem CheckSource(const ProgramSource& source)
{
    if (!CalFunctions::IsValid(source.calFunction))
        return Refuse(ProgramField::SourceFunction,
                      QStringLiteral("nieznana funkcja źródła kalibratora."));
    if (CalFunctions::IsThermocouple(source.calFunction) &&
        source.coldJunction == ColdJunction::To &&
        (!Finite(source.referenceTemperature) || source.referenceTemperature < 0 ||
         source.referenceTemperature > ProgramLimits::maxReferenceTemperature))
        return Refuse(ProgramField::ReferenceTemperature,
                      QStringLiteral("wartość może mieścić się w zakresie 0.0 - 60.0 °C."));
    if (CalFunctions::IsResistanceThermometer(source.calFunction) && source.leadResistanceOn &&
        (!Finite(source.leadResistance) || source.leadResistance < 0 ||
         source.leadResistance > ProgramLimits::maxLeadResistance))
        return Refuse(ProgramField::LeadResistance,
                      QStringLiteral("wartość może mieścić się w zakresie 0.00 - 50.00 Ohm."));
    return {};
}

ProgramProblem CheckValue(int index, const ProgramSegment& s, ProgramField field, double value,
                          int function)
{
    const CalFunction& f = CalFunctionTable[function];
    const int decimals = DecimalsForFunction(function);
    if (!Finite(value))
        return RefuseSegment(index, s, field, QStringLiteral("błędna wartość."));
    if (value < f.lowLimit || value > f.highLimit)
        return RefuseSegment(index, s, field,
                             QStringLiteral("wartość %1 %2 leży poza zakresem kalibratora "
                                            "%3 - %4 %2.")
                                 .arg(FormatFixed(value, decimals), f.unitText,
                                      FormatFixed(f.lowLimit, decimals),
                                      FormatFixed(f.highLimit, decimals)));
    return {};
}

ProgramProblem CheckCourse(const ProgramDoc& doc, int index)
{
    const ProgramSegment& s = doc.segments[index];
    const int function = doc.source.calFunction;
    const int decimals = DecimalsForFunction(function);
    const QString unit = CalFunctionTable[function].unitText;
    if (ProgramProblem p = CheckValue(index, s, ProgramField::Value, s.from, function); !p.IsNone())
        return p;
    if (s.kind != SegmentKind::Hold) {
        if (ProgramProblem p = CheckValue(index, s, ProgramField::EndValue, s.to, function);
            !p.IsNone())
            return p;
        if (FormatFixed(s.from, decimals) == FormatFixed(s.to, decimals))
            return RefuseSegment(index, s, ProgramField::EndValue,
                                 QStringLiteral("wartość końcowa nie może być równa "
                                                "początkowej."));
        const double resolution = std::pow(10.0, -decimals);
        if (!Finite(s.step) || s.step <= 0)
            return RefuseSegment(index, s, ProgramField::Step,
                                 QStringLiteral("krok musi być większy od zera."));
        if (s.step < resolution * (1 - 1e-9))
            return RefuseSegment(index, s, ProgramField::Step,
                                 QStringLiteral("krok nie może być mniejszy niż %1 %2.")
                                     .arg(FormatFixed(resolution, decimals), unit));
    }
    if (!Finite(s.dwellSeconds) || s.dwellSeconds <= 0 ||
        s.dwellSeconds > ProgramLimits::maxDwellSeconds)
        return RefuseSegment(index, s, ProgramField::Dwell,
                             QStringLiteral("wartość może mieścić się w zakresie 0 - %1 s.")
                                 .arg(ProgramLimits::maxDwellSeconds));
    return {};
}

ProgramProblem CheckRepeat(const ProgramDoc& doc, int index)
{
    const ProgramSegment& s = doc.segments[index];
    if (index == 0)
        return RefuseSegment(index, s, ProgramField::Group,
                             QStringLiteral("przed powtórzeniem nie ma segmentów do "
                                            "powtórzenia."));
    if (s.firstSegment < 0 || s.firstSegment >= index)
        return RefuseSegment(
            index, s, ProgramField::Group,
            QStringLiteral("grupa musi się zaczynać od segmentu 1 - %1.").arg(index));
    // A repeat inside the group must have its whole group inside too.
    for (int j = s.firstSegment; j < index; ++j) {
        const ProgramSegment& inner = doc.segments[j];
        if (inner.kind == SegmentKind::Repeat && inner.firstSegment < s.firstSegment)
            return RefuseSegment(index, s, ProgramField::Group,
                                 QStringLiteral("grupa przecina grupę powtórzenia z segmentu "
                                                "%1.")
                                     .arg(j + 1));
    }
    if (s.times < 1 || s.times > ProgramLimits::maxTimes)
        return RefuseSegment(index, s, ProgramField::Times,
                             QStringLiteral("wartość może mieścić się w zakresie 1 - %1.")
                                 .arg(ProgramLimits::maxTimes));
    return {};
}

} // namespace

QString SegmentKindName(SegmentKind kind)
{
    switch (kind) {
    case SegmentKind::Hold:
        return QStringLiteral("utrzymanie");
    case SegmentKind::Ramp:
        return QStringLiteral("rampa");
    case SegmentKind::Staircase:
        return QStringLiteral("schody");
    case SegmentKind::Repeat:
        return QStringLiteral("powtórzenie");
    }
    return {};
}

QString ProgramFieldName(ProgramField field)
{
    switch (field) {
    case ProgramField::None:
    case ProgramField::Segments:
        return {};
    case ProgramField::SourceFunction:
        return QStringLiteral("Funkcja źródła");
    case ProgramField::ReferenceTemperature:
        return QStringLiteral("To");
    case ProgramField::LeadResistance:
        return QStringLiteral("RL");
    case ProgramField::MeasureRange:
        return QStringLiteral("Zakres pomiaru");
    case ProgramField::TripThreshold:
        return QStringLiteral("Próg zadziałania");
    case ProgramField::Value:
        return QStringLiteral("Od");
    case ProgramField::EndValue:
        return QStringLiteral("Do");
    case ProgramField::Step:
        return QStringLiteral("Krok");
    case ProgramField::Dwell:
        return QStringLiteral("Czas [s]");
    case ProgramField::Group:
        return QStringLiteral("Od segmentu");
    case ProgramField::Times:
        return QStringLiteral("Razy");
    }
    return {};
}

qint64 MinimumDwellMs(const ProgramDoc& doc, const ProgramSegment& segment)
{
    int longest = 0;
    for (double v :
         ProgramCourse::SegmentValues(segment, DecimalsForFunction(doc.source.calFunction)))
        longest = std::max(longest, int(ProgramCourse::SetpointText(doc.source, v).size()));
    const qint64 setpoint = LinkProtocol::TransactionMs(1 + longest);        // "N" and the value
    return setpoint + (doc.Measures() ? LinkProtocol::TransactionMs(1) : 0); // "P"
}

ProgramProblem CheckProgram(const ProgramDoc& doc)
{
    if (ProgramProblem p = CheckSource(doc.source); !p.IsNone())
        return p;
    if (doc.Measures() && !MeasureRangeTable::Find(doc.measureRange))
        return Refuse(ProgramField::MeasureRange,
                      QStringLiteral("nieznany zakres pomiaru kalibratora."));
    if (doc.trip.enabled) {
        if (!doc.Measures())
            return Refuse(ProgramField::TripThreshold,
                          QStringLiteral("warunek zadziałania wymaga zakresu pomiaru."));
        if (!Finite(doc.trip.threshold))
            return Refuse(ProgramField::TripThreshold, QStringLiteral("błędna wartość."));
    }
    if (doc.segments.isEmpty())
        return {ProgramField::Segments, -1, QStringLiteral("Program nie ma żadnego segmentu.")};
    if (doc.segments.size() > ProgramLimits::maxSegments)
        return {ProgramField::Segments, -1,
                QStringLiteral("Program może mieć najwyżej %1 segmentów.")
                    .arg(ProgramLimits::maxSegments)};
    for (int i = 0; i < doc.segments.size(); ++i) {
        const ProgramSegment& s = doc.segments[i];
        const ProgramProblem p =
            s.kind == SegmentKind::Repeat ? CheckRepeat(doc, i) : CheckCourse(doc, i);
        if (!p.IsNone())
            return p;
    }
    // Counted before any segment's values are listed: a tiny step over a wide span is refused
    // without making them.
    if (ProgramCourse::StepCount(doc, ProgramLimits::maxSteps) > ProgramLimits::maxSteps)
        return {ProgramField::Segments, -1,
                QStringLiteral("Program ma więcej niż %1 kroków.").arg(ProgramLimits::maxSteps)};
    for (int i = 0; i < doc.segments.size(); ++i) {
        const ProgramSegment& s = doc.segments[i];
        if (s.kind == SegmentKind::Repeat)
            continue;
        const qint64 shortest = MinimumDwellMs(doc, s);
        if (qint64(std::llround(s.dwellSeconds * 1000)) < shortest)
            return RefuseSegment(
                i, s, ProgramField::Dwell,
                QStringLiteral("%1 s to mniej niż jedna wymiana z kalibratorem%2; najkrótszy "
                               "możliwy czas to %3 s.")
                    .arg(QString::number(s.dwellSeconds),
                         doc.Measures() ? QStringLiteral(" (nastawa i odczyt)") : QString(),
                         Seconds(shortest)));
    }
    return {};
}
