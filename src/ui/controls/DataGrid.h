// SPDX-License-Identifier: MIT
#pragma once

#include <QTableWidget>

// A read-only grid of texts with one header row, the way the meter check pages show ranges and
// points. Rows are numbered as the pages count them: row 0 is the header, rows 1..n the body.
// Sizes are given in twips (15 twips = 1 pixel at 96 dpi). A click selects the whole row.
class DataGrid : public QTableWidget
{
    Q_OBJECT

public:
    // rows counts the header row too (51 gives a header and 50 body rows).
    DataGrid(int rows, int columns, QWidget* parent = nullptr);

    static int TwipsToPixels(int twips) { return (twips + 7) / 15; }

    // Text of one cell; row 0 is the header.
    void setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;
    // Empties the texts of body rows first..last (colours stay).
    void ClearRows(int first, int last);

    // Text and background colour of one body cell; an invalid colour returns to the grid's own.
    void setCellTextColor(int row, int column, const QColor& color);
    QColor cellTextColor(int row, int column) const;
    void setCellBackground(int row, int column, const QColor& color);
    QColor cellBackground(int row, int column) const;
    // Background of the cells that have no colour of their own.
    void setGridBackground(const QColor& color);

    void setColumnWidthTwips(int column, int twips);
    // Row 0 sets the header's height.
    void setRowHeightTwips(int row, int twips);
    // Alignment of a column's body cells (also of texts written later) and of its header cell.
    void setColumnAlignment(int column, Qt::Alignment alignment);
    void setHeaderAlignment(int column, Qt::Alignment alignment);

    // The current cell, in grid rows (1..n; 0 when nothing is current).
    int currentGridRow() const;
    // Makes (row, column 0) current and selects the whole row, without moving the view.
    void SelectWholeRow(int row);
    // Scrolls so that the given body row is the first one shown.
    void setFirstVisibleRow(int row);
    int firstVisibleRow() const;

    // Switches repainting off around bulk changes and on again (which repaints once).
    void setRedraw(bool on);

signals:
    // The current cell moved (by the user or by the program); grid numbering.
    void enteredCell(int row, int column);
    // The selected row changed.
    void rowSelectionChanged();
    // A click on a body cell.
    void gridClicked(int row, int column);
    // A mouse button went down over the body (reported after the current cell moved there);
    // x and y in pixels from the grid's top left.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTableWidgetItem* BodyItem(int row, int column);
    QList<Qt::Alignment> columnAlignments;
};
