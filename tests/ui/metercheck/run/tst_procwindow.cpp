// SPDX-License-Identifier: MIT
// The measurement run as the technician does it in the meter check window, against the
// simulated calibrator on virtual time: a document of two ranges opened from a file,
// "Pomiary" over all ranges by the exact-setting method, the exact frames on the wire, the
// points grid filled with the readings and errors (red where the actual error exceeds the
// permissible one) and both charts drawn. Each run leaves a record per measured range in the
// history, with the texts of the grid; a run that measured nothing leaves none, and a history
// that cannot be written costs one message and nothing of what the window shows.

#include "Child.h"
#include "DocumentBuilder.h"
#include "OperatorHand.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "SimulatedCalibrator.h"
#include "TestServices.h"

#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/window/MeterCheckDialogRunner.h"
#include "ui/controls/DataGrid.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "ui/metercheck/window/CMeterCheckDlg.h"
#include "ui/metercheck/window/CRangesPage.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The window's own dialogs: only the file to open is asked for here.
class OpenFileDialogs : public MeterCheckDialogRunner
{
public:
    explicit OpenFileDialogs(const QString& path) : path(path) {}
    QString ChooseFileToOpen() override { return path; }
    QString ChooseFileToSave() override { return {}; }
    bool RunMeterData(MeterCheckMode) override { return false; }
    bool RunRangeDialog(MeterCheckMode, int) override { return false; }
    bool RunPointDialog(MeterCheckMode, int, int) override { return false; }

private:
    QString path;
};

QStringList Row(const DataGrid* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < 7; ++c)
        cells << grid->cellText(row, c);
    return cells;
}

QStringList Row(const CheckPointRecord& p)
{
    return {p.reading,         p.setting, p.actualError,      p.permissibleError,
            p.calibratorError, p.unit,    p.marked ? "+" : ""};
}

// The records of the local history, oldest first, ranges in document order; waits until the
// history's worker has done what it was given.
QList<CheckRecord> Recorded(HistoryService& history)
{
    history.Meters().waitForFinished();
    QString error;
    HistoryDatabase db(HistoryConfig{});
    HistoryStore* store = db.Store(&error);
    return store ? store->ChecksWithPoints("V-640", "12").value : QList<CheckRecord>{};
}

} // namespace

class TestProcWindow : public QObject
{
    Q_OBJECT

private slots:
    void measureTwoRangesInTheWindow()
    {
        FillCalFunctionTable();
        SimulatedLink sim;

        QDir(QFileInfo(LocalHistoryPath()).absolutePath()).removeRecursively();
        QTemporaryDir folder;
        const QString file = folder.filePath("v640.met");
        {
            ScopedDocument saved;
            VoltsAndAmps(saved.document);
            QVERIFY(SaveDocument(saved, file, sim.messages));
        }

        ScopedDocument session;
        RecordingMessageService& messages = sim.messages;
        TestServices services(messages);
        OpenFileDialogs dialogs(file);
        CMeterCheckDlg window(sim.link, session, services, nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Action(CMeterCheckDlg::Command::Open)->trigger();
        QCOMPARE(session.document.meterName, "V-640");

        // What the operator reads off the meter, point after point.
        {
            OperatorHand hand(true, false, {"100.05", "300.5", "4.003", "11,98", "20.1"});
            window.Action(CMeterCheckDlg::Command::Measure)->trigger();
            QVERIFY(hand.indications.isEmpty());
        }
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.Texts().join('|')));
        QCOMPARE(sim.Frames(),
                 QStringList({"^I%", "^S1%", "^C02%", "^N100.00%", "^C02%", "^N300.00%", "^C06%",
                              "^N4.000%", "^C06%", "^N12.000%", "^C06%", "^N20.000%"}));
        QVERIFY(session.IsModified());
        QCOMPARE(int(session.currentRange), 1);

        // The points grid shows the last range measured.
        const DataGrid* points = Child<DataGrid>(window, "pointsGrid");
        QCOMPARE(Row(points, 1),
                 QStringList({"4.003", "4.000", "0.003", "0.020", "0.005", "mA", "+"}));
        QCOMPARE(Row(points, 3),
                 QStringList({"20.100", "20.000", "0.100", "0.020", "0.010", "mA", "+"}));
        QCOMPARE(points->cellTextColor(1, 2), QColor(Qt::black));
        QCOMPARE(points->cellTextColor(3, 2), QColor(Qt::red));

        // Back on the voltage range (the ranges grid still stands on its row, so the
        // technician goes there by way of the current one): 300.5 mV is beyond 0.40 mV.
        Child<DataGrid>(window, "rangesGrid")->SelectWholeRow(2);
        Child<DataGrid>(window, "rangesGrid")->SelectWholeRow(1);
        QCOMPARE(int(session.currentRange), 0);
        QCOMPARE(Row(points, 2),
                 QStringList({"300.50", "300.00", "0.50", "0.40", "0.13", "mV", "+"}));
        QCOMPARE(points->cellTextColor(1, 2), QColor(Qt::black));
        QCOMPARE(points->cellTextColor(2, 2), QColor(Qt::red));

