// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "RecordingCommandSender.h"

#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/ExactReadingControl.h"
#include "core/metercheck/run/ExactSettingEntry.h"

#include <QTest>

// The rules behind the two measurement dialogs: the typed indication of the exact-setting
// method and the calibrator output of the exact-reading method.
class TestProcEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void indication_data()
    {
        DataColumns<QString, int, QString>("typed", "outcome", "reading");
        DataRow("decimals kept as typed", "200.00", int(ExactSettingEntry::Outcome::Stored),
                "200.00");
        DataRow("no point gives one decimal", "200", int(ExactSettingEntry::Outcome::Stored),
                "200.0");
        DataRow("comma is the point", "0,125", int(ExactSettingEntry::Outcome::Stored), "0.125");
        DataRow("leading point", ",5", int(ExactSettingEntry::Outcome::Stored), "0.5");
        DataRow("trailing point", "12.", int(ExactSettingEntry::Outcome::Stored), "12");
        DataRow("negative", "-3.2", int(ExactSettingEntry::Outcome::Stored), "-3.2");
        DataRow("too long rounds to fit", "-,12345", int(ExactSettingEntry::Outcome::Stored),
                "-0.1235");
        DataRow("seven digits", "1234567", int(ExactSettingEntry::Outcome::Stored), "1234567");
        DataRow("empty keeps the reading", "", int(ExactSettingEntry::Outcome::Kept), "old");
        DataRow("letter", "12a", int(ExactSettingEntry::Outcome::Refused), "");
        DataRow("blank", "1 2", int(ExactSettingEntry::Outcome::Refused), "");
        DataRow("minus inside", "1-2", int(ExactSettingEntry::Outcome::Refused), "");
        DataRow("two points", "1.2,3", int(ExactSettingEntry::Outcome::Refused), "");
        DataRow("only a minus", "-", int(ExactSettingEntry::Outcome::Refused), "");
        DataRow("plus sign", "+5", int(ExactSettingEntry::Outcome::Refused), "");
    }
    void indication()
    {
        QFETCH(QString, typed);
        QFETCH(int, outcome);
        std::optional<QString> reading = QString("old"); // what the dialog hands back so far
        QCOMPARE(int(ExactSettingEntry::Confirm(typed, reading)), outcome);
        QVERIFY(reading);
        QTEST(*reading, "reading");
    }

    void display_data()
    {
        DataColumns<int, QString, QString, QString, double, bool>("function", "start", "magnitude",
                                                                  "sign", "step", "signFlag");
        DataRow("50 mV", 0, "12.345", "12.345", "", 0.001, true);
        DataRow("negative 500 mV", 1, "-250.50", "250.50", "-", 0.01, false);
        DataRow("2 V", 2, "1.5", "1.5000", "", 0.0001, true);
        DataRow("thermocouple", 13, "-100.0", "100.0", "-", 0.1, false);
    }
    void display()
    {
        QFETCH(int, function);
        QFETCH(QString, start);
        RecordingCommandSender sender;
        ExactReadingControl c(function, start, sender);
        QTEST(c.MagnitudeText(), "magnitude");
        QTEST(c.SignText(), "sign");
        QFETCH(double, step);
        QCOMPARE(c.StepValue(), step);
        QTEST(c.SignFlag(), "signFlag");
        QCOMPARE(c.DigitPosition(), 1);
        QVERIFY(sender.sent.isEmpty());
    }

    void digitButtons_data()
    {
        DataColumns<int, QList<int>>("decimals", "xs");
        DataRow("1 decimal", 1, QList<int>{144, 105, 86, 67, 48});
        DataRow("2 decimals", 2, QList<int>{144, 125, 86, 67, 48});
        DataRow("3 decimals", 3, QList<int>{144, 125, 105, 67, 48});
        DataRow("4 decimals", 4, QList<int>{144, 125, 105, 87, 48});
    }
    void digitButtons()
    {
        QFETCH(int, decimals);
        QFETCH(QList<int>, xs);
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(ExactReadingControl::DigitButtonX(decimals, n), xs.at(n - 1));
    }

    void digitSelectsStep()
    {
        RecordingCommandSender sender;
        ExactReadingControl c(1, "100.00", sender); // 2 decimals
        const double steps[] = {0.01, 0.1, 1, 10, 100};
        for (int n = 1; n <= 5; ++n) {
            c.SelectDigit(n);
            QCOMPARE(c.DigitPosition(), n);
            QVERIFY(qFuzzyCompare(c.StepValue(), steps[n - 1]));
        }
    }

    // The spin never takes the output beyond the function's limits; it sends either way.
    void spinStopsAtLimits_data()
    {
        DataColumns<int, QString, int, bool, QStringList>("function", "start", "digit", "up",
                                                          "sent");
        DataRow("50 mV upper limit", 0, "54.980", 2, true,
                QStringList{"N54.990", "N55.000", "N55.000"});
        DataRow("50 mV lower limit", 0, "-54.990", 2, false,
                QStringList{"N-55.000", "N-55.000", "N-55.000"});
        DataRow("step bigger than the room left", 1, "549.00", 4, true,
                QStringList{"N549.00", "N549.00", "N549.00"});
        DataRow("resistance stops at 0", 5, "0.02", 1, false,
                QStringList{"N0.01", "N0.00", "N0.00"});
        DataRow("thermocouple B stops at 200", 9, "200.2", 1, false,
                QStringList{"N200.1", "N200.0", "N200.0"});
        DataRow("22 mA upper", 4, "24.199", 1, true, QStringList{"N24.200", "N24.200", "N24.200"});
    }
    void spinStopsAtLimits()
    {
        QFETCH(int, function);
        QFETCH(QString, start);
        QFETCH(int, digit);
        QFETCH(bool, up);
        RecordingCommandSender sender;
        ExactReadingControl c(function, start, sender);
        c.SelectDigit(digit);
        for (int i = 0; i < 3; ++i)
            up ? c.StepUp() : c.StepDown();
        QTEST(sender.sent, "sent");
        const CalFunction& f = CalFunctionTable[function];
        QVERIFY(c.OutputValue() <= f.highLimit && c.OutputValue() >= f.lowLimit);
    }

    void crossingZeroShowsTheSign()
    {
        RecordingCommandSender sender;
        ExactReadingControl c(0, "0.001", sender);
        c.StepDown();
        QCOMPARE(c.SignText(), "");
        c.StepDown();
        QCOMPARE(c.SignText(), "-");
        QCOMPARE(c.MagnitudeText(), "0.001");
        QVERIFY(c.SignFlag()); // only the sign button turns the flag
        QCOMPARE(sender.sent, QStringList({"N0.000", "N-0.001"}));
    }

    void signButton()
    {
        RecordingCommandSender sender;
        ExactReadingControl c(0, "10.000", sender);
        QVERIFY(c.ToggleSign());
        QCOMPARE(c.OutputValue(), -10.0);
        QCOMPARE(c.SignText(), "-");
        QVERIFY(!c.SignFlag());
        QVERIFY(c.ToggleSign());
        QCOMPARE(c.OutputValue(), 10.0);
        QCOMPARE(c.SignText(), "");
        QCOMPARE(sender.sent, QStringList({"N-10.000", "N10.000"}));
        QCOMPARE(c.SettingText(), "10.000");
    }

    // A sign the function cannot produce is not sent.
    void signButtonRefusesNegativeResistance()
    {
        RecordingCommandSender sender;
        ExactReadingControl c(5, "100.00", sender);
        QVERIFY(!c.ToggleSign());
        QCOMPARE(c.OutputValue(), 100.0);
        QVERIFY(c.SignFlag());
        QVERIFY(sender.sent.isEmpty());
    }

    void keys_data()
    {
        DataColumns<int, QString, bool>("key", "sent", "sign");
        DataRow("up steps", int(Qt::Key_Up), "N1.001", false);
        DataRow("down steps", int(Qt::Key_Down), "N0.999", false);
        DataRow("tab re-sends", int(Qt::Key_Tab), "N1.000", false);
        DataRow("enter re-sends", int(Qt::Key_Return), "N1.000", false);
        DataRow("escape re-sends", int(Qt::Key_Escape), "N1.000", false);
        DataRow("a letter re-sends", int(Qt::Key_A), "N1.000", false);
        DataRow("plus presses the sign button", int(Qt::Key_Plus), "N1.000", true);
        DataRow("minus presses the sign button", int(Qt::Key_Minus), "N1.000", true);
    }
    void keys()
    {
        QFETCH(int, key);
        RecordingCommandSender sender;
        ExactReadingControl c(3, "1.000", sender);
        QTEST(c.KeyDown(key), "sign");
        QFETCH(QString, sent);
        QCOMPARE(sender.sent, QStringList{sent});
    }
};

QTEST_GUILESS_MAIN(TestProcEntry)
#include "tst_procentry.moc"
