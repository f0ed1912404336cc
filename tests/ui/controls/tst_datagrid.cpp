// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/app/DialogFont.h"
#include "ui/controls/ColorRef.h"
#include "ui/controls/DataGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void colorRefs();
    void headerAndBodyTexts();
    void twipsToPixels_data();
    void twipsToPixels();
    void alignmentAppliesToLaterTexts();
    void cellColours();
    void wholeRowSelection();
    void clickReportsRowAndPosition();
    void firstVisibleRow();
    void redrawOffAndOn();
    void pointsHeadersFitTheirCells();
};

void TestDataGrid::colorRefs()
{
    QCOMPARE(ColorFromColorRef(0x95E393), QColor(0x93, 0xE3, 0x95));
    QCOMPARE(ColorFromColorRef(0x0000FF), QColor(255, 0, 0));
    QCOMPARE(ColorRefFromRgb(0x8C, 0xB8, 0xCC), 0xCCB88Cu);
}

void TestDataGrid::headerAndBodyTexts()
{
    DataGrid grid(51, 4);
    QCOMPARE(grid.rowCount(), 50);
    QCOMPARE(grid.columnCount(), 4);
    grid.setCellText(0, 0, QStringLiteral("Zakres"));
    grid.setCellText(0, 2, QStringLiteral("% wartości mierzonej"));
    grid.setCellText(1, 0, QStringLiteral("400 mV"));
    grid.setCellText(50, 3, QStringLiteral("0.5"));
    grid.setCellText(51, 0, QStringLiteral("beyond")); // ignored
    QCOMPARE(grid.cellText(0, 0), QStringLiteral("Zakres"));
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("% wartości mierzonej"));
    QCOMPARE(grid.cellText(1, 0), QStringLiteral("400 mV"));
    QCOMPARE(grid.item(0, 0)->text(), QStringLiteral("400 mV"));
    QCOMPARE(grid.cellText(50, 3), QStringLiteral("0.5"));
    QCOMPARE(grid.cellText(2, 0), QString());
    QVERIFY(grid.editTriggers() == QAbstractItemView::NoEditTriggers);

    grid.ClearRows(1, 50);
    QCOMPARE(grid.cellText(1, 0), QString());
    QCOMPARE(grid.cellText(50, 3), QString());
    QCOMPARE(grid.cellText(0, 0), QStringLiteral("Zakres"));
}

void TestDataGrid::twipsToPixels_data()
{
    DataColumns<int, int>("twips", "pixels");
    DataRow("ranges: Zakres", 910, 61);
    DataRow("ranges: Czujnik", 2310, 154);
    DataRow("ranges: class", 1150, 77);
    DataRow("points: values", 950, 63);
    DataRow("points: unit, ON", 500, 33);
}

void TestDataGrid::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    DataGrid grid(51, 7);
    grid.setColumnWidthTwips(3, twips);
    QCOMPARE(grid.columnWidth(3), pixels);
    grid.setRowHeightTwips(0, twips);
    QCOMPARE(grid.horizontalHeader()->height(), pixels);
    grid.setRowHeightTwips(5, twips);
    QCOMPARE(grid.rowHeight(4), pixels);
}

void TestDataGrid::alignmentAppliesToLaterTexts()
{
    DataGrid grid(51, 3);
    grid.setCellText(1, 1, QStringLiteral("before"));
    grid.setColumnAlignment(1, Qt::AlignCenter);
    grid.setHeaderAlignment(1, Qt::AlignCenter);
    grid.setCellText(2, 1, QStringLiteral("after"));
    QCOMPARE(Qt::Alignment(grid.item(0, 1)->textAlignment()), Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(Qt::Alignment(grid.item(1, 1)->textAlignment()), Qt::Alignment(Qt::AlignCenter));
    QVERIFY(Qt::Alignment(grid.horizontalHeaderItem(1)->textAlignment()) & Qt::AlignHCenter);
    grid.setCellText(1, 0, QStringLiteral("left"));
    QVERIFY(Qt::Alignment(grid.item(0, 0)->textAlignment()) & Qt::AlignLeft);
}

void TestDataGrid::cellColours()
{
    DataGrid grid(51, 7);
    grid.setGridBackground(ColorFromColorRef(0xCCB88C));
    QCOMPARE(grid.cellBackground(3, 0), ColorFromColorRef(0xCCB88C));
    grid.setCellBackground(3, 0, ColorFromColorRef(0x95E393));
    QCOMPARE(grid.cellBackground(3, 0), ColorFromColorRef(0x95E393));
    QCOMPARE(grid.cellBackground(3, 1), ColorFromColorRef(0xCCB88C));
    grid.setCellTextColor(2, 2, ColorFromColorRef(0x0000FF));
    QCOMPARE(grid.cellTextColor(2, 2), QColor(Qt::red));
    grid.setCellText(2, 2, QStringLiteral("-0.6")); // the colour stays with the cell
    QCOMPARE(grid.cellTextColor(2, 2), QColor(Qt::red));
    grid.setCellTextColor(2, 2, ColorFromColorRef(0));
    QCOMPARE(grid.cellTextColor(2, 2), QColor(Qt::black));

    // The colours are painted.
    grid.resize(500, 300);
    grid.setColumnWidthTwips(0, 950);
    const QImage shot = grid.grab().toImage();
    const QRect cell = grid.visualItemRect(grid.item(2, 0));
    const QPoint inside = grid.viewport()->mapTo(&grid, cell.center());
    QCOMPARE(shot.pixelColor(inside), ColorFromColorRef(0x95E393));
}

void TestDataGrid::wholeRowSelection()
{
    DataGrid grid(51, 7);
    QSignalSpy entered(&grid, &DataGrid::enteredCell);
    QSignalSpy selection(&grid, &DataGrid::rowSelectionChanged);
    grid.SelectWholeRow(4);
    QCOMPARE(grid.currentGridRow(), 4);
    QCOMPARE(grid.currentColumn(), 0);
    QCOMPARE(grid.selectedItems().size() + 0, 0); // no items yet: check the model's selection
    const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 7);
    for (const QModelIndex& index : selected)
        QCOMPARE(index.row(), 3);
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.first().at(0).toInt(), 4);
    QVERIFY(selection.size() >= 1);

    grid.SelectWholeRow(0); // the header cannot be selected
    QCOMPARE(grid.currentGridRow(), 4);
    grid.SelectWholeRow(50);
    QCOMPARE(grid.currentGridRow(), 50);
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 7);
}

