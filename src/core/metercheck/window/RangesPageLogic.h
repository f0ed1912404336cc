// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class MeterCheckDialogRunner;
struct MeterCheckSession;
struct MeterPoint;
struct MeterRange;

// Which of the page's seven buttons may be used.
struct RangesPageButtons
{
    bool addRange = false;
    bool deleteRange = false;
    bool editRange = false;
    bool addPoint = false;
    bool deletePoint = false;
    bool editPoint = false;
    bool markAll = false;
};

// The rules of the ranges and points page, on the session's document, currentRange and
// currentPoint.
// Grid rows are counted as the page shows them: row 0 is the header, row r shows slot r-1.
// Ranges and the points of every range stay packed in slots 0..n-1.
class RangesPageLogic
{
public:
    RangesPageLogic(MeterCheckSession& session, MeterCheckDialogRunner& dialogs);

    // Button states from the document, currentRange and currentPoint.
    RangesPageButtons ButtonStates() const;

    // The four cells of a range row and the seven cells of a point row.
    static QStringList RangeRowTexts(const MeterRange& range);
    static QStringList PointRowTexts(const MeterPoint& point);

    // "Dodaj" (ranges): a new range before grid row `row`, filled in the range editor. Cancel
    // puts every slot back exactly as it was. True when a range was added.
    bool AddRange(int row);
    // "Usuń" (ranges), without a question. True when a range was removed.
    bool DeleteRange(int row);
    // "Edytuj" (ranges). True when the editor ended with OK.
    bool EditRange(int row);

    // "Dodaj" (points): a new point before grid row `row` of range currentRange; on OK
    // currentPoint moves to the row after the new point. True when a point was added.
    bool AddPoint(int row);
    // "Usuń" (points), without a question. True when a point was removed.
    bool DeletePoint(int row);
    // "Edytuj" (points) on currentPoint. True when the dialog ended with OK.
    bool EditPoint();

    // A press in the "ON" column of grid row `row`: switches that point ON or OFF. False when
    // the row holds no point.
    bool ToggleMarked(int row);
    // "ON/OFF": every defined point of currentRange ON, or OFF, by turns (markAllState).
    void MarkAll();

private:
    bool RangeIsDefined(int range) const;

    MeterCheckSession& session;
    MeterCheckDialogRunner& dialogs;
};
