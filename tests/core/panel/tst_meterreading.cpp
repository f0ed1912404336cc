// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/panel/PanelState.h"
#include "core/panel/ReadingParser.h"

#include <QTest>

class TestMeterReading : public QObject
{
    Q_OBJECT

private slots:
    void parseReading_data()
    {
        DataColumns<QString, int, QString, bool>("reply", "decimals", "text", "positive");

        const QString over = QString(6, QChar(0x2014));
        DataRow("plain positive", "P12.3456%", 3, "12.346", true);
        DataRow("minus before the number", "P-12.345%", 3, "12.345", false);
        DataRow("minus after the number still negative", "P 1.234-%", 3, "1.234", false);
        DataRow("minus in the ninth character", "P1.23456-", 2, "1.23", false);
        DataRow("minus in the tenth character is cut off", "P1.234567-", 2, "1.23", true);
        DataRow("minus as the first character makes it negative", "-5.000%", 3, "5.000", false);
        DataRow("first character never counts", "7123.4%", 1, "123.4", true);
        DataRow("first digit dropped", "12.000%", 3, "2.000", true);
        DataRow("number cut after nine characters", "P1234.56789%", 4, "1234.5670", true);
        DataRow("over-range", "P~~~~~~%", 3, over, true);
        DataRow("negative over-range keeps its sign", "P-~~~~~%", 3, over, false);
        DataRow("under-range", "P______%", 3, "______", true);
        DataRow("over- and under-range both", "P__~___%", 3, over, true);
        DataRow("over-range mark as first character does not count", "~1.500%", 3, "1.500", true);
        DataRow("under-range mark past nine characters does not count", "P1.23456789_", 3, "1.235",
                true);
        DataRow("empty reply is zero in three decimals", "", 3, "0.000", true);
        DataRow("empty reply is zero in one decimal", "", 1, "0.0", true);
        DataRow("acknowledgement only", "%", 2, "0.00", true);
        DataRow("garbage reads as zero", "Pabc%", 4, "0.0000", true);
    }
    void parseReading()
    {
        QFETCH(QString, reply);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QFETCH(bool, positive);

        PanelMeterState state;
        state.meterText = QStringLiteral("9.999");
        state.meterPositive = !positive;
        ParseReading(reply, decimals, state);
        QCOMPARE(state.meterText, text);
        QCOMPARE(state.meterPositive, positive);
    }

    void signedReading_data()
    {
        DataColumns<QString, bool, double>("text", "positive", "value");
        DataRow("positive", "1.250", true, 1.25);
        DataRow("negative", "1.250", false, -1.25);
        DataRow("over-range counts as zero", QString(6, QChar(0x2014)), false, 0.0);
        DataRow("under-range counts as zero", "______", true, 0.0);
    }
    void signedReading()
    {
        QFETCH(QString, text);
        QFETCH(bool, positive);
        QFETCH(double, value);
        PanelMeterState state;
        state.meterText = text;
        state.meterPositive = positive;
        QCOMPARE(SignedReading(state), value);
    }
};

QTEST_GUILESS_MAIN(TestMeterReading)
#include "tst_meterreading.moc"
