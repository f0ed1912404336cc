// SPDX-License-Identifier: MIT
#pragma once

// What a measurement run needs of the ranges page: its points grid refilled with a range's
// points, and a row of it selected as the run moves from point to point. The window shows the
// range being measured (currentRange) in the grid.
class PointsGridView
{
public:
    virtual ~PointsGridView() = default;

    // Empties the points grid and writes every defined point of the range into it.
    virtual void FillPointsGrid(int range) = 0;

    // Makes grid row `row` (1-50; the header is row 0) current and selects the whole row
    // (columns 0 to 6).
    virtual void SelectPointsRow(int row) = 0;
};
