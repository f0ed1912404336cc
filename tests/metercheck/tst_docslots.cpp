// SPDX-License-Identifier: MIT
#include "metercheck/document/DocumentSlots.h"
#include "metercheck/document/MeterCheckDoc.h"

#include <QTest>

namespace {

void DefineRanges(int n)
{
    ClearDocument();
    for (int i = 0; i < n; ++i) {
        MeterRange& r = meterCheckDoc.ranges[i];
        r.rangeValue = QString::number(i + 1);
        r.rangeUnit = "V";
        r.rangeDefined = 1;
        r.points[0] = {"1.0", "1.0", "", "", "", "V", 1, 1, 0, 0};
    }
}

QStringList RangeValues()
{
    QStringList values;
    for (const MeterRange& r : meterCheckDoc.ranges)
        values << r.rangeValue;
    while (!values.isEmpty() && values.last().isEmpty())
        values.removeLast();
    return values;
}

void DefinePoints(int range, const QStringList& settings)
{
    for (int j = 0; j < settings.size(); ++j)
        meterCheckDoc.ranges[range].points[j] = {"", settings[j], "", "", "", "mV", 1, 1, 0, 1};
}

QStringList PointSettings(int range)
{
    QStringList values;
    for (const MeterPoint& p : meterCheckDoc.ranges[range].points)
        values << p.setting;
    while (!values.isEmpty() && values.last().isEmpty())
        values.removeLast();
    return values;
}

bool RangeIsEmpty(const MeterRange& r)
{
    bool empty = r.rangeValue.isEmpty() && r.sensorName.isEmpty() && r.rangeUnit.isEmpty() &&
                 r.toValue.isEmpty() && r.rlValue.isEmpty() && r.classReading.isEmpty() &&
                 r.classRange.isEmpty() && r.constTerm.isEmpty() && r.constUnit.isEmpty() &&
                 r.function == 0 && r.coldJunction == 0 && r.rangeDefined == 0 &&
                 r.rangeMeasured == 0;
    for (const MeterPoint& p : r.points)
        empty = empty && p.reading.isEmpty() && p.setting.isEmpty() && p.unit.isEmpty() &&
                p.actualError.isEmpty() && p.permissibleError.isEmpty() &&
                p.calibratorError.isEmpty() && p.marked == 0 && p.pointDefined == 0 &&
                p.reserved == 0 && p.pointMeasured == 0;
    return empty;
}

} // namespace

class TestDocSlots : public QObject
{
    Q_OBJECT

private slots:
    void clearKeepsVersionAndCalFunction()
    {
        meterCheckDoc.formatVersion = 1.0;
        meterCheckDoc.meterName = "M";
        meterCheckDoc.method = 1;
        MeterRange& r = meterCheckDoc.ranges[7];
        r.function = 4;
        r.calFunction = 14;
        r.coldJunction = 2;
        r.toValue = "23.0";
        r.rangeDefined = 1;
        r.rangeMeasured = 1;
        r.points[49] = {"1", "2", "3", "4", "5", "°C", 1, 1, 1, 1};
        ClearDocument();
        QCOMPARE(meterCheckDoc.formatVersion, 1.0);
        QCOMPARE(meterCheckDoc.meterName, QString());
        QCOMPARE(meterCheckDoc.method, qint16(0));
        QCOMPARE(r.calFunction, qint16(14));
        QVERIFY(RangeIsEmpty(r));
    }

    void countingTakesOnlyTheValueOne()
    {
        ClearDocument();
        meterCheckDoc.ranges[0].rangeDefined = 1;
        meterCheckDoc.ranges[1].rangeDefined = 2;
        meterCheckDoc.ranges[49].rangeDefined = 1;
        QCOMPARE(CountRanges(), 2);
        MeterRange& r = meterCheckDoc.ranges[0];
        r.points[0].pointDefined = 1;
        r.points[1].pointDefined = 1;
        r.points[3].pointDefined = 1;
        r.points[4].pointDefined = 255;
        QCOMPARE(CountPoints(0), 3);
        QCOMPARE(CountPoints(50), 0);
        QCOMPARE(CountPoints(-1), 0);
    }

