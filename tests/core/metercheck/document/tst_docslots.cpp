// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/document/DocumentSlots.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "ScopedDocument.h"

#include <QTest>

namespace {

void DefineRanges(MeterCheckDoc& doc, int n)
{
    ClearDocument(doc);
    for (int i = 0; i < n; ++i) {
        MeterRange& r = doc.ranges[i];
        r.rangeValue = QString::number(i + 1);
        r.rangeUnit = "V";
        r.rangeDefined = 1;
        r.points[0] = {"1.0", "1.0", "", "", "", "V", 1, 1, 0, 0};
    }
}

QStringList RangeValues(const MeterCheckDoc& doc)
{
    QStringList values;
    for (const MeterRange& r : doc.ranges)
        values << r.rangeValue;
    while (!values.isEmpty() && values.last().isEmpty())
        values.removeLast();
    return values;
}

void DefinePoints(MeterCheckDoc& doc, int range, const QStringList& settings)
{
    for (int j = 0; j < settings.size(); ++j)
        doc.ranges[range].points[j] = {"", settings[j], "", "", "", "mV", 1, 1, 0, 1};
}

QStringList PointSettings(const MeterCheckDoc& doc, int range)
{
    QStringList values;
    for (const MeterPoint& p : doc.ranges[range].points)
        values << p.setting;
    while (!values.isEmpty() && values.last().isEmpty())
        values.removeLast();
    return values;
}

// Cleared: as a new range, but a cleared range keeps its calFunction preset.
bool RangeIsEmpty(const MeterRange& r)
{
    MeterRange cleared;
    cleared.calFunction = r.calFunction;
    return r == cleared;
}

} // namespace

class TestDocSlots : public QObject
{
    Q_OBJECT

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

private slots:
    void init() { session.Reset(); }

    void clearKeepsVersionAndCalFunction()
    {
        doc.formatVersion = 1.0;
        doc.meterName = "M";
        doc.method = CheckMethod::ExactReading;
        MeterRange& r = doc.ranges[7];
        r.function = RangeFunction::Rtd;
        r.calFunction = 14;
        r.coldJunction = ColdJunction::To;
        r.toValue = "23.0";
        r.rangeDefined = 1;
        r.rangeMeasured = 1;
        r.points[49] = {"1", "2", "3", "4", "5", "°C", 1, 1, 1, 1};
        ClearDocument(doc);
        QCOMPARE(doc.formatVersion, 1.0);
        QCOMPARE(doc.meterName, QString());
        QCOMPARE(doc.method, CheckMethod::ExactSetting);
        QCOMPARE(r.calFunction, qint16(14));
        QVERIFY(RangeIsEmpty(r));
    }

    void countingTakesOnlyTheValueOne()
    {
        ClearDocument(doc);
        doc.ranges[0].rangeDefined = 1;
        doc.ranges[1].rangeDefined = 2;
        doc.ranges[49].rangeDefined = 1;
        QCOMPARE(CountRanges(doc), 2);
        MeterRange& r = doc.ranges[0];
        r.points[0].pointDefined = 1;
        r.points[1].pointDefined = 1;
        r.points[3].pointDefined = 1;
        r.points[4].pointDefined = 255;
        QCOMPARE(CountPoints(doc, 0), 3);
        QCOMPARE(CountPoints(doc, 50), 0);
        QCOMPARE(CountPoints(doc, -1), 0);
    }

    void insertRangeBeforeSelectedAndRemoveAgain()
    {
        DefineRanges(doc, 5);
        QVERIFY(InsertRangeSlot(doc, 2));
        QCOMPARE(RangeValues(doc), (QStringList{"1", "2", "", "3", "4", "5"}));
        QVERIFY(RangeIsEmpty(doc.ranges[2]));
        QCOMPARE(doc.ranges[3].points[0].setting, QStringLiteral("1.0"));
        QCOMPARE(CountRanges(doc), 5);
        // The empty slot is not counted, so removal goes by the caller's index.
        doc.ranges[2].rangeDefined = 1;
        QVERIFY(RemoveRangeSlot(doc, 2));
        QCOMPARE(RangeValues(doc), (QStringList{"1", "2", "3", "4", "5"}));
        QVERIFY(RangeIsEmpty(doc.ranges[5]));
    }

    void insertAndRemoveLimits_data()
    {
        DataColumns<int, int, bool, bool>("defined", "index", "insert", "remove");
        DataRow("empty document, first slot", 0, 0, true, false);
        DataRow("after the last range", 5, 5, true, false);
        DataRow("beyond the packed end", 5, 6, false, false);
        DataRow("full document", 50, 10, false, true);
        DataRow("full document, last slot", 50, 49, false, true);
        DataRow("negative index", 3, -1, false, false);
    }
    void insertAndRemoveLimits()
    {
        QFETCH(int, defined);
        QFETCH(int, index);
        QFETCH(bool, insert);
        QFETCH(bool, remove);
        DefineRanges(doc, defined);
        QCOMPARE(InsertRangeSlot(doc, index), insert);
        DefineRanges(doc, defined);
        QCOMPARE(RemoveRangeSlot(doc, index), remove);
        QCOMPARE(CountRanges(doc), remove ? defined - 1 : defined);
    }

    void removingFromFullDocumentFreesLastSlot()
    {
        DefineRanges(doc, 50);
        QVERIFY(RemoveRangeSlot(doc, 0));
        QCOMPARE(CountRanges(doc), 49);
        QCOMPARE(doc.ranges[0].rangeValue, QStringLiteral("2"));
        QCOMPARE(doc.ranges[48].rangeValue, QStringLiteral("50"));
        QVERIFY(RangeIsEmpty(doc.ranges[49]));
        QVERIFY(InsertRangeSlot(doc, 49));
    }

    void pointsStayPacked()
    {
        ClearDocument(doc);
        doc.ranges[1].rangeDefined = 1;
        DefinePoints(doc, 1, {"1.0", "2.0", "3.0"});
        QVERIFY(InsertPointSlot(doc, 1, 0));
        QCOMPARE(PointSettings(doc, 1), (QStringList{"", "1.0", "2.0", "3.0"}));
        const MeterPoint& fresh = doc.ranges[1].points[0];
        QVERIFY(fresh.unit.isEmpty() && fresh.marked == 0 && fresh.pointDefined == 0 &&
                fresh.pointMeasured == 0);
        // The point dialog fills the new slot.
        doc.ranges[1].points[0] = {"", "0.5", "", "", "", "mV", 1, 1, 0, 0};
        QVERIFY(RemovePointSlot(doc, 1, 1));
        QCOMPARE(PointSettings(doc, 1), (QStringList{"0.5", "2.0", "3.0"}));
        QCOMPARE(doc.ranges[1].points[3].pointDefined, quint8(0));
        QVERIFY(!RemovePointSlot(doc, 1, 3));
        QVERIFY(!InsertPointSlot(doc, 1, 4));
        QVERIFY(!InsertPointSlot(doc, 50, 0));
    }

    void fiftyPointsRefuseAnother()
    {
        ClearDocument(doc);
        QStringList settings;
        for (int j = 0; j < 50; ++j)
            settings << QString::number(j);
        DefinePoints(doc, 0, settings);
        QVERIFY(!InsertPointSlot(doc, 0, 10));
        QVERIFY(RemovePointSlot(doc, 0, 49));
        QCOMPARE(CountPoints(doc, 0), 49);
        QVERIFY(InsertPointSlot(doc, 0, 49));
    }
};

QTEST_GUILESS_MAIN(TestDocSlots)
#include "tst_docslots.moc"
