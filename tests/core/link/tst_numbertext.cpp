// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/link/NumberText.h"

#include <QLocale>
#include <QTest>

#include <clocale>
#include <limits>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void formatFixed_data()
    {
        DataColumns<double, int, QString>("value", "decimals", "text");
        DataRow("negative small keeps leading zero", -0.05, 3, "-0.050");
        DataRow("rounds half up", 12.3456, 2, "12.35");
        DataRow("positive small", 0.05, 3, "0.050");
        DataRow("zero", 0.0, 3, "0.000");
        DataRow("negative rounding to zero has no sign", -0.0001, 3, "0.000");
        DataRow("large never exponent", 1e20, 1, "100000000000000000000.0");
        DataRow("no decimals keeps the point", 12.3, 0, "12.");
    }
    void formatFixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(FormatFixed(value, decimals), text);
    }

    void parseNumber_data()
    {
        DataColumns<QString, double>("text", "value");
        DataRow("point is the decimal point", "12.5", 12.5);
        DataRow("comma stops the number", "1,5", 1.0);
        DataRow("leading blanks", "   -3.25", -3.25);
        DataRow("trailing garbage", "12a", 12.0);
        DataRow("no number", "abc", 0.0);
        DataRow("empty", "", 0.0);
        DataRow("lone point", ".", 0.0);
        DataRow("exponent", "1.5e3", 1500.0);
        DataRow("incomplete exponent", "2e", 2.0);
        DataRow("infinity text is no number", "inf", 0.0);
        DataRow("overflow is the largest number", "1e999", std::numeric_limits<double>::max());
        DataRow("underflow is zero", "1e-999", 0.0);
        DataRow("no digit before the point", ".5", 0.5);
        DataRow("negative without digit before the point", "-.25", -0.25);
        DataRow("point at the end", "5.", 5.0);
        DataRow("explicit plus", "+2.5", 2.5);
        DataRow("sign alone", "-", 0.0);
        DataRow("blank after the sign", "- 5", 0.0);
        DataRow("tab before the number", "\t7", 7.0);
        DataRow("hexadecimal is not read", "0x10", 0.0);
        DataRow("second point stops", "1.2.3", 1.2);
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ParseNumber(text), value);
    }

    void setDecimals_data()
    {
        DataColumns<QString, int, QString>("text", "n", "result");
        DataRow("integer gets zeros", "5", 2, "5.00");
        DataRow("surplus cut not rounded", "1.2345", 2, "1.23");
        DataRow("seven characters unchanged", "1.23456", 2, "1.23456");
        DataRow("empty becomes zero", "", 1, "0.0");
        DataRow("missing decimals added", "23.4", 3, "23.400");
    }
    void setDecimals()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, result);
        QCOMPARE(SetDecimals(text, n), result);
    }

    // The user's regional settings (Polish: "," as the decimal separator) change nothing.
    void pointWhateverTheLocale()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        const QByteArray cLocale = std::setlocale(LC_NUMERIC, nullptr);
        std::setlocale(LC_NUMERIC, "pl_PL.UTF-8");
        const QString formatted = FormatFixed(1234.5, 2);
        const double parsed = ParseNumber(QStringLiteral("1.5"));
        const double parsedComma = ParseNumber(QStringLiteral("1,5"));
        std::setlocale(LC_NUMERIC, cLocale.constData());
        QLocale::setDefault(previous);
        QCOMPARE(formatted, QStringLiteral("1234.50"));
        QCOMPARE(parsed, 1.5);
        QCOMPARE(parsedComma, 1.0);
    }

    void decimalsForFunction()
    {
        const int expected[20] = {3, 2, 4, 3, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 1, 1};
        for (int i = 0; i < 20; ++i)
            QCOMPARE(DecimalsForFunction(i), expected[i]);
        QCOMPARE(DecimalsForFunction(20), -1);
        QCOMPARE(DecimalsForFunction(-1), -1);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
