// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/DataGrid.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/window/CRangesPage.h"

#include "DocumentBuilder.h"
#include "ScopedDocument.h"
#include "MeterCheckWindowFakes.h"

#include <QApplication>
#include <QTest>

namespace {

const QColor lightGreen(0x93, 0xE3, 0x95); // 0x95E393 as a Windows colour value
const QColor lightBlue(0x8C, 0xB8, 0xCC);  // 0xCCB88C
const QColor grey(0xC0, 0xC0, 0xC0);

} // namespace

class TestRangesPage : public QObject
{
    Q_OBJECT

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    ScriptedDialogs dialogs;
    std::unique_ptr<CRangesPage> page;

    // A range of `value` V in `slot`, class 0.5, with `pointCount` points of 1.0, 2.0, ... V,
    // every second one marked.
    void PutRange(int slot, const QString& value, int pointCount = 0)
    {
        DocumentBuilder b(doc);
        b.Range(slot, RangeFunction::Voltage, value, "V")
            .ClassRange("0.5")
            .CalFunction(qint16(slot % 20));
        for (int j = 0; j < pointCount; ++j)
            b.Point({"", QString::number(j + 1) + ".0", "", "", "", "V", quint8(j % 2), 1, 0, 0});
    }

    // The page's grids and buttons, by their object names.
    DataGrid* Ranges() const { return Child<DataGrid>(page.get(), "rangesGrid"); }
    DataGrid* Points() const { return Child<DataGrid>(page.get(), "pointsGrid"); }
    ColorButton* ButtonOf(CRangesPage::Button b) const
    {
        static const char* const names[CRangesPage::buttonCount] = {
            "addRangeButton",    "deleteRangeButton", "editRangeButton", "addPointButton",
            "deletePointButton", "editPointButton",   "markAllButton"};
        return Child<ColorButton>(page.get(), names[int(b)]);
    }
    bool Enabled(CRangesPage::Button b) const { return ButtonOf(b)->isEnabled(); }
    QList<bool> AllButtons() const
    {
        QList<bool> states;
        for (int b = 0; b < CRangesPage::buttonCount; ++b)
            states << Enabled(CRangesPage::Button(b));
        return states;
    }
    void Click(CRangesPage::Button b) { QTest::mouseClick(ButtonOf(b), Qt::LeftButton); }
    // The user's choice of a row: the arrow key down from the row above (or row 1 itself).
    void ChooseRow(DataGrid* grid, int row)
    {
        grid->setFocus();
        grid->SelectWholeRow(qMax(1, row - 1));
        if (row > 1)
            QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentGridRow(), row);
    }
    void Show()
    {
        page->show();
        page->OnShowPage();
    }

