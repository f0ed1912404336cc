// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/CMeterDataDlg.h"
#include "metercheck/dialogs/MeterDataEntry.h"
#include "metercheck/document/MeterCheckDoc.h"

#include "RecordingMessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

template <typename T> T* Child(QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

} // namespace

class TestMeterData : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ClearDocument();
        meterCheckDoc.meterName = "V640";
        meterCheckDoc.meterNumber = "12345";
        meterCheckDoc.method = 1;
        documentModified = false;
    }

    void opensOnTheDocument_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("methodEnabled");
        QTest::newRow("new document") << 3 << true;
        QTest::newRow("meter data from the menu") << 5 << false;
    }
    void opensOnTheDocument()
    {
        QFETCH(int, state);
        QFETCH(bool, methodEnabled);
        meterCheckState = qint16(state);
        CMeterDataDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Dane miernika"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1275")->text(), QStringLiteral("V640"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1276")->text(), QStringLiteral("12345"));
        QCOMPARE(Child<QLineEdit>(dlg, "edit1275")->maxLength(), 20);
        QCOMPARE(Child<QLineEdit>(dlg, "edit1276")->maxLength(), 20);
        auto* method = Child<QComboBox>(dlg, "list1278");
        QCOMPARE(method->currentIndex(), 1);
        QCOMPARE(method->itemText(0), QStringLiteral("dokładnej nastawy"));
        QCOMPARE(method->itemText(1), QStringLiteral("dokładnego odczytu"));
        QCOMPARE(method->isEnabled(), methodEnabled);
    }

    void nameWithoutNumber()
    {
        meterCheckState = 3;
        RecordingMessageService messages;
        CMeterDataDlg dlg;
        dlg.show();
        Child<QLineEdit>(dlg, "edit1275")->setText("Nowy");
        Child<QLineEdit>(dlg, "edit1276")->clear();
        Child<QComboBox>(dlg, "list1278")->setCurrentIndex(0);
        QTest::mouseClick(Child<QPushButton>(dlg, "button1"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.Texts(), QStringList{"Nie wprowadzono wszystkich danych miernika."});
        QCOMPARE(messages.messages[0].caption, QStringLiteral("Błąd!"));
        QCOMPARE(meterCheckDoc.meterName, QStringLiteral("V640"));
        QCOMPARE(meterCheckDoc.method, qint16(1));
        QVERIFY(!documentModified);
        QTest::mouseClick(Child<QPushButton>(dlg, "button2"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(meterCheckDoc.meterName, QStringLiteral("V640"));
        QCOMPARE(meterCheckDoc.meterNumber, QStringLiteral("12345"));
    }

    void okStoresAndMarksModified()
    {
        meterCheckState = 3;
        RecordingMessageService messages;
        CMeterDataDlg dlg;
        dlg.show();
        auto* name = Child<QLineEdit>(dlg, "edit1275");
        name->setText("Multimetr cyfrowy łódź ABCDEF"); // longer than 20
        QCOMPARE(name->text(), QStringLiteral("Multimetr cyfrowy łó"));
        Child<QComboBox>(dlg, "list1278")->setCurrentIndex(0);
        QTest::mouseClick(Child<QPushButton>(dlg, "button1"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(meterCheckDoc.meterName, QStringLiteral("Multimetr cyfrowy łó"));
        QCOMPARE(meterCheckDoc.method, qint16(0));
        QVERIFY(documentModified);
        QVERIFY(messages.messages.isEmpty());
    }

    void acceptRules()
    {
        RecordingMessageService messages;
        QVERIFY(!MeterDataEntry::Accept("", "1", 0));
        QVERIFY(!MeterDataEntry::Accept("a", "", 0));
        QCOMPARE(messages.messages.size(), 2);
        QVERIFY(!documentModified);
        // No item selected (a file with another method value): the method stays.
        meterCheckDoc.method = 7;
        QVERIFY(MeterDataEntry::Accept("a", "b", -1));
        QCOMPARE(meterCheckDoc.method, qint16(7));
        QVERIFY(MeterDataEntry::Accept(QString(25, 'x'), "b", 1));
        QCOMPARE(meterCheckDoc.meterName, QString(20, 'x'));
        QCOMPARE(meterCheckDoc.method, qint16(1));
        QVERIFY(MeterDataEntry::MethodFixed(5));
        QVERIFY(!MeterDataEntry::MethodFixed(3));
    }
};

QTEST_MAIN(TestMeterData)
#include "tst_meterdata.moc"
