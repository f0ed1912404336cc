// SPDX-License-Identifier: MIT
#include "ui/controls/DataGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace {
constexpr int defaultRowTwips = 240;
}

DataGrid::DataGrid(int rows, int columns, QWidget* parent)
    : QTableWidget(qMax(rows - 1, 0), columns, parent),
      columnAlignments(columns, Qt::AlignLeft | Qt::AlignVCenter)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(TwipsToPixels(defaultRowTwips));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter) |
                                            Qt::Alignment(Qt::TextWordWrap));
    horizontalHeader()->setFont(font());
    for (int c = 0; c < columns; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);

    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0)
            emit enteredCell(row + 1, column);
    });
    connect(this, &QTableWidget::itemSelectionChanged, this, &DataGrid::rowSelectionChanged);
    connect(this, &QTableWidget::cellClicked, this,
            [this](int row, int column) { emit gridClicked(row + 1, column); });
}

QTableWidgetItem* DataGrid::BodyItem(int row, int column)
{
    if (row < 1 || row > rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    QTableWidgetItem* cell = item(row - 1, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setTextAlignment(columnAlignments.value(column));
        setItem(row - 1, column, cell);
    }
    return cell;
}

void DataGrid::setCellText(int row, int column, const QString& text)
{
    if (row == 0) {
        if (QTableWidgetItem* header = horizontalHeaderItem(column))
            header->setText(text);
        return;
    }
    if (QTableWidgetItem* cell = BodyItem(row, column))
        cell->setText(text);
}

QString DataGrid::cellText(int row, int column) const
{
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
    return cell ? cell->text() : QString();
}

void DataGrid::ClearRows(int first, int last)
{
    for (int row = qMax(first, 1); row <= qMin(last, rowCount()); ++row)
        for (int column = 0; column < columnCount(); ++column)
            if (QTableWidgetItem* cell = item(row - 1, column))
                cell->setText(QString());
}

void DataGrid::setCellTextColor(int row, int column, const QColor& color)
{
    if (QTableWidgetItem* cell = BodyItem(row, column))
        cell->setForeground(color.isValid() ? QBrush(color) : QBrush());
}

QColor DataGrid::cellTextColor(int row, int column) const
{
    const QTableWidgetItem* cell = row >= 1 ? item(row - 1, column) : nullptr;
    if (cell && cell->foreground().style() != Qt::NoBrush)
        return cell->foreground().color();
    return palette().color(QPalette::Text);
}

void DataGrid::setCellBackground(int row, int column, const QColor& color)
{
    if (QTableWidgetItem* cell = BodyItem(row, column))
        cell->setBackground(color.isValid() ? QBrush(color) : QBrush());
}

QColor DataGrid::cellBackground(int row, int column) const
{
    const QTableWidgetItem* cell = row >= 1 ? item(row - 1, column) : nullptr;
    if (cell && cell->background().style() != Qt::NoBrush)
        return cell->background().color();
    return palette().color(QPalette::Base);
}

void DataGrid::setGridBackground(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void DataGrid::setColumnWidthTwips(int column, int twips)
{
    setColumnWidth(column, TwipsToPixels(twips));
}

void DataGrid::setRowHeightTwips(int row, int twips)
{
    if (row == 0)
        horizontalHeader()->setFixedHeight(TwipsToPixels(twips));
    else if (row <= rowCount())
        setRowHeight(row - 1, TwipsToPixels(twips));
}

void DataGrid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (column < 0 || column >= columnCount())
        return;
    columnAlignments[column] = alignment;
    for (int row = 0; row < rowCount(); ++row)
        if (QTableWidgetItem* cell = item(row, column))
            cell->setTextAlignment(alignment);
}

void DataGrid::setHeaderAlignment(int column, Qt::Alignment alignment)
{
    if (QTableWidgetItem* header = horizontalHeaderItem(column))
        header->setTextAlignment(alignment | Qt::Alignment(Qt::TextWordWrap));
}

int DataGrid::currentGridRow() const
{
    return currentRow() + 1;
}

void DataGrid::SelectWholeRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    // Moving the current cell must not scroll: the pages decide what is shown.
    const int top = verticalScrollBar()->value();
    setCurrentCell(row - 1, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    verticalScrollBar()->setValue(top);
}

void DataGrid::setFirstVisibleRow(int row)
{
    verticalScrollBar()->setValue(qMax(row, 1) - 1);
}

int DataGrid::firstVisibleRow() const
{
    return verticalScrollBar()->value() + 1;
}

void DataGrid::setRedraw(bool on)
{
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void DataGrid::changeEvent(QEvent* event)
{
    // The header does not follow the grid's font by itself.
    if (event->type() == QEvent::FontChange)
        horizontalHeader()->setFont(font());
    QTableWidget::changeEvent(event);
}

bool DataGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QTableWidget::viewportEvent(event);
    // Reported after the grid has moved its current cell, so Row is the pressed row.
    const auto* press = static_cast<QMouseEvent*>(event);
    const Qt::MouseButton button = press->button();
    const Qt::KeyboardModifiers modifiers = press->modifiers();
    const QPoint inGrid = viewport()->mapTo(this, press->position().toPoint());
    const bool handled = QTableWidget::viewportEvent(event);
    emit mousePressed(button, modifiers, inGrid.x(), inGrid.y());
    return handled;
}