        // Both charts of the voltage range.
        Child<QTabBar>(window, "tabs")->setCurrentIndex(1);
        auto* pointsChart = static_cast<CPointsChartPage*>(window.Page(1));
        QVERIFY(pointsChart->isVisible());
        QCOMPARE(pointsChart->Data().status, ChartData::Status::Ready);
        QCOMPARE(pointsChart->Data().titles[2],
                 "Wykres punktów pomiarowych;  Miernik: V-640; Nr: 12");
        QCOMPARE(pointsChart->Data().series[1].values, QList<double>({100.05, 300.5}));
        Child<QTabBar>(window, "tabs")->setCurrentIndex(2);
        auto* errorsChart = static_cast<CErrorsChartPage*>(window.Page(2));
        QVERIFY(errorsChart->isVisible());
        QVERIFY(!pointsChart->isVisible());
        QCOMPARE(errorsChart->Data().titles[3], "Zakres miernika: 400 mV");
        QCOMPARE(errorsChart->Data().series[0].values, QList<double>({0.05, 0.5}));
        QVERIFY(messages.messages.isEmpty());

        // The run left one record per range, with the texts of the grid.
        QList<CheckRecord> records = Recorded(services.history);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].RangeText(), "400 mV");
        QCOMPARE(records[1].RangeText(), "20 mA");
        QCOMPARE(records[0].meterName, "V-640");
        QCOMPARE(records[0].documentPath, file);
        QVERIFY(!records[0].passed);
        QVERIFY(!records[1].passed);
        QCOMPARE(records[1].points.size(), 3);
        for (int j = 0; j < 2; ++j)
            QCOMPARE(Row(records[0].points[j]), Row(points, j + 1));
        Child<DataGrid>(window, "rangesGrid")->SelectWholeRow(2);
        for (int j = 0; j < 3; ++j)
            QCOMPARE(Row(records[1].points[j]), Row(points, j + 1));
        Child<DataGrid>(window, "rangesGrid")->SelectWholeRow(1);
        Child<QTabBar>(window, "tabs")->setCurrentIndex(0);

        // A run over the current range whose first point is aborted records nothing.
        {
            OperatorHand hand(false, false, {});
            hand.abort = true;
            window.Action(CMeterCheckDlg::Command::Measure)->trigger();
        }
        QCOMPARE(Recorded(services.history).size(), 2);

        // A history that refuses the record: one message, and the window keeps the results.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "refuse");
            db.setDatabaseName(LocalHistoryPath());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TRIGGER refuse BEFORE INSERT ON checks"
                                       " BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END"));
        }
        QSqlDatabase::removeDatabase("refuse");
        {
            OperatorHand hand(false, false, {"100.5", "301.25"});
            window.Action(CMeterCheckDlg::Command::Measure)->trigger();
        }
        QTRY_COMPARE(messages.messages.size(), 1);
        QVERIFY(messages.IsErrorBox(0));
        QVERIFY2(messages.messages[0].text.startsWith(
                     "Wyniki pomiarów nie zostały zapisane w historii sprawdzeń.") &&
                     messages.messages[0].text.contains("dysk pełny"),
                 qPrintable(messages.messages[0].text));
        QCOMPARE(Row(points, 1).mid(0, 3), QStringList({"100.50", "100.00", "0.50"}));
        QCOMPARE(session.document.ranges[0].points[1].reading, "301.25");
        QCOMPARE(Recorded(services.history).size(), 2);

        // A server out of reach: the run waits in the queue, one message says so, the status
        // line counts it, and the retry is silent.
        qputenv("R718_HISTORY", "postgresql:///lab?host=/nonexistent-r718");
        const auto local = qScopeGuard([] { qunsetenv("R718_HISTORY"); });
        messages.messages.clear();
        {
            OperatorHand hand(false, false, {"100.5", "301.25"});
            window.Action(CMeterCheckDlg::Command::Measure)->trigger();
        }
        QTRY_COMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages[0].icon, MessageIcon::Warning);
        QVERIFY2(messages.messages[0].text.startsWith("Wyniki pomiarów zapisano na tym "
                                                      "komputerze, ale nie dotarły do serwera") &&
                     messages.messages[0].text.contains("/nonexistent-r718"),
                 qPrintable(messages.messages[0].text));
        // The run the local file refused above waited beside it; it is queued now too.
        QTRY_COMPARE(services.history.Queue().waiting, 2);
        const QLabel* queue = Child<QLabel>(window, "queueStatus");
        QVERIFY(!queue->isHidden());
        QVERIFY2(queue->text().startsWith("Sprawdzenia czekające na wysłanie do serwera: 2; "
                                          "ostatnia próba ("),
                 qPrintable(queue->text()));
        services.history.SendQueued().waitForFinished();
        QCoreApplication::processEvents();
        QCOMPARE(messages.messages.size(), 1);
    }
};

QTEST_MAIN(TestProcWindow)
#include "tst_procwindow.moc"
