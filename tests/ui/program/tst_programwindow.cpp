// SPDX-License-Identifier: MIT
// The source program window wired to its session: a run filling the chart and the trip
// points, pause, resume and stop with the safe value said, a segment refused by name, a link
// given up.

#include "Child.h"
#include "RecordingMessageService.h"
#include "TransmitterSender.h"
#include "core/link/CalFunctionTable.h"
#include "ui/program/CProgramDlg.h"
#include "ui/program/ProgramChart.h"
#include "ui/program/ProgramReport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct WindowRig
{
    WindowRig()
    {
        // An alarm unit: 10 V from 12.5 mA up, 0 V again from 11.5 mA down.
        sender.output = [this](double milliamps, qint64) {
            on = milliamps >= 12.5 || (on && milliamps > 11.5);
            return on ? 10.0 : 0.0;
        };
        // The window starts with a staircase 4 → 20 → 4 mA of 2 s steps; read at 25 V, the
        // trip when the reading rises above 5 V.
        Child<QComboBox>(window, "measureRange")->setCurrentText(QStringLiteral("25V"));
        Child<QCheckBox>(window, "tripEnabled")->setChecked(true);
        Child<QLineEdit>(window, "tripThreshold")->setText(QStringLiteral("5"));
    }
    QPushButton* Button(const char* name) { return Child<QPushButton>(window, name); }
    QString Label(const char* name) { return Child<QLabel>(window, name)->text(); }

    bool on = false;
    VirtualRunClock clock;
    TransmitterSender sender{clock};
    RecordingMessageService messages;
    int opened = 0;
    int closed = 0;
    CProgramDlg window{sender, clock, [this] { ++opened; }, [this] { ++closed; }, messages};
};

} // namespace

class TestProgramWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void runFillsTheChartAndTheTripPoints()
    {
        WindowRig rig;
        QCOMPARE(rig.opened, 1);
        QCOMPARE(rig.Label("timeLabel"), QStringLiteral("Czas planowany: 1:06"));
        rig.Button("startButton")->click();
        QCOMPARE(rig.sender.sent.mid(0, 5), QStringList({"C06", "M04", "S1", "N4.000", "P"}));
        QVERIFY(!rig.Button("startButton")->isEnabled());
        QVERIFY(rig.Button("pauseButton")->isEnabled());

        rig.clock.AdvanceTo(20500); // the trip at 13 mA, 18 s in
        QCOMPARE(rig.Label("timeLabel"), QStringLiteral("Czas planowany: 1:06    pozostało: 0:46"));
        QCOMPARE(rig.Label("liveLabel"), QStringLiteral("Nastawa: 14.000 mA    Odczyt: 10.000 V"));
        auto* trips = Child<QTableWidget>(rig.window, "trips");
        QCOMPARE(trips->rowCount(), 1);
        QCOMPARE(trips->item(0, 2)->text(), QStringLiteral("13.000"));
        QCOMPARE(trips->item(0, 4)->text(), QString());
        // The chart fills in as the run goes.
        QCOMPARE(Child<ProgramChart>(rig.window, "chart")->Data().set.last(), QPointF(20.5, 14));

        rig.clock.RunFor(60000);
        QCOMPARE(trips->item(0, 4)->text(), QStringLiteral("11.000"));
        QCOMPARE(trips->item(0, 6)->text(), QStringLiteral("2.000"));
        const ProgramChartData& chart = Child<ProgramChart>(rig.window, "chart")->Data();
        QCOMPARE(chart.planned.size(), 66);
        QCOMPARE(chart.trips, QList<QPointF>{QPointF(18, 13)});
        QCOMPARE(chart.resets, QList<QPointF>{QPointF(50, 11)});
        QCOMPARE(chart.readings.size(), 33 * 4);
        QCOMPARE(rig.Label("statusLabel"),
                 QStringLiteral("Program zakończony; źródło pozostaje na ostatniej nastawie "
                                "4.000 mA."));
        QVERIFY(rig.Button("startButton")->isEnabled());
        QVERIFY(rig.messages.messages.isEmpty());

        // The report: the program, the condition and the trip point with its deadband.
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
        const ProgramSession& session = rig.window.Session();
        QVERIFY(SaveProgramReport(pdf, session.RunDocument(), session.Run().Plan(),
                                  session.Run().Log(), QString(), rig.messages));
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-layout"), pdf,
                    QStringLiteral("-")});
        QVERIFY(text.waitForFinished(20000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        static const QRegularExpression tripRow(
            QStringLiteral("\\b1 +1 +13\\.000 +18\\.0 +11\\.000 +50\\.0 +2\\.000\\b"));
        for (const QString& expected :
             {QStringLiteral("PRZEBIEG PROGRAMU ŹRÓDŁA"),
              QStringLiteral("schody 4.000 → 20.000 → 4.000 mA, krok 1.000 mA, 2 s na krok"),
              QStringLiteral("Punkty zadziałania (odczyt powyżej 5.000 V)")})
            QVERIFY2(page.contains(expected), qPrintable(expected + QLatin1Char('\n') + page));
        QVERIFY2(page.contains(tripRow), qPrintable(page));
    }

    void pauseResumeAndStop()
    {
        WindowRig rig;
        rig.Button("startButton")->click();
        rig.clock.AdvanceTo(5000);
        rig.Button("pauseButton")->click();
        QVERIFY(rig.Button("resumeButton")->isEnabled());
        QVERIFY(!rig.Button("pauseButton")->isEnabled());
        QCOMPARE(rig.Label("statusLabel"),
                 QStringLiteral("Program wstrzymany: źródło pozostaje na 6.000 mA."));
        rig.clock.AdvanceTo(30000);
        QVERIFY(!rig.sender.sent.contains(QStringLiteral("N7.000")));
        rig.Button("resumeButton")->click();
        rig.clock.AdvanceTo(31000);
        QCOMPARE(rig.sender.times[rig.sender.sent.indexOf(QStringLiteral("N7.000"))], 31000);
        rig.Button("stopButton")->click();
        QCOMPARE(rig.sender.sent.last(), QStringLiteral("N0.000"));
        QCOMPARE(rig.Label("statusLabel"),
                 QStringLiteral("Program przerwany; źródło ustawiono na wartość bezpieczną "
                                "0.000 mA (zero funkcji albo jej najniższa wartość)."));
        QVERIFY(rig.Button("startButton")->isEnabled());
    }

    void refusedSegmentIsNamed()
    {
        WindowRig rig;
        Child<QTableWidget>(rig.window, "segments")->item(0, 4)->setText(QStringLiteral("0,5"));
        rig.Button("startButton")->click();
        QVERIFY(rig.messages.OnlyError(
            QStringLiteral("Segment 1 (schody), pole „Czas [s]”: 0.5 s to mniej niż jedna "
                           "wymiana z kalibratorem (nastawa i odczyt); najkrótszy możliwy czas "
                           "to 1.04 s.")));
        QVERIFY(rig.sender.sent.isEmpty());
        QCOMPARE(Child<QTableWidget>(rig.window, "segments")->currentColumn(), 4);
    }

    void linkGivenUp()
    {
        WindowRig rig;
        rig.sender.givenUpAt = 20;
        rig.Button("startButton")->click();
        rig.clock.RunFor(60000);
        QCOMPARE(rig.sender.sent.size(), 20);
        QCOMPARE(rig.Label("statusLabel"),
                 QStringLiteral("Program przerwany: brak komunikacji z kalibratorem; dziennik "
                                "zachowuje 12 odczytów."));
        QVERIFY(rig.Button("startButton")->isEnabled());
    }
};

QTEST_MAIN(TestProgramWindow)
#include "tst_programwindow.moc"
