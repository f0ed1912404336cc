// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/run/PointsGridView.h"
#include "core/metercheck/window/RangesPageLogic.h"

#include <QWidget>

class ColorButton;
class DataGrid;
class MeterCheckDialogRunner;
struct MeterCheckSession;

// The first page of the meter check window: the document's ranges in the left grid, the
// points of the selected range in the right one, and the buttons that add, delete and edit
// them and switch points ON or OFF. The rules are RangesPageLogic's.
class CRangesPage : public QWidget, public PointsGridView
{
    Q_OBJECT

public:
    // The page's buttons, in the order of the controls.
    enum class Button
    {
        AddRange,
        DeleteRange,
        EditRange,
        AddPoint,
        DeletePoint,
        EditPoint,
        MarkAll,
    };
    static constexpr int buttonCount = 7;

    CRangesPage(MeterCheckSession& session, MeterCheckDialogRunner& dialogs,
                QWidget* parent = nullptr);

    // Refills both grids from the document; the window calls it each time it shows the page.
    void OnShowPage();

    void FillRangesGrid();
    void FillPointsGrid(int range) override;
    void SelectPointsRow(int row) override;

    static constexpr int gridRows = 51; // the header and 50 slots
    static constexpr int scrollMargin = 24;

private:
    void BuildLayout();
    void InitGrids();
    void ColourMethodColumns();
    void UpdateButtons();
    void SelectRow(DataGrid* grid, int row);
    void KeepRowInView(DataGrid* grid, int row);

    void OnRangesCellEntered(int row);
    void OnPointsCellEntered(int row);
    void OnPointsMousePressed(int x, int y);
    void OnAddRange();
    void OnDeleteRange();
    void OnEditRange();
    void OnAddPoint();
    void OnDeletePoint();
    void OnEditPoint();
    void OnMarkAll();

    MeterCheckSession& session;
    RangesPageLogic logic;
    DataGrid* rangesGrid = nullptr;
    DataGrid* pointsGrid = nullptr;
    QList<ColorButton*> buttons;
    int quiet = 0; // > 0 while the page itself moves the grids' current cells
};
