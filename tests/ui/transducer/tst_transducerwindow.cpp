// SPDX-License-Identifier: MIT
// The transducer check window wired to its session: a run filling the table as points come,
// the adjustment hold, a refused field.

#include "Child.h"
#include "RecordingMessageService.h"
#include "TransmitterSender.h"
#include "core/lab/LabPolicy.h"
#include "core/link/CalFunctionTable.h"
#include "ui/transducer/CTransducerDlg.h"
#include "ui/transducer/TransducerCertificate.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct WindowRig
{
    WindowRig()
    {
        // The transmitter reads 0.5 % of span high everywhere.
        sender.output = [](double setpoint, qint64) { return 4.08 + setpoint / 500 * 16; };
    }
    VirtualRunClock clock;
    TransmitterSender sender{clock};
    RecordingMessageService messages;
    int opened = 0;
    int closed = 0;
    CTransducerDlg window{sender, clock, [this] { ++opened; }, [this] { ++closed; }, messages};

    QLineEdit* Field(const QString& label) const
    {
        for (auto* l : window.findChildren<QLabel*>()) {
            if (l->text() == label && l->buddy())
                return qobject_cast<QLineEdit*>(l->buddy());
        }
        return nullptr;
    }
};

} // namespace

class TestTransducerWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void runFillsTheTableAsPointsCome()
    {
        WindowRig rig;
        QCOMPARE(rig.opened, 1);
        rig.Field(QStringLiteral("Czas ustalania [s]:"))->setText(QStringLiteral("1"));
        Child<QPushButton>(rig.window, "asFoundButton")->click();
        QVERIFY(!Child<QPushButton>(rig.window, "asFoundButton")->isEnabled());
        QVERIFY(Child<QPushButton>(rig.window, "stopButton")->isEnabled());
        QCOMPARE(rig.sender.sent.mid(0, 4), QStringList({"C42", "M06", "S1", "N0.0"}));

        rig.clock.AdvanceTo(1000);
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->rowCount(), 0);
        QCOMPARE(Child<QLabel>(rig.window, "liveLabel")->text(),
                 QStringLiteral("Wyjście: 4.080 mA    oczekiwane 4.000 mA    błąd +0.500 % "
                                "zakresu    (punkt 0 %)"));
        rig.clock.AdvanceTo(2000); // the third reading after settling
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->rowCount(), 1);
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->item(0, 5)->text(), QStringLiteral("+0.500"));
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->item(0, 7)->text(), QStringLiteral("niezgodny"));

        rig.clock.RunFor(60000);
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->rowCount(), 5);
        QVERIFY(Child<QPushButton>(rig.window, "asFoundButton")->isEnabled());
        QVERIFY(!Child<QPushButton>(rig.window, "stopButton")->isEnabled());
        QCOMPARE(Child<QLabel>(rig.window, "statusLabel")->text(),
                 QStringLiteral("Sprawdzenie przed regulacją zakończone: NIEZGODNY."));
        QVERIFY(rig.window.Session().Modified());
        QVERIFY(rig.messages.messages.isEmpty());
    }

    void stopKeepsThePointsMeasured()
    {
        WindowRig rig;
        rig.Field(QStringLiteral("Czas ustalania [s]:"))->setText(QStringLiteral("0"));
        Child<QPushButton>(rig.window, "asLeftButton")->click();
        rig.clock.AdvanceTo(2500); // two points of three readings, 500 ms apart
        Child<QPushButton>(rig.window, "stopButton")->click();
        rig.clock.RunFor(60000);
        QCOMPARE(rig.window.Session().Document().asLeft.points.size(), 2);
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->rowCount(), 2);
        QCOMPARE(Child<QLabel>(rig.window, "statusLabel")->text(),
                 QStringLiteral("Sprawdzenie po regulacji przerwane; zachowano 2 z 5 punktów."));
    }

    void holdAtFullScale()
    {
        WindowRig rig;
        Child<QPushButton>(rig.window, "holdSpanButton")->click();
        rig.clock.AdvanceTo(1000);
        QCOMPARE(rig.sender.sent.mid(3, 2), QStringList({"N500.0", "P"}));
        QVERIFY(Child<QPushButton>(rig.window, "holdSpanButton")->isChecked());
        QVERIFY(Child<QLabel>(rig.window, "liveLabel")->text().contains(QStringLiteral("błąd +0.500 % zakresu")));
        Child<QPushButton>(rig.window, "holdZeroButton")->click();
        QVERIFY(rig.sender.sent.contains(QStringLiteral("N0.0")));
        Child<QPushButton>(rig.window, "stopButton")->click();
        const int sent = int(rig.sender.sent.size());
        rig.clock.RunFor(5000);
        QCOMPARE(rig.sender.sent.size(), sent);
        QCOMPARE(Child<QTableWidget>(rig.window, "table")->rowCount(), 0);
    }

    // The certificate names the instrument, both runs with their tables and the verdict.
    void certificate()
    {
        WindowRig rig;
        rig.Field(QStringLiteral("Oznaczenie:"))->setText(QStringLiteral("TT-101"));
        rig.Field(QStringLiteral("Czas ustalania [s]:"))->setText(QStringLiteral("0"));
        Child<QPushButton>(rig.window, "asFoundButton")->click();
        rig.clock.RunFor(60000);
        rig.sender.output = [](double setpoint, qint64) { return 4 + setpoint / 500 * 16; };
        Child<QPushButton>(rig.window, "asLeftButton")->click();
        rig.clock.RunFor(60000);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
        QVERIFY(SaveTransducerCertificate(pdf, rig.window.Session().Document(), QString(),
                                          rig.messages));
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-layout"), pdf,
                    QStringLiteral("-")});
        QVERIFY(text.waitForFinished(20000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& expected :
             {QStringLiteral("ŚWIADECTWO SPRAWDZENIA PRZETWORNIKA"), QStringLiteral("TT-101"),
              QStringLiteral("K (NiCr-NiAl), spoina odniesienia Tin"),
              QStringLiteral("0 ... 500 °C"), QStringLiteral("4 ... 20 mA"),
              QStringLiteral("± 0.25 % zakresu"),
              QStringLiteral("Wynik sprawdzenia przed regulacją: NIEZGODNY"),
              QStringLiteral("Wynik sprawdzenia po regulacji: ZGODNY"),
              QStringLiteral("Orzeczenie: ZGODNY")})
            QVERIFY2(page.contains(expected), qPrintable(expected + QLatin1Char('\n') + page));
        QCOMPARE(page.count(QStringLiteral("+0.500")), 5);
    }

    // The calibrator past its due date: "Nie" starts nothing, "Tak" starts the run.
    void overdueCalibratorAsked()
    {
        LabPolicy policy;
        policy.calibrator.dueOn = QDate::currentDate().addDays(-1);
        policy.SaveToSettings();
        WindowRig rig;
        rig.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
        Child<QPushButton>(rig.window, "asFoundButton")->click();
        LabPolicy().SaveToSettings();
        QCOMPARE(rig.messages.messages.size(), 1);
        QCOMPARE(rig.messages.messages[0].caption, QStringLiteral("Wzorcowanie kalibratora"));
        QVERIFY(rig.sender.sent.isEmpty());
        QCOMPARE(rig.window.Session().CurrentMode(), TransducerSession::Mode::Idle);
        policy.SaveToSettings();
        Child<QPushButton>(rig.window, "asFoundButton")->click();
        LabPolicy().SaveToSettings();
        QCOMPARE(rig.messages.messages.size(), 2);
        QCOMPARE(rig.window.Session().CurrentMode(), TransducerSession::Mode::Running);
    }

    void refusedFieldIsNamedAndFocused()
    {
        WindowRig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        QLineEdit* tolerance = rig.Field(QStringLiteral("Tolerancja [% zakresu]:"));
        tolerance->setText(QStringLiteral("0"));
        Child<QPushButton>(rig.window, "asFoundButton")->click();
        QVERIFY(rig.messages.OnlyError(
            QStringLiteral("Pole „Tolerancja (% zakresu)”: tolerancja musi być większa od zera.")));
        QCOMPARE(QApplication::focusWidget(), tolerance);
        QVERIFY(rig.sender.sent.isEmpty());
        QCOMPARE(rig.window.Session().CurrentMode(), TransducerSession::Mode::Idle);
    }
};

QTEST_MAIN(TestTransducerWindow)
#include "tst_transducerwindow.moc"
