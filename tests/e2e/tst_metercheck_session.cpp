// SPDX-License-Identifier: MIT
// A meter check done as a user would, with the real window and dialogs, against r718-sim:
// new document, meter data, a voltage range and a K thermocouple range with To, points, save,
// close, reopen from the recent-file list.

#include "Child.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "TestServices.h"
#include "ScopedDocument.h"
#include "SimLink.h"
#include "ui/app/CMainMenuDlg.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/DataGrid.h"
#include "core/link/CalibratorLink.h"
#include "core/link/SerialDevice.h"
#include "ui/metercheck/entry/CMeterDataDlg.h"
#include "ui/metercheck/entry/CPointDlg.h"
#include "ui/metercheck/entry/CRangeDlg.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/run/CExactSettingDlg.h"
#include "ui/metercheck/run/CProcedureDlg.h"
#include "ui/metercheck/window/CMeterCheckDlg.h"
#include "ui/metercheck/window/CRangesPage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

void Type(QWidget* dialog, const char* edit, const QString& text)
{
    auto* line = Child<QLineEdit>(dialog, edit);
    line->setFocus();
    QTest::keyClicks(line, text);
}

void ClickChild(QWidget* dialog, const char* name)
{
    QTest::mouseClick(Child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

void ChooseItem(QWidget* dialog, const char* list, const QString& item)
{
    auto* combo = Child<QComboBox>(dialog, list);
    combo->setFocus();
    const int target = combo->findText(item);
    QVERIFY(target >= 0);
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), item);
}

QPushButton* ButtonWithText(QWidget* dialog, const QString& text)
{
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text().remove('&') == text)
            return b;
    qFatal("no button %s", qPrintable(text));
}
} // namespace

class TestMeterCheckSession : public QObject
{
    Q_OBJECT

    SimLink sim;
    CalibratorLink& link = sim.link;
    TestServices services{sim.messages};
    QTemporaryDir dir;
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

    void AddPoint(CMeterCheckDlg& window, const QString& value)
    {
        bool seen = false;
        OnModal<CPointDlg>(seen, [value](CPointDlg* d) {
            Type(d, "valueEdit", value);
            ClickChild(d, "okButton");
        });
        QTest::mouseClick(Child<ColorButton>(window, "addPointButton"), Qt::LeftButton);
        QVERIFY(seen);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(sim.Started(), qPrintable(sim.LastError()));
        QVERIFY(dir.isValid());
        QDir::setCurrent(dir.path());
        QSettings("Modrex", "r718").clear();
    }