    void insertRangeBeforeSelectedAndRemoveAgain()
    {
        DefineRanges(5);
        QVERIFY(InsertRangeSlot(2));
        QCOMPARE(RangeValues(), (QStringList{"1", "2", "", "3", "4", "5"}));
        QVERIFY(RangeIsEmpty(meterCheckDoc.ranges[2]));
        QCOMPARE(meterCheckDoc.ranges[3].points[0].setting, QStringLiteral("1.0"));
        QCOMPARE(CountRanges(), 5);
        // The empty slot is not counted, so removal goes by the caller's index.
        meterCheckDoc.ranges[2].rangeDefined = 1;
        QVERIFY(RemoveRangeSlot(2));
        QCOMPARE(RangeValues(), (QStringList{"1", "2", "3", "4", "5"}));
        QVERIFY(RangeIsEmpty(meterCheckDoc.ranges[5]));
    }

    void insertAndRemoveLimits_data()
    {
        QTest::addColumn<int>("defined");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("insert");
        QTest::addColumn<bool>("remove");
        QTest::newRow("empty document, first slot") << 0 << 0 << true << false;
        QTest::newRow("after the last range") << 5 << 5 << true << false;
        QTest::newRow("beyond the packed end") << 5 << 6 << false << false;
        QTest::newRow("full document") << 50 << 10 << false << true;
        QTest::newRow("full document, last slot") << 50 << 49 << false << true;
        QTest::newRow("negative index") << 3 << -1 << false << false;
    }
    void insertAndRemoveLimits()
    {
        QFETCH(int, defined);
        QFETCH(int, index);
        QFETCH(bool, insert);
        QFETCH(bool, remove);
        DefineRanges(defined);
        QCOMPARE(InsertRangeSlot(index), insert);
        DefineRanges(defined);
        QCOMPARE(RemoveRangeSlot(index), remove);
        QCOMPARE(CountRanges(), remove ? defined - 1 : defined);
    }

    void removingFromFullDocumentFreesLastSlot()
    {
        DefineRanges(50);
        QVERIFY(RemoveRangeSlot(0));
        QCOMPARE(CountRanges(), 49);
        QCOMPARE(meterCheckDoc.ranges[0].rangeValue, QStringLiteral("2"));
        QCOMPARE(meterCheckDoc.ranges[48].rangeValue, QStringLiteral("50"));
        QVERIFY(RangeIsEmpty(meterCheckDoc.ranges[49]));
        QVERIFY(InsertRangeSlot(49));
    }

    void pointsStayPacked()
    {
        ClearDocument();
        meterCheckDoc.ranges[1].rangeDefined = 1;
        DefinePoints(1, {"1.0", "2.0", "3.0"});
        QVERIFY(InsertPointSlot(1, 0));
        QCOMPARE(PointSettings(1), (QStringList{"", "1.0", "2.0", "3.0"}));
        const MeterPoint& fresh = meterCheckDoc.ranges[1].points[0];
        QVERIFY(fresh.unit.isEmpty() && fresh.marked == 0 && fresh.pointDefined == 0 &&
                fresh.pointMeasured == 0);
        // The point dialog fills the new slot.
        meterCheckDoc.ranges[1].points[0] = {"", "0.5", "", "", "", "mV", 1, 1, 0, 0};
        QVERIFY(RemovePointSlot(1, 1));
        QCOMPARE(PointSettings(1), (QStringList{"0.5", "2.0", "3.0"}));
        QCOMPARE(meterCheckDoc.ranges[1].points[3].pointDefined, quint8(0));
        QVERIFY(!RemovePointSlot(1, 3));
        QVERIFY(!InsertPointSlot(1, 4));
        QVERIFY(!InsertPointSlot(50, 0));
    }

    void fiftyPointsRefuseAnother()
    {
        ClearDocument();
        QStringList settings;
        for (int j = 0; j < 50; ++j)
            settings << QString::number(j);
        DefinePoints(0, settings);
        QVERIFY(!InsertPointSlot(0, 10));
        QVERIFY(RemovePointSlot(0, 49));
        QCOMPARE(CountPoints(0), 49);
        QVERIFY(InsertPointSlot(0, 49));
    }
};

QTEST_GUILESS_MAIN(TestDocSlots)
#include "tst_docslots.moc"
