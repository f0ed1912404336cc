// SPDX-License-Identifier: MIT
#include "ui/metercheck/window/CRangesPage.h"

#include "ui/controls/ColorButton.h"
#include "ui/controls/ColorRef.h"
#include "ui/controls/DataGrid.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/PointErrors.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr quint32 lightGreen = 0x95E393;
constexpr quint32 lightBlue = 0xCCB88C;
constexpr quint32 disabledGrey = 0xC0C0C0;
constexpr quint32 red = 0x0000FF;
constexpr quint32 black = 0x000000;

constexpr int rangeWidths[] = {910, 2310, 1150, 1150};
constexpr int pointWidths[] = {950, 950, 950, 950, 950, 500, 500};
constexpr int headerHeightTwips = 500;
constexpr int lastRangeColumn = 3;
constexpr int lastPointColumn = 6;
constexpr int markColumn = 6;

const char* const rangeHeaders[] = {"Zakres", "Czujnik", "% wartości mierzonej", "% zakresu"};
const char* const pointHeaders[] = {"Wskazanie miernika",
                                    "Nastawa kalibratora",
                                    "Błąd mier. rzeczyw.",
                                    "Błąd mier. dopuszcz.",
                                    "Błąd kalibratora",
                                    "j.m.",
                                    "ON"};

bool ValidRange(int range)
{
    return range >= 0 && range < maxRanges;
}

// A grid just wide enough for its columns and its scroll bar.
void FitWidth(DataGrid* grid, int twips)
{
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int frame = 2 * grid->frameWidth();
    grid->setFixedWidth(DataGrid::TwipsToPixels(twips) + frame +
                        grid->verticalScrollBar()->sizeHint().width());
}

} // namespace

CRangesPage::CRangesPage(MeterCheckSession& session, MeterCheckDialogRunner& dialogs,
                         QWidget* parent)
    : QWidget(parent), session(session), logic(session, dialogs)
{
    BuildLayout();
    InitGrids();

    connect(rangesGrid, &DataGrid::enteredCell, this,
            [this](int row) { OnRangesCellEntered(row); });
    connect(pointsGrid, &DataGrid::enteredCell, this,
            [this](int row) { OnPointsCellEntered(row); });
    for (DataGrid* grid : {rangesGrid, pointsGrid}) {
        connect(grid, &DataGrid::rowSelectionChanged, this, [this, grid] {
            if (quiet == 0)
                KeepRowInView(grid, grid->currentGridRow());
        });
    }
    connect(pointsGrid, &DataGrid::mousePressed, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                OnPointsMousePressed(x, y);
            });

    const QList<void (CRangesPage::*)()> handlers = {
        &CRangesPage::OnAddRange, &CRangesPage::OnDeleteRange, &CRangesPage::OnEditRange,
        &CRangesPage::OnAddPoint, &CRangesPage::OnDeletePoint, &CRangesPage::OnEditPoint,
        &CRangesPage::OnMarkAll};
    for (int i = 0; i < buttons.size(); ++i)
        connect(buttons[i], &QPushButton::clicked, this, handlers[i]);
    UpdateButtons();
}

void CRangesPage::BuildLayout()
{
    rangesGrid = new DataGrid(gridRows, 4, this);
    rangesGrid->setObjectName(QStringLiteral("rangesGrid"));
    pointsGrid = new DataGrid(gridRows, 7, this);
    pointsGrid->setObjectName(QStringLiteral("pointsGrid"));

    // Made in the order of Button, so that buttons[int(b)] is button b.
    auto makeButton = [this](const QString& text, const char* name) {
        auto* b = new ColorButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(false);
        buttons << b;
        return b;
    };
    auto makeFrame = [](const QString& title, const QList<ColorButton*>& members) {
        auto* frame = new QGroupBox(title);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(8, 4, 8, 6);
        for (ColorButton* b : members)
            row->addWidget(b);
        return frame;
    };

    QGroupBox* rangeFrame = makeFrame(QStringLiteral("   Zakresy pomiarowe   "),
                                      {makeButton(QStringLiteral("Dodaj"), "addRangeButton"),
                                       makeButton(QStringLiteral("Usuń"), "deleteRangeButton"),
                                       makeButton(QStringLiteral("Edytuj"), "editRangeButton")});
    QGroupBox* pointFrame = makeFrame(QStringLiteral("   Punkty pomiarowe   "),
                                      {makeButton(QStringLiteral("Dodaj"), "addPointButton"),
                                       makeButton(QStringLiteral("Usuń"), "deletePointButton"),
                                       makeButton(QStringLiteral("Edytuj"), "editPointButton"),
                                       makeButton(QStringLiteral("ON/OFF"), "markAllButton")});

    auto* left = new QVBoxLayout;
    left->addWidget(rangesGrid, 1);
    left->addWidget(rangeFrame);
    auto* right = new QVBoxLayout;
    right->addWidget(pointsGrid, 1);
    right->addWidget(pointFrame);
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(6);
    page->addLayout(left);
    page->addLayout(right);
}