    void mainMenuOpensTheWindow()
    {
        RecordingMessageService& messages = sim.messages;
        messages.Reset();
        CMainMenuDlg menu(link, session, services, nullptr, 0);
        link.SetPortNumber(1);
        menu.show();
        bool seen = false;
        QString title;
        QStringList frames;
        OnModal<CMeterCheckDlg>(seen, [&](CMeterCheckDlg* window) {
            title = window->windowTitle();
            QTRY_VERIFY(sim.Frames().size() >= 2);
            frames = sim.Frames();
            QTest::keyClick(window, Qt::Key_Escape);
        });
        QTest::mouseClick(menu.Button(CMainMenuDlg::Item::MeterCheck), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(title, QString("Sprawdzanie miernika"));
        QCOMPARE(frames.mid(frames.size() - 2), QStringList({"^I%", "^S1%"}));
        QTRY_VERIFY(!link.PortOpen()); // Esc closed the port
        QVERIFY(messages.messages.isEmpty());
    }

    void wholeSession()
    {
        RecordingMessageService& messages = sim.messages;
        messages.Reset();
        link.SetPortNumber(1);
        session.Reset();
        auto window = std::make_unique<CMeterCheckDlg>(link, session, services);
        window->show();
        QTRY_VERIFY(link.PortOpen());
        QVERIFY(link.LinkAlive());

        // New document and its meter data.
        bool seen = false;
        OnModal<CMeterDataDlg>(seen, [](CMeterDataDlg* d) {
            Type(d, "nameEdit", "Multimetr V-640");
            Type(d, "numberEdit", "A-1207");
            ClickChild(d, "okButton");
        });
        window->Action(CMeterCheckDlg::Command::New)->trigger();
        QVERIFY(seen);
        QCOMPARE(window->windowTitle(), QString("Sprawdzanie miernika - Bez nazwy.met"));

        // A 10 V voltage range.
        OnModal<CRangeDlg>(seen, [](CRangeDlg* d) {
            Type(d, "voltageValue", "10");
            ChooseItem(d, "voltageUnitList", "V");
            Type(d, "classReading", "0,05");
            Type(d, "classRange", "0,1");
            ClickChild(d, "okButton");
        });
        QTest::mouseClick(Child<ColorButton>(*window, "addRangeButton"), Qt::LeftButton);
        QVERIFY(seen);
        for (const char* value : {"2", "5", "-10"})
            AddPoint(*window, value);

        // A 600 °C range of a K thermocouple with the junction at To = 23 °C, after the first.
        DataGrid* ranges = Child<DataGrid>(*window, "rangesGrid");
        ranges->SelectWholeRow(2);
        OnModal<CRangeDlg>(seen, [](CRangeDlg* d) {
            ClickChild(d, "temperatureOption");
            ChooseItem(d, "thermocoupleList", "K (NiCr-NiAl)");
            ClickChild(d, "toOption");
            Type(d, "toValue", "23");
            Type(d, "temperatureValue", "600");
            Type(d, "classRange", "0,5");
            ClickChild(d, "okButton");
        });
        QTest::mouseClick(Child<ColorButton>(*window, "addRangeButton"), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(session.currentRange, qint16(1));
        for (const char* value : {"100", "550,5"})
            AddPoint(*window, value);

        QCOMPARE(CountRanges(doc), 2);
        QCOMPARE(ranges->cellText(1, 0), QString("10 V"));
        QCOMPARE(ranges->cellText(2, 0), QString("600 °C"));
        QCOMPARE(ranges->cellText(2, 1), QString("K (NiCr-NiAl) [To=23.0°C]"));
        QCOMPARE(CountPoints(doc, 0), 3);
        QCOMPARE(doc.ranges[0].points[2].setting, QString("-10.0"));
        QCOMPARE(doc.ranges[1].points[1].setting, QString("550.5"));
        QCOMPARE(Child<DataGrid>(*window, "pointsGrid")->cellText(2, 1), QString("550.5"));
        QVERIFY(session.IsModified());

        // "Pomiary" on the voltage range: the calibrator is set to each point and the meter's
        // indication typed.
        ranges->SelectWholeRow(1);
        QCOMPARE(session.currentRange, qint16(0));
        OnModal<CProcedureDlg>(seen, [](CProcedureDlg* d) { ButtonWithText(d, "OK")->click(); });
        int measured = 0;
        const QStringList readings = {"2.001", "5.004", "-10.02"};
        OnEachModal<CExactSettingDlg>(measured, 3, [&](CExactSettingDlg* d) {
            QTest::keyClicks(Child<QLineEdit>(d, "indicationEdit"), readings.value(measured - 1));
            Child<QPushButton>(d, "okButton")->click();
        });
        QTest::mouseClick(Child<QMenuBar>(*window, "menuBar"), Qt::LeftButton, {},
                          Child<QMenuBar>(*window, "menuBar")
                              ->actionGeometry(window->Action(CMeterCheckDlg::Command::Measure))
                              .center());
        QVERIFY(seen);
        QCOMPARE(measured, 3);
        QCOMPARE(doc.ranges[0].rangeMeasured, quint8(1));
        QCOMPARE(doc.ranges[0].points[1].reading, QString("5.004"));
        QVERIFY(!doc.ranges[0].points[1].actualError.isEmpty());
        QCOMPARE(Child<DataGrid>(*window, "pointsGrid")->cellText(2, 0), QString("5.004"));
        QVERIFY(sim.Frames().filter(QRegularExpression("^\\^N")).size() >= 3);

        // Its errors chart is drawn now.
        Child<QTabBar>(*window, "tabs")->setCurrentIndex(2);
        QVERIFY(window->Page(2)->isVisible());
        QVERIFY(messages.messages.isEmpty());
        Child<QTabBar>(*window, "tabs")->setCurrentIndex(0);
        QVERIFY(window->Page(0)->isVisible());

        // Save: the untitled document goes through Save As.
        const QString path = dir.filePath("sesja.met");
        QStringList filters;
        QString suffix;
        QString folder;
        OnModal<QFileDialog>(seen, [&](QFileDialog* d) {
            filters = d->nameFilters();
            suffix = d->defaultSuffix();
            folder = d->directory().absolutePath();
            auto* name = Child<QLineEdit>(d, "fileNameEdit");
            name->setText("sesja");
            QTest::keyClick(name, Qt::Key_Return);
        });
        window->Action(CMeterCheckDlg::Command::Save)->trigger();
        QVERIFY(seen);
        QCOMPARE(filters, QStringList{"Pliki mierników (*.met)"});
        QCOMPARE(suffix, QString("met"));
        QCOMPARE(folder, QDir(dir.path()).absolutePath()); // the current folder
        QVERIFY(!session.IsModified());
        QCOMPARE(session.documentName, path);
        QCOMPARE(window->windowTitle(), "Sprawdzanie miernika - " + path);
        const QByteArray saved = MetFile::PackDocument(session);

        // Close, then change the data in memory so that the reopening must really load.
        window->Action(CMeterCheckDlg::Command::Close)->trigger();
        QCOMPARE(window->windowTitle(), QString("Sprawdzanie miernika"));
        QVERIFY(!window->Action(CMeterCheckDlg::Command::Save)->isEnabled());
        ClearDocument(doc);

        const QList<QAction*> recent = window->RecentFileActions();
        QCOMPARE(recent.size(), 1);
        QCOMPARE(recent[0]->text(), QString("&1 ") + (path.size() > 20 ? "/.../sesja.met" : path));
        recent[0]->trigger();
        QCOMPARE(window->windowTitle(), "Sprawdzanie miernika - " + path);
        QCOMPARE(CountRanges(doc), 2);
        QCOMPARE(doc.meterName, QString("Multimetr V-640"));
        QCOMPARE(doc.ranges[1].toValue, QString("23.0"));
        QCOMPARE(ranges->cellText(2, 1), QString("K (NiCr-NiAl) [To=23.0°C]"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray onDisk = file.readAll();
        QCOMPARE(onDisk.size(), MET_FILE_SIZE);
        QVERIFY(onDisk == MetFile::PackDocument(session));
        QVERIFY(onDisk == saved);
        QVERIFY(messages.messages.isEmpty());

        // Exit without changes: no question, the port is closed.
        window->Action(CMeterCheckDlg::Command::Exit)->trigger();
        QVERIFY(!window->isVisible());
        QTRY_VERIFY(!link.PortOpen());
        QVERIFY(messages.messages.isEmpty());
        const QStringList frames = sim.Frames();
        QVERIFY(frames.contains("^I%"));
    }
};

QTEST_MAIN(TestMeterCheckSession)
#include "tst_metercheck_session.moc"
