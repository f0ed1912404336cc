// SPDX-License-Identifier: MIT
#include "core/program/ProgramForm.h"

#include <cmath>

namespace {

QString Number(double value)
{
    return QString::number(value, 'g', 12);
}

// The number in `text` ("," taken as the decimal point too); false when it is no number.
bool Read(const QString& text, double* value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool ReadWhole(const QString& text, int* value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

ProgramProblem NotANumber(ProgramField field)
{
    return {field, -1,
            QStringLiteral("Pole „%1”: błędnie podana liczba.").arg(ProgramFieldName(field))};
}

ProgramProblem SegmentNotANumber(int index, SegmentKind kind, ProgramField field)
{
    return {field, index,
            QStringLiteral("Segment %1 (%2), pole „%3”: błędnie podana liczba.")
                .arg(index + 1)
                .arg(SegmentKindName(kind), ProgramFieldName(field))};
}

} // namespace

ProgramForm::Row ProgramForm::FromSegment(const ProgramSegment& s)
{
    Row r;
    r.kind = s.kind;
    switch (s.kind) {
    case SegmentKind::Hold:
        r.from = Number(s.from);
        r.dwell = Number(s.dwellSeconds);
        break;
    case SegmentKind::Ramp:
    case SegmentKind::Staircase:
        r.from = Number(s.from);
        r.to = Number(s.to);
        r.step = Number(s.step);
        r.dwell = Number(s.dwellSeconds);
        break;
    case SegmentKind::Repeat:
        r.first = QString::number(s.firstSegment + 1);
        r.times = QString::number(s.times);
        break;
    }
    return r;
}

ProgramForm ProgramForm::FromDoc(const ProgramDoc& doc)
{
    ProgramForm f;
    f.name = doc.name;
    f.notes = doc.notes;
    f.calFunction = doc.source.calFunction;
    f.coldJunction = doc.source.coldJunction;
    f.referenceTemperature = Number(doc.source.referenceTemperature);
    f.leadResistanceOn = doc.source.leadResistanceOn;
    f.leadResistance = Number(doc.source.leadResistance);
    f.measureRange = doc.measureRange;
    f.tripEnabled = doc.trip.enabled;
    f.direction = doc.trip.direction;
    f.threshold = Number(doc.trip.threshold);
    for (const ProgramSegment& s : doc.segments)
        f.rows << FromSegment(s);
    return f;
}

ProgramProblem ProgramForm::ToDoc(ProgramDoc* doc) const
{
    ProgramDoc d;
    d.name = name.trimmed();
    d.notes = notes;
    d.source.calFunction = calFunction;
    d.source.coldJunction = coldJunction;
    d.source.leadResistanceOn = leadResistanceOn;
    d.measureRange = measureRange;
    d.trip.enabled = tripEnabled;
    d.trip.direction = direction;
    if (coldJunction == ColdJunction::To &&
        !Read(referenceTemperature, &d.source.referenceTemperature))
        return NotANumber(ProgramField::ReferenceTemperature);
    if (leadResistanceOn && !Read(leadResistance, &d.source.leadResistance))
        return NotANumber(ProgramField::LeadResistance);
    if (tripEnabled && !Read(threshold, &d.trip.threshold))
        return NotANumber(ProgramField::TripThreshold);
    for (int i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        ProgramSegment s;
        s.kind = r.kind;
        const bool course = r.kind == SegmentKind::Ramp || r.kind == SegmentKind::Staircase;
        const struct
        {
            const QString& text;
            double* value;
            ProgramField field;
            bool needed;
        } numbers[] = {
            {r.from, &s.from, ProgramField::Value, r.kind != SegmentKind::Repeat},
            {r.to, &s.to, ProgramField::EndValue, course},
            {r.step, &s.step, ProgramField::Step, course},
            {r.dwell, &s.dwellSeconds, ProgramField::Dwell, r.kind != SegmentKind::Repeat},
        };
        for (const auto& n : numbers) {
            if (n.needed && !Read(n.text, n.value))
                return SegmentNotANumber(i, r.kind, n.field);
        }
        if (r.kind == SegmentKind::Repeat) {
            if (!ReadWhole(r.first, &s.firstSegment))
                return SegmentNotANumber(i, r.kind, ProgramField::Group);
            --s.firstSegment;
            if (!ReadWhole(r.times, &s.times))
                return SegmentNotANumber(i, r.kind, ProgramField::Times);
        }
        d.segments << s;
    }
    const ProgramProblem problem = CheckProgram(d);
    if (problem.IsNone())
        *doc = d;
    return problem;
}
