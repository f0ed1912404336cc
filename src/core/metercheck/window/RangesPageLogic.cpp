// SPDX-License-Identifier: MIT
#include "core/metercheck/window/RangesPageLogic.h"

#include "core/metercheck/entry/RangeDescription.h"
#include "core/metercheck/document/DocumentSlots.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/window/MeterCheckDialogRunner.h"

RangesPageLogic::RangesPageLogic(MeterCheckSession& session, MeterCheckDialogRunner& dialogs)
    : session(session), dialogs(dialogs)
{}

bool RangesPageLogic::RangeIsDefined(int range) const
{
    return range >= 0 && range < maxRanges && session.document.ranges[range].rangeDefined == 1;
}

RangesPageButtons RangesPageLogic::ButtonStates() const
{
    RangesPageButtons b;
    const int n = CountRanges(session.document);
    b.addRange = n < maxRanges && session.currentRange <= n;
    b.deleteRange = session.currentRange < n;
    b.editRange = b.deleteRange;
    if (RangeIsDefined(session.currentRange)) {
        const int m = CountPoints(session.document, session.currentRange);
        b.addPoint = m < maxPoints && session.currentPoint <= m;
        b.deletePoint = session.currentPoint < m;
        b.editPoint = b.deletePoint;
        b.markAll = b.deletePoint;
    }
    return b;
}

QStringList RangesPageLogic::RangeRowTexts(const MeterRange& range)
{
    QString classRange = range.classRange;
    if (!range.constTerm.isEmpty()) {
        const QString unit =
            range.function == RangeFunction::Thermocouple || range.function == RangeFunction::Rtd
                ? QStringLiteral("°C")
                : range.constUnit;
        classRange += QLatin1Char('+') + range.constTerm + unit;
    }
    return {range.rangeValue + QLatin1Char(' ') + range.rangeUnit, SensorWithSuffix(range),
            range.classReading, classRange};
}

QStringList RangesPageLogic::PointRowTexts(const MeterPoint& point)
{
    return {point.reading,
            point.setting,
            point.actualError,
            point.permissibleError,
            point.calibratorError,
            point.unit,
            point.marked == 1 ? QStringLiteral("+") : QString()};
}

bool RangesPageLogic::AddRange(int row)
{
    session.meterCheckState = MeterCheckMode::AddRange;
    session.currentRange = qint16(row - 1);
    MeterCheckDoc& doc = session.document;
    // Cancelling must leave every slot as it was, the calFunction presets of free slots
    // included, so the slots are kept aside rather than moved back.
    const auto before = doc.ranges;
    if (!InsertRangeSlot(doc, session.currentRange))
        return false; // the editor would overwrite a defined range
    if (!dialogs.RunRangeDialog(session.meterCheckState, session.currentRange)) {
        doc.ranges = before;
        return false;
    }
    session.SetModified(true);
    return true;
}

bool RangesPageLogic::DeleteRange(int row)
{
    session.currentRange = qint16(row - 1);
    if (!RemoveRangeSlot(session.document, session.currentRange))
        return false;
    session.SetModified(true);
    return true;
}

bool RangesPageLogic::EditRange(int row)
{
    session.meterCheckState = MeterCheckMode::EditRange;
    session.currentRange = qint16(row - 1);
    if (!RangeIsDefined(session.currentRange) ||
        !dialogs.RunRangeDialog(session.meterCheckState, session.currentRange))
        return false;
    session.SetModified(true);
    return true;
}

bool RangesPageLogic::AddPoint(int row)
{
    session.meterCheckState = MeterCheckMode::AddPoint;
    session.currentPoint = qint16(row - 1);
    const int range = session.currentRange;
    if (!RangeIsDefined(range))
        return false;
    auto& points = session.document.ranges[range].points;
    const auto before = points;
    if (!InsertPointSlot(session.document, range, session.currentPoint))
        return false;
    if (!dialogs.RunPointDialog(session.meterCheckState, range, session.currentPoint)) {
        points = before;
        return false;
    }
    session.SetModified(true);
    session.currentPoint += 1;
    return true;
}

bool RangesPageLogic::DeletePoint(int row)
{
    session.currentPoint = qint16(row - 1);
    const int range = session.currentRange;
    if (!RangeIsDefined(range) || !RemovePointSlot(session.document, range, session.currentPoint))
        return false;
    session.SetModified(true);
    return true;
}

bool RangesPageLogic::EditPoint()
{
    session.meterCheckState = MeterCheckMode::EditPoint;
    const int range = session.currentRange;
    const int point = session.currentPoint;
    if (!RangeIsDefined(range) || point < 0 || point >= CountPoints(session.document, range) ||
        !dialogs.RunPointDialog(session.meterCheckState, range, point))
        return false;
    session.SetModified(true);
    return true;
}

bool RangesPageLogic::ToggleMarked(int row)
{
    const int slot = row - 1;
    if (!RangeIsDefined(session.currentRange) || slot < 0 || slot >= maxPoints)
        return false;
    MeterPoint& point = session.document.ranges[session.currentRange].points[slot];
    if (point.pointDefined != 1)
        return false;
    point.marked = point.marked == 1 ? 0 : 1;
    session.SetModified(true);
    return true;
}

void RangesPageLogic::MarkAll()
{
    session.SetModified(true);
    session.markAllState = !session.markAllState;
    if (session.currentRange < 0 || session.currentRange >= maxRanges)
        return;
    for (MeterPoint& point : session.document.ranges[session.currentRange].points)
        if (point.pointDefined == 1)
            point.marked = session.markAllState ? 1 : 0;
}
