// SPDX-License-Identifier: MIT
// A whole verification run against r718-sim: two ranges by the exact-setting method over all
// ranges, the real dialogs answered as an operator would, the frames checked on the wire and
// both charts drawn from the results. The meter check window is left out: a recording points
// grid stands in for its ranges page.

#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "tst_proc_scripted.h"

#include "link/CalFunctionTable.h"
#include "link/LinkSession.h"
#include "metercheck/charts/CErrorsChartPage.h"
#include "metercheck/charts/CPointsChartPage.h"
#include "metercheck/procedures/CExactSettingDlg.h"
#include "metercheck/procedures/CProcedureDlg.h"
#include "metercheck/procedures/MeasureProcedure.h"
#include "metercheck/procedures/MeasurementDialogs.h"
#include "metercheck/procedures/PointErrors.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {

void AddRange(int i, qint16 function, const QString& value, const QString& unit,
              const QStringList& nominals)
{
    MeterRange& r = meterCheckDoc.ranges[i];
    r.rangeDefined = 1;
    r.function = function;
    r.rangeValue = value;
    r.rangeUnit = unit;
    r.classRange = "0.1";
    for (int j = 0; j < nominals.size(); ++j) {
        r.points[j].pointDefined = 1;
        r.points[j].marked = 1;
        r.points[j].setting = nominals[j];
    }
}

} // namespace

class TestProcSim : public QObject
{
    Q_OBJECT

private slots:
    void exactSettingOverAllRanges()
    {
        FillCalFunctionTable();
        SimProcess sim;
        QVERIFY2(sim.Start(), qPrintable(sim.LastError()));
        sim.MapPort(1);
        CalibratorLink link;
        LinkSession session(link);
        session.Open(1);

        meterCheckDoc = MeterCheckDoc{};
        meterCheckDoc.meterName = "V-640";
        meterCheckDoc.meterNumber = "12";
        AddRange(0, 0, "400", "mV", {"100", "300"});
        AddRange(1, 1, "20", "mA", {"4", "12", "20"});
        currentRange = 0;

        // What the operator reads off the meter, point after point.
        QStringList indications = {"100.05", "300.5", "4.003", "11,98", "20.1"};
        QStringList descriptions;
        QTimer operatorHand;
        operatorHand.setInterval(20);
        connect(&operatorHand, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* choice = qobject_cast<CProcedureDlg*>(modal)) {
                choice->allRangesButton->setChecked(true);
                choice->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            } else if (auto* entry = qobject_cast<CExactSettingDlg*>(modal)) {
                descriptions << entry->descriptionLabel->text() + " " +
                                    entry->setpointLabel->text();
                entry->indicationEdit->setText(indications.isEmpty() ? QString()
                                                                     : indications.takeFirst());
                entry->okButton->click();
            }
        });
        operatorHand.start();
        QWidget window;
        RecordingPointsGrid grid;
        MeasurementDialogs dialogs(&window, session);
        RecordingMessageService messages;
        MeasureProcedure(dialogs, grid, session).OnMeasure();
        operatorHand.stop();
        session.WaitUntilSent();

        QVERIFY(messages.messages.isEmpty());
        QVERIFY(indications.isEmpty());
        QCOMPARE(sim.Frames(),
                 QStringList({"^C02%", "^N100.00%", "^C02%", "^N300.00%", "^C06%", "^N4.000%",
                              "^C06%", "^N12.000%", "^C06%", "^N20.000%"}));
        QCOMPARE(descriptions,
                 QStringList({"Pomiar napięcia 100.00", "Pomiar napięcia 300.00",
                              "Pomiar prądu 4.000", "Pomiar prądu 12.000", "Pomiar prądu 20.000"}));
        QCOMPARE(int(currentRange), 1);
        QVERIFY(documentModified);

        const MeterRange& volts = meterCheckDoc.ranges[0];
        QCOMPARE(volts.rangeMeasured, quint8(1));
        QCOMPARE(volts.points[1].reading, "300.50");
        QCOMPARE(volts.points[1].setting, "300.00");
        QCOMPARE(volts.points[1].actualError, "0.50");
        QCOMPARE(volts.points[1].permissibleError, "0.40");
        QCOMPARE(volts.points[1].calibratorError, "0.13");
        QVERIFY(
            ErrorExceedsPermissible(volts.points[1].actualError, volts.points[1].permissibleError));
        QVERIFY(!ErrorExceedsPermissible(volts.points[0].actualError,
                                         volts.points[0].permissibleError));
        const MeterRange& amps = meterCheckDoc.ranges[1];
        QCOMPARE(amps.points[1].reading, "11.980");
        QCOMPARE(amps.points[1].actualError, "-0.020");
        QCOMPARE(amps.points[2].actualError, "0.100");
        QCOMPARE(amps.points[2].permissibleError, "0.020");
        QCOMPARE(amps.points[2].unit, "mA");
        QCOMPARE(grid.calls.last(), "fill 1");

        CPointsChartPage points(&window);
        CErrorsChartPage errors(&window);
        QVERIFY(points.DrawChart(0));
        QCOMPARE(points.Data().axisMax, 321.535);
        QVERIFY(errors.DrawChart(1));
        QCOMPARE(errors.Data().series[0].values, QList<double>({0.003, -0.02, 0.1}));
    }
};

QTEST_MAIN(TestProcSim)
#include "tst_procsim.moc"
