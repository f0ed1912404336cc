// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "ui/metercheck/entry/CMeterDataDlg.h"
#include "core/metercheck/entry/MeterDataEntry.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "Child.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestMeterData : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

private slots:
    void init()
    {
        session.Reset();
        doc.meterName = "V640";
        doc.meterNumber = "12345";
        doc.method = CheckMethod::ExactReading;
    }

    void opensOnTheDocument_data()
    {
        DataColumns<int, bool>("state", "methodEnabled");
        DataRow("new document", 3, true);
        DataRow("meter data from the menu", 5, false);
    }
    void opensOnTheDocument()
    {
        QFETCH(int, state);
        QFETCH(bool, methodEnabled);
        CMeterDataDlg dlg(session, MeterCheckMode(state), log);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Dane miernika"));
        QCOMPARE(Child<QLineEdit>(dlg, "nameEdit")->text(), QStringLiteral("V640"));
        QCOMPARE(Child<QLineEdit>(dlg, "numberEdit")->text(), QStringLiteral("12345"));
        QCOMPARE(Child<QLineEdit>(dlg, "nameEdit")->maxLength(), 20);
        QCOMPARE(Child<QLineEdit>(dlg, "numberEdit")->maxLength(), 20);
        auto* method = Child<QComboBox>(dlg, "methodList");
        QCOMPARE(method->currentIndex(), 1);
        QCOMPARE(method->itemText(0), QStringLiteral("dokładnej nastawy"));
        QCOMPARE(method->itemText(1), QStringLiteral("dokładnego odczytu"));
        QCOMPARE(method->isEnabled(), methodEnabled);
    }

    void nameWithoutNumber()
    {
        RecordingMessageService messages;
        CMeterDataDlg dlg(session, MeterCheckMode::NewDocument, messages);
        dlg.show();
        Child<QLineEdit>(dlg, "nameEdit")->setText("Nowy");
        Child<QLineEdit>(dlg, "numberEdit")->clear();
        Child<QComboBox>(dlg, "methodList")->setCurrentIndex(0);
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QVERIFY(messages.OnlyError("Nie wprowadzono wszystkich danych miernika."));
        QCOMPARE(doc.meterName, QStringLiteral("V640"));
        QCOMPARE(doc.method, CheckMethod::ExactReading);
        QVERIFY(!session.IsModified());
        QTest::mouseClick(Child<QPushButton>(dlg, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(doc.meterName, QStringLiteral("V640"));
        QCOMPARE(doc.meterNumber, QStringLiteral("12345"));
    }

    void okStoresAndMarksModified()
    {
        RecordingMessageService messages;
        CMeterDataDlg dlg(session, MeterCheckMode::NewDocument, messages);
        dlg.show();
        auto* name = Child<QLineEdit>(dlg, "nameEdit");
        name->setText("Multimetr cyfrowy łódź ABCDEF"); // longer than 20
        QCOMPARE(name->text(), QStringLiteral("Multimetr cyfrowy łó"));
        Child<QComboBox>(dlg, "methodList")->setCurrentIndex(0);
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(doc.meterName, QStringLiteral("Multimetr cyfrowy łó"));
        QCOMPARE(doc.method, CheckMethod::ExactSetting);
        QVERIFY(session.IsModified());
        QVERIFY(messages.messages.isEmpty());
    }

    // A name or number the .met file cannot hold whole is refused, the characters named; the
    // text stays as typed, the caret at the first of them, and nothing is stored.
    void charactersTheFileCannotHold_data()
    {
        DataColumns<QString, QString, QString, QString, int>("name", "number", "message", "field",
                                                             "caret");
        DataRow("name outside windows-1250", QString::fromUtf8("Zażółć ∑€ 日本 ☃"), "0417/2004",
                QString::fromUtf8("Nazwa miernika zawiera znaki, których nie można zapisać w "
                                  "pliku .met: „∑”, „日”, „本”, „☃”."),
                "nameEdit", 7);
        DataRow("number with an invisible character", "V-640", QString::fromUtf8("12\u200B34"),
                QString::fromUtf8("Numer miernika zawiera znaki, których nie można zapisać w "
                                  "pliku .met: U+200B."),
                "numberEdit", 2);
    }
    void charactersTheFileCannotHold()
    {
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(QString, message);
        QFETCH(QString, field);
        QFETCH(int, caret);
        RecordingMessageService messages;
        CMeterDataDlg dlg(session, MeterCheckMode::NewDocument, messages);
        dlg.show();
        Child<QLineEdit>(dlg, "nameEdit")->setText(name);
        Child<QLineEdit>(dlg, "numberEdit")->setText(number);
        QTest::mouseClick(Child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QVERIFY(messages.OnlyError(message));
        auto* refused = Child<QLineEdit>(dlg, field);
        QCOMPARE(dlg.focusWidget(), refused);
        QCOMPARE(refused->cursorPosition(), caret);
        QCOMPARE(Child<QLineEdit>(dlg, "nameEdit")->text(), name);
        QCOMPARE(Child<QLineEdit>(dlg, "numberEdit")->text(), number);
        QCOMPARE(doc.meterName, QStringLiteral("V640"));
        QVERIFY(!session.IsModified());
    }

    void acceptRules()
    {
        RecordingMessageService messages;
        QVERIFY(!MeterDataEntry::Accept(session, "", "1", 0, messages));
        QVERIFY(!MeterDataEntry::Accept(session, "a", "", 0, messages));
        QCOMPARE(messages.messages.size(), 2);
        QVERIFY(!session.IsModified());
        // No item selected (a file with another method value): the method stays.
        doc.method = CheckMethod(7);
        QVERIFY(MeterDataEntry::Accept(session, "a", "b", -1, messages));
        QCOMPARE(doc.method, CheckMethod(7));
        QVERIFY(MeterDataEntry::Accept(session, QString(25, 'x'), "b", 1, messages));
        QCOMPARE(doc.meterName, QString(20, 'x'));
        QCOMPARE(doc.method, CheckMethod::ExactReading);
        QVERIFY(MeterDataEntry::MethodFixed(MeterCheckMode::EditMeterData));
        QVERIFY(!MeterDataEntry::MethodFixed(MeterCheckMode::NewDocument));
    }
};

QTEST_MAIN(TestMeterData)
#include "tst_meterdata.moc"