private slots:
    void init()
    {
        session.Reset();
        session.meterCheckState = MeterCheckMode::NewDocument;
        dialogs = ScriptedDialogs();
        page = std::make_unique<CRangesPage>(session, dialogs);
        page->resize(800, 560);
    }

    void gridsAsLaidOut()
    {
        DataGrid* r = Ranges();
        DataGrid* p = Points();
        QCOMPARE(r->rowCount(), 50);
        QCOMPARE(p->rowCount(), 50);
        QCOMPARE(r->cellText(0, 2), QString("% wartości mierzonej"));
        QCOMPARE(p->cellText(0, 2), QString("Błąd mier. rzeczyw."));
        QCOMPARE(p->cellText(0, 6), QString("ON"));
        QCOMPARE(r->columnWidth(1), DataGrid::TwipsToPixels(2310));
        QCOMPARE(p->columnWidth(5), DataGrid::TwipsToPixels(500));
        QCOMPARE(r->palette().color(QPalette::Base), lightGreen);
        QCOMPARE(p->palette().color(QPalette::Base), lightBlue);
        QCOMPARE(static_cast<QPushButton*>(ButtonOf(CRangesPage::Button::MarkAll))->text(),
                 QString("ON/OFF"));
    }

    void methodColoursTheTypedColumn_data()
    {
        DataColumns<int, QColor, QColor>("method", "column0", "column1");
        DataRow("exact setting: setting typed", 0, lightBlue, lightGreen);
        DataRow("exact reading: reading typed", 1, lightGreen, lightBlue);
    }
    void methodColoursTheTypedColumn()
    {
        QFETCH(int, method);
        QFETCH(QColor, column0);
        QFETCH(QColor, column1);
        doc.method = CheckMethod(method);
        session.meterCheckState = MeterCheckMode::OpenedDocument;
        Show();
        for (int row : {1, 25, 50}) {
            QCOMPARE(Points()->cellBackground(row, 0), column0);
            QCOMPARE(Points()->cellBackground(row, 1), column1);
        }
    }

    void rowTexts()
    {
        MeterRange& tc = doc.ranges[0];
        tc.rangeValue = "600";
        tc.rangeUnit = "°C";
        tc.function = RangeFunction::Thermocouple;
        tc.sensorName = "K (NiCr-NiAl)";
        tc.coldJunction = ColdJunction::To;
        tc.toValue = "23.0";
        tc.classReading = "0.1";
        tc.classRange = "0.2";
        tc.constTerm = "1.0";
        tc.constUnit = "mV"; // temperature ranges always show °C
        tc.rangeDefined = 1;
        PutRange(1, "400");
        doc.ranges[1].constTerm = "2";
        doc.ranges[1].constUnit = "µV";
        Show();
        DataGrid* g = Ranges();
        QCOMPARE(g->cellText(1, 0), QString("600 °C"));
        QCOMPARE(g->cellText(1, 1), QString("K (NiCr-NiAl) [To=23.0°C]"));
        QCOMPARE(g->cellText(1, 2), QString("0.1"));
        QCOMPARE(g->cellText(1, 3), QString("0.2+1.0°C"));
        QCOMPARE(g->cellText(2, 3), QString("0.5+2µV"));
        QCOMPARE(g->cellText(3, 0), QString());
    }

    void emptyDocumentEnablesOnlyAddRange()
    {
        Show();
        QCOMPARE(AllButtons(), QList<bool>({true, false, false, false, false, false, false}));
        QCOMPARE(ButtonOf(CRangesPage::Button::AddRange)->backColor(), lightGreen);
        QCOMPARE(ButtonOf(CRangesPage::Button::AddPoint)->backColor(), grey);
    }

    void insertBeforeRow3OfFive_data()
    {
        QTest::addColumn<bool>("confirm");
        DataRow("cancel restores", false);
        DataRow("ok inserts", true);
    }
    void insertBeforeRow3OfFive()
    {
        QFETCH(bool, confirm);
        for (int i = 0; i < 5; ++i)
            PutRange(i, QString::number((i + 1) * 10), i);
        doc.ranges[5].calFunction = 17; // a stale preset of a free slot
        const QByteArray before = MetFile::PackDocument(session);
        Show();
        ChooseRow(Ranges(), 3);
        QStringList seen;
        dialogs.rangeDialog = [&] {
            seen << QString::number(int(dialogs.openedOn.mode))
                 << QString::number(dialogs.openedOn.range);
            for (int i = 0; i < 6; ++i)
                seen << doc.ranges[i].rangeValue;
            if (confirm) {
                doc.ranges[2].rangeValue = "25";
                doc.ranges[2].rangeUnit = "V";
                doc.ranges[2].rangeDefined = 1;
            }
            return confirm;
        };
        Click(CRangesPage::Button::AddRange);
        QCOMPARE(seen, QStringList({"1", "2", "10", "20", "", "30", "40", "50"}));
        DataGrid* g = Ranges();
        QCOMPARE(g->currentGridRow(), 3);
        if (!confirm) {
            QCOMPARE(MetFile::PackDocument(session), before);
            QVERIFY(!session.IsModified());
            QCOMPARE(g->cellText(3, 0), QString("30 V"));
            QCOMPARE(g->cellText(6, 0), QString());
        } else {
            QCOMPARE(CountRanges(doc), 6);
            QVERIFY(session.IsModified());
            QStringList rows;
            for (int r = 1; r <= 6; ++r)
                rows << g->cellText(r, 0);
            QCOMPARE(rows, QStringList({"10 V", "20 V", "25 V", "30 V", "40 V", "50 V"}));
            QCOMPARE(doc.ranges[5].points[3].setting, QString("4.0"));
            // The new range has no points: a point can be added at once.
            QVERIFY(Enabled(CRangesPage::Button::AddPoint));
            QVERIFY(!Enabled(CRangesPage::Button::DeletePoint));
        }
    }

    void fiftyRangesThenDelete()
    {
        for (int i = 0; i < 50; ++i)
            PutRange(i, QString::number(i + 1), 2);
        Show();
        QVERIFY(!Enabled(CRangesPage::Button::AddRange));
        ChooseRow(Ranges(), 10);
        Click(CRangesPage::Button::AddRange); // disabled: nothing happens
        QCOMPARE(dialogs.rangeDialogs, 0);

        Click(CRangesPage::Button::DeleteRange);
        QCOMPARE(CountRanges(doc), 49);
        QVERIFY(session.IsModified());
        QVERIFY(Enabled(CRangesPage::Button::AddRange));
        const MeterRange& last = doc.ranges[49];
        QCOMPARE(last.rangeDefined, quint8(0));
        QVERIFY(last.rangeValue.isEmpty());
        QCOMPARE(last.points[0].pointDefined, quint8(0));
        QCOMPARE(doc.ranges[9].rangeValue, QString("11"));
        QCOMPARE(Ranges()->cellText(10, 0), QString("11 V"));
        QCOMPARE(Ranges()->cellText(50, 0), QString());
        QCOMPARE(session.currentRange, qint16(9));
        QCOMPARE(session.currentPoint, qint16(0));
    }

    void deletingTheOnlyPoint()
    {
        PutRange(0, "10", 1);
        Show();
        ChooseRow(Points(), 1);
        Click(CRangesPage::Button::DeletePoint);
        QCOMPARE(CountPoints(doc, 0), 0);
        QVERIFY(session.IsModified());
        QCOMPARE(Points()->cellText(1, 1), QString());
        QCOMPARE(AllButtons(), QList<bool>({true, true, true, true, false, false, false}));
    }

    void actualErrorColour_data()
    {
        DataColumns<QString, QString, QColor>("actual", "permissible", "colour");
        DataRow("-0.6 over 0.5 red", "-0.6", "0.5", QColor(Qt::red));
        DataRow("-0.6 within 0.6 black", "-0.6", "0.6", QColor(Qt::black));
        DataRow("0.5 within 0.6 black", "0.5", "0.6", QColor(Qt::black));
        DataRow("0.61 over 0.6 red", "0.61", "0.6", QColor(Qt::red));
    }
    void actualErrorColour()
    {
        QFETCH(QString, actual);
        QFETCH(QString, permissible);
        QFETCH(QColor, colour);
        PutRange(0, "10", 2);
        doc.ranges[0].points[1].actualError = actual;
        doc.ranges[0].points[1].permissibleError = permissible;
        Show();
        QCOMPARE(Points()->cellText(2, 2), actual);
        QCOMPARE(Points()->cellTextColor(2, 2), colour);
    }

    void markAllTwice()
    {
        QVERIFY(!session.markAllState); // as at program start
        PutRange(0, "10", 4);           // points 1 and 3 marked, 0 and 2 not
        Show();
        Click(CRangesPage::Button::MarkAll);
        QVERIFY(session.IsModified());
        for (int r = 1; r <= 4; ++r) {
            QCOMPARE(Points()->cellText(r, 6), QString("+"));
            QCOMPARE(doc.ranges[0].points[r - 1].marked, quint8(1));
        }
        QCOMPARE(doc.ranges[0].points[4].marked, quint8(0)); // not a point
        Click(CRangesPage::Button::MarkAll);
        for (int r = 1; r <= 4; ++r) {
            QCOMPARE(Points()->cellText(r, 6), QString());
            QCOMPARE(doc.ranges[0].points[r - 1].marked, quint8(0));
        }
    }

    void addPointMovesSelectionBelow()
    {
        PutRange(0, "10", 0);
        Show();
        ChooseRow(Points(), 1);
        dialogs.pointDialog = [this] {
            MeterPoint& p = doc.ranges[session.currentRange].points[session.currentPoint];
            p.setting = "5.0";
            p.unit = "V";
            p.pointDefined = 1;
            p.marked = 1;
            return true;
        };
        Click(CRangesPage::Button::AddPoint);
        QCOMPARE(dialogs.pointDialogs, 1);
        QCOMPARE(Points()->currentGridRow(), 2);
        QCOMPARE(session.currentPoint, qint16(1));
        QCOMPARE(Points()->cellText(1, 1), QString("5.0"));
        QCOMPARE(Points()->cellText(1, 6), QString("+"));
        QVERIFY(Enabled(CRangesPage::Button::AddPoint));
        QVERIFY(!Enabled(CRangesPage::Button::DeletePoint)); // row 2 holds no point yet
    }

    void addPointCancelledRestoresPoints()
    {
        PutRange(0, "10", 3);
        doc.ranges[0].points[2].pointMeasured = 1;
        const QByteArray before = MetFile::PackDocument(session);
        Show();
        ChooseRow(Points(), 2);
        dialogs.pointDialog = [] { return false; };
        Click(CRangesPage::Button::AddPoint);
        QCOMPARE(dialogs.pointDialogs, 1);
        QCOMPARE(MetFile::PackDocument(session), before);
        QVERIFY(!session.IsModified());
        QCOMPARE(Points()->cellText(3, 1), QString("3.0"));
    }

    void pressInOnColumnToggles()
    {
        PutRange(0, "10", 2); // point 0 unmarked, point 1 marked
        Show();
        DataGrid* g = Points();
        QWidget* viewport = g->viewport();
        const QPoint onCell = g->visualItemRect(g->item(1, 6)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, onCell);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, onCell);
        QCOMPARE(doc.ranges[0].points[1].marked, quint8(0));
        QCOMPARE(g->cellText(2, 6), QString());
        QVERIFY(session.IsModified());

        // Another column of the same row changes nothing.
        const QPoint unitCell = g->visualItemRect(g->item(1, 5)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, unitCell);
        QCOMPARE(doc.ranges[0].points[1].marked, quint8(0));

        // A row without a point changes nothing either.
        session.SetModified(false);
        const QPoint empty = g->visualItemRect(g->item(4, 6)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, empty);
        QVERIFY(!session.IsModified());
        QCOMPARE(g->cellText(5, 6), QString());
    }

    void choosingARangeShowsItsPoints()
    {
        PutRange(0, "10", 1);
        PutRange(1, "20", 3);
        session.currentPoint = 0;
        Show();
        ChooseRow(Points(), 1);
        ChooseRow(Ranges(), 2);
        QCOMPARE(session.currentRange, qint16(1));
        QCOMPARE(session.currentPoint, qint16(0));
        QCOMPARE(Points()->cellText(3, 1), QString("3.0"));
        QCOMPARE(Points()->currentGridRow(), 1);
        ChooseRow(Points(), 3);
        QCOMPARE(session.currentPoint, qint16(2));
    }

    void showingKeepsCurrentPoint()
    {
        PutRange(0, "10", 1);
        PutRange(1, "20", 5);
        session.currentRange = 1;
        session.currentPoint = 3;
        Show();
        QCOMPARE(Ranges()->currentGridRow(), 2);
        QCOMPARE(Points()->currentGridRow(), 4);
        QCOMPARE(session.currentPoint, qint16(3));
        QCOMPARE(Ranges()->firstVisibleRow(), 1);
    }

    void selectionPastRow24Scrolls()
    {
        PutRange(0, "10", 40);
        Show();
        ChooseRow(Points(), 30);
        QCOMPARE(Points()->firstVisibleRow(), 6);
        QCOMPARE(session.currentPoint, qint16(29));
        ChooseRow(Points(), 3);
        QVERIFY(Points()->firstVisibleRow() <= 3);
    }

    void addingDeepInTheListKeepsTheRowInView()
    {
        PutRange(0, "10", 30);
        Show();
        ChooseRow(Points(), 30);
        dialogs.pointDialog = [this] {
            MeterPoint& p = doc.ranges[session.currentRange].points[session.currentPoint];
            p.setting = "9.5";
            p.pointDefined = 1;
            return true;
        };
        Click(CRangesPage::Button::AddPoint);
        QCOMPARE(CountPoints(doc, 0), 31);
        QCOMPARE(doc.ranges[0].points[29].setting, QString("9.5"));
        QCOMPARE(doc.ranges[0].points[30].setting, QString("30.0"));
        QCOMPARE(Points()->currentGridRow(), 31);
        QCOMPARE(Points()->firstVisibleRow(), 7);
    }

    void procedureSelectsRow()
    {
        PutRange(0, "10", 5);
        Show();
        page->SelectPointsRow(4);
        QCOMPARE(Points()->currentGridRow(), 4);
        QCOMPARE(Points()->selectionModel()->selectedIndexes().size(), 7);
        doc.ranges[0].points[3].reading = "4.01";
        page->FillPointsGrid(0);
        QCOMPARE(Points()->cellText(4, 0), QString("4.01"));
    }
};

QTEST_MAIN(TestRangesPage)
#include "tst_rangespage.moc"
