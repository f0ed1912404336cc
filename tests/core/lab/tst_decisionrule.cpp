// SPDX-License-Identifier: MIT
// The statements of conformity on their boundaries, the expanded uncertainty they use, and
// the test uncertainty ratio with nothing to divide by.
#include "core/lab/DecisionRule.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(DecisionRule)
Q_DECLARE_METATYPE(PointStatement)

class TestDecisionRule : public QObject
{
    Q_OBJECT

private slots:
    void StatementOnBoundaries_data()
    {
        QTest::addColumn<DecisionRule>("rule");
        QTest::addColumn<double>("actual");
        QTest::addColumn<PointStatement>("expected");
        // permissible 0.5, U 0.125 (exact in binary, so the boundaries are exact)
        const auto simple = DecisionRule::SimpleAcceptance;
        const auto guard = DecisionRule::GuardBand;
        const auto nonBinary = DecisionRule::NonBinary;
        using S = PointStatement;
        QTest::newRow("simple, at permissible - U") << simple << 0.375 << S::Pass;
        QTest::newRow("simple, at permissible") << simple << -0.5 << S::Pass;
        QTest::newRow("simple, at permissible + U") << simple << 0.625 << S::Fail;
        QTest::newRow("guard band, at permissible - U") << guard << -0.375 << S::Pass;
        QTest::newRow("guard band, at permissible") << guard << 0.5 << S::Fail;
        QTest::newRow("guard band, at permissible + U") << guard << 0.625 << S::Fail;
        QTest::newRow("non-binary, at permissible - U") << nonBinary << 0.375 << S::Pass;
        QTest::newRow("non-binary, at permissible") << nonBinary << 0.5 << S::ConditionalPass;
        QTest::newRow("non-binary, at permissible + U")
            << nonBinary << -0.625 << S::ConditionalFail;
        QTest::newRow("non-binary, beyond permissible + U") << nonBinary << 0.75 << S::Fail;
    }
    void StatementOnBoundaries()
    {
        QFETCH(DecisionRule, rule);
        QFETCH(double, actual);
        QFETCH(PointStatement, expected);
        QCOMPARE(Statement(rule, actual, 0.5, 0.125), expected);
    }

    void UncertaintyFromCalibratorAndLastDigit()
    {
        // U = 2 sqrt((0.05/sqrt3)^2 + (0.005/sqrt3)^2)
        const double expected = 2.0 * std::sqrt((0.05 * 0.05 + 0.005 * 0.005) / 3.0);
        QVERIFY(std::fabs(ExpandedUncertainty("0.05", "12.34") - expected) < 1e-12);
        QCOMPARE(LastDigitStep("12."), 1.0);
        QCOMPARE(LastDigitStep("-0.125"), 0.001);
        // Nothing read: the calibrator's part alone.
        QVERIFY(std::fabs(ExpandedUncertainty("0.3", "") - 2.0 * 0.3 / std::sqrt(3.0)) < 1e-12);
    }

    void TurWithoutUncertainty()
    {
        QCOMPARE(TestUncertaintyRatio(0.5, 0.125).value(), 4.0);
        QVERIFY(!TurBelow(TestUncertaintyRatio(0.5, 0.125), 4.0));
        QVERIFY(TurBelow(TestUncertaintyRatio(0.5, 0.2), 4.0));
        // U = 0: no ratio, shown as infinite and never flagged.
        QVERIFY(!TestUncertaintyRatio(0.5, 0.0));
        QVERIFY(!TurBelow(TestUncertaintyRatio(0.5, 0.0), 4.0));
        QCOMPARE(TurText(std::nullopt), QStringLiteral("∞"));
        QCOMPARE(TurText(3.96), QStringLiteral("4.0"));
    }
};

QTEST_GUILESS_MAIN(TestDecisionRule)
#include "tst_decisionrule.moc"