void CRangesPage::InitGrids()
{
    rangesGrid->setGridBackground(ColorFromColorRef(lightGreen));
    pointsGrid->setGridBackground(ColorFromColorRef(lightBlue));

    int total = 0;
    for (int c = 0; c <= lastRangeColumn; ++c) {
        rangesGrid->setColumnWidthTwips(c, rangeWidths[c]);
        total += rangeWidths[c];
        rangesGrid->setCellText(0, c, QString::fromUtf8(rangeHeaders[c]));
        rangesGrid->setColumnAlignment(c, Qt::AlignCenter);
        if (c <= 2) // the last header keeps the grid's own alignment
            rangesGrid->setHeaderAlignment(c, Qt::AlignCenter);
    }
    rangesGrid->setRowHeightTwips(0, headerHeightTwips);
    FitWidth(rangesGrid, total);

    total = 0;
    pointsGrid->setRowHeightTwips(0, headerHeightTwips);
    for (int c = 0; c <= lastPointColumn; ++c) {
        pointsGrid->setColumnWidthTwips(c, pointWidths[c]);
        total += pointWidths[c];
        pointsGrid->setCellText(0, c, QString::fromUtf8(pointHeaders[c]));
        pointsGrid->setColumnAlignment(c, Qt::AlignCenter);
        pointsGrid->setHeaderAlignment(c, Qt::AlignCenter);
    }
    FitWidth(pointsGrid, total);

    SelectRow(rangesGrid, 1);
    SelectRow(pointsGrid, 1);
}

void CRangesPage::SelectRow(DataGrid* grid, int row)
{
    ++quiet;
    grid->SelectWholeRow(qBound(1, row, gridRows - 1));
    --quiet;
}

void CRangesPage::KeepRowInView(DataGrid* grid, int row)
{
    if (row > scrollMargin)
        grid->setFirstVisibleRow(row - scrollMargin);
    // A grid shorter than 25 rows must still show the selected row.
    if (row >= 1)
        grid->scrollTo(grid->model()->index(row - 1, 0));
}

void CRangesPage::OnShowPage()
{
    const qint16 pointAtShow = session.currentPoint;
    rangesGrid->ClearRows(1, gridRows - 1);
    pointsGrid->ClearRows(1, gridRows - 1);
    if (session.meterCheckState == MeterCheckMode::NewDocument ||
        session.meterCheckState == MeterCheckMode::OpenedDocument)
        ColourMethodColumns();

    FillRangesGrid();
    SelectRow(rangesGrid, session.currentRange + 1);

    session.currentPoint = pointAtShow;
    FillPointsGrid(session.currentRange);
    SelectRow(pointsGrid, session.currentPoint + 1);

    rangesGrid->setFirstVisibleRow(1);
    pointsGrid->setFirstVisibleRow(1);
    UpdateButtons();
}

void CRangesPage::ColourMethodColumns()
{
    // The column of the nominal value typed by the user is light green, the measured one blue.
    const bool exactReading = session.document.method == CheckMethod::ExactReading;
    const QColor typed = ColorFromColorRef(lightGreen);
    const QColor measured = ColorFromColorRef(lightBlue);
    pointsGrid->setRedraw(false);
    for (int row = 1; row < gridRows; ++row) {
        pointsGrid->setCellBackground(row, 0, exactReading ? typed : measured);
        pointsGrid->setCellBackground(row, 1, exactReading ? measured : typed);
    }
    pointsGrid->setRedraw(true);
}

void CRangesPage::FillRangesGrid()
{
    rangesGrid->ClearRows(1, gridRows - 1);
    for (int i = 0; i < maxRanges; ++i) {
        const MeterRange& range = session.document.ranges[i];
        if (range.rangeDefined != 1)
            continue;
        const QStringList cells = RangesPageLogic::RangeRowTexts(range);
        for (int c = 0; c < cells.size(); ++c)
            rangesGrid->setCellText(i + 1, c, cells[c]);
    }
    UpdateButtons();
}