void TestDataGrid::clickReportsRowAndPosition()
{
    DataGrid grid(51, 7);
    for (int c = 0; c < 5; ++c)
        grid.setColumnWidthTwips(c, 950);
    grid.setColumnWidthTwips(5, 500);
    grid.setColumnWidthTwips(6, 500);
    grid.resize(420, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy entered(&grid, &DataGrid::enteredCell);
    QSignalSpy clicked(&grid, &DataGrid::gridClicked);
    QSignalSpy pressed(&grid, &DataGrid::mousePressed);
    int rowAtPress = -1;
    connect(&grid, &DataGrid::mousePressed, this, [&] { rowAtPress = grid.currentGridRow(); });

    const QRect onCell = grid.visualRect(grid.model()->index(2, 6));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, onCell.center());
    QCOMPARE(grid.currentGridRow(), 3);
    QCOMPARE(rowAtPress, 3);
    QCOMPARE(entered.last().at(0).toInt(), 3);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().at(0).toInt(), 3);
    QCOMPARE(clicked.first().at(1).toInt(), 6);
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.first().at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    QVERIFY(pressed.first().at(1).value<Qt::KeyboardModifiers>() & Qt::ShiftModifier);
    const int x = pressed.first().at(2).toInt();
    // The "ON" column lies 348-380 px into the body, behind the grid's frame.
    QCOMPARE(grid.columnAt(x - grid.viewport()->x()), 6);
    QVERIFY(x >= 349 && x <= 384);
    // The whole row is selected.
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 7);
}

void TestDataGrid::firstVisibleRow()
{
    DataGrid grid(51, 4);
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.firstVisibleRow(), 1);
    grid.setFirstVisibleRow(10);
    QCOMPARE(grid.firstVisibleRow(), 10);
    QCOMPARE(grid.rowAt(0), 9);
    grid.SelectWholeRow(30); // selecting does not scroll; the page decides
    QCOMPARE(grid.firstVisibleRow(), 10);
    grid.setFirstVisibleRow(30 - 24);
    QCOMPARE(grid.firstVisibleRow(), 6);
    grid.setFirstVisibleRow(0);
    QCOMPARE(grid.firstVisibleRow(), 1);
}

void TestDataGrid::redrawOffAndOn()
{
    DataGrid grid(51, 2);
    grid.setRedraw(false);
    QVERIFY(!grid.updatesEnabled());
    grid.setCellText(1, 0, QStringLiteral("x"));
    grid.setRedraw(true);
    QVERIFY(grid.updatesEnabled());
    QCOMPARE(grid.cellText(1, 0), QStringLiteral("x"));
}

void TestDataGrid::pointsHeadersFitTheirCells()
{
    // The points grid of the meter check: two-line headers in a 500-twip header row.
    DataGrid grid(51, 7);
    grid.setFont(DialogFont());
    grid.setGridBackground(ColorFromColorRef(0xCCB88C));
    grid.setRowHeightTwips(0, 500);
    const QStringList headers = {"Wskazanie miernika",
                                 "Nastawa kalibratora",
                                 "Błąd mier. rzeczyw.",
                                 "Błąd mier. dopuszcz.",
                                 "Błąd kalibratora",
                                 "j.m.",
                                 "ON"};
    for (int c = 0; c < 7; ++c) {
        grid.setColumnWidthTwips(c, c < 5 ? 950 : 500);
        grid.setCellText(0, c, headers[c]);
        grid.setColumnAlignment(c, Qt::AlignCenter);
        grid.setHeaderAlignment(c, Qt::AlignCenter);
    }
    grid.setCellText(1, 0, QStringLiteral("100.2"));
    grid.setCellText(1, 2, QStringLiteral("-0.6"));
    grid.setCellTextColor(1, 2, ColorFromColorRef(0x0000FF));
    grid.setCellText(1, 5, QStringLiteral("mV"));
    grid.setCellText(1, 6, QStringLiteral("+"));
    grid.resize(420, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.grab().save(QStringLiteral("points-grid.png"));
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    QCOMPARE(grid.horizontalHeader()->font(), grid.font());
    for (int c = 0; c < 7; ++c) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, grid.columnWidth(c) - 3, 1000),
                                                  Qt::AlignCenter | Qt::TextWordWrap, headers[c]);
        QVERIFY2(needed.width() <= grid.columnWidth(c) - 3,
                 qPrintable(headers[c] + QString::number(needed.width())));
        QVERIFY2(needed.height() <= grid.horizontalHeader()->height(), qPrintable(headers[c]));
    }
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