void CRangesPage::FillPointsGrid(int range)
{
    pointsGrid->ClearRows(1, gridRows - 1);
    if (ValidRange(range)) {
        for (int j = 0; j < maxPoints; ++j) {
            const MeterPoint& point = session.document.ranges[range].points[j];
            if (point.pointDefined != 1)
                continue;
            const QStringList cells = RangesPageLogic::PointRowTexts(point);
            pointsGrid->setRedraw(false);
            pointsGrid->setCellTextColor(
                j + 1, 2, ColorFromColorRef(ErrorExceedsPermissible(point) ? red : black));
            pointsGrid->setRedraw(true);
            for (int c = 0; c < cells.size(); ++c)
                pointsGrid->setCellText(j + 1, c, cells[c]);
        }
    }
    SelectRow(pointsGrid, session.currentPoint + 1);
    UpdateButtons();
}

void CRangesPage::SelectPointsRow(int row)
{
    SelectRow(pointsGrid, row);
    KeepRowInView(pointsGrid, row);
}

void CRangesPage::UpdateButtons()
{
    const RangesPageButtons states = logic.ButtonStates();
    const bool enabled[] = {states.addRange, states.deleteRange, states.editRange,
                            states.addPoint, states.deletePoint, states.editPoint,
                            states.markAll};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i]->setEnabled(enabled[i]);
        buttons[i]->setBackColor(ColorFromColorRef(enabled[i] ? lightGreen : disabledGrey));
    }
}

void CRangesPage::OnRangesCellEntered(int row)
{
    if (quiet > 0)
        return;
    session.currentRange = qint16(row - 1);
    session.currentPoint = 0;
    FillPointsGrid(session.currentRange);
    pointsGrid->setFirstVisibleRow(1);
    SelectRow(pointsGrid, 1);
    UpdateButtons();
}

void CRangesPage::OnPointsCellEntered(int row)
{
    if (quiet > 0)
        return;
    session.currentPoint = qint16(row - 1);
    UpdateButtons();
}

void CRangesPage::OnPointsMousePressed(int x, int y)
{
    const QPoint inViewport = pointsGrid->viewport()->mapFrom(pointsGrid, QPoint(x, y));
    if (pointsGrid->columnAt(inViewport.x()) != markColumn)
        return;
    const int row = pointsGrid->currentGridRow();
    if (!logic.ToggleMarked(row))
        return;
    const MeterPoint& point = session.document.ranges[session.currentRange].points[row - 1];
    pointsGrid->setCellText(row, markColumn, RangesPageLogic::PointRowTexts(point).at(markColumn));
}

void CRangesPage::OnAddRange()
{
    const bool added = logic.AddRange(rangesGrid->currentGridRow());
    if (added) {
        // The new range has no points yet: its list starts at the first row.
        session.currentPoint = 0;
        FillRangesGrid();
        FillPointsGrid(session.currentRange);
    }
    const int row = session.currentRange + 1;
    SelectRow(rangesGrid, row);
    rangesGrid->setFirstVisibleRow(qMax(1, row - scrollMargin));
    KeepRowInView(rangesGrid, row);
    UpdateButtons();
}

void CRangesPage::OnDeleteRange()
{
    const int row = rangesGrid->currentGridRow();
    logic.DeleteRange(row);
    FillRangesGrid();
    OnRangesCellEntered(row);
}

void CRangesPage::OnEditRange()
{
    if (logic.EditRange(rangesGrid->currentGridRow()))
        FillRangesGrid();
}

void CRangesPage::OnAddPoint()
{
    if (!logic.AddPoint(pointsGrid->currentGridRow())) {
        UpdateButtons();
        return;
    }
    FillPointsGrid(session.currentRange);
    const int row = session.currentPoint + 1;
    SelectRow(pointsGrid, row);
    KeepRowInView(pointsGrid, row);
    UpdateButtons();
}

void CRangesPage::OnDeletePoint()
{
    logic.DeletePoint(pointsGrid->currentGridRow());
    FillPointsGrid(session.currentRange);
}

void CRangesPage::OnEditPoint()
{
    if (logic.EditPoint())
        FillPointsGrid(session.currentRange);
}

void CRangesPage::OnMarkAll()
{
    logic.MarkAll();
    FillPointsGrid(session.currentRange);
}
