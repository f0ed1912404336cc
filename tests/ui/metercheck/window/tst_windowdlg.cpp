// SPDX-License-Identifier: MIT
#include "ui/controls/ColorButton.h"
#include "ui/controls/DataGrid.h"
#include "ui/metercheck/charts/ChartPage.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/window/CMeterCheckDlg.h"
#include "ui/metercheck/window/CRangesPage.h"
#include "core/base/RecentFileList.h"
#include "ui/metercheck/window/ScreenDialogs.h"

#include "Child.h"
#include "DocumentBuilder.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "TestServices.h"
#include "MeterCheckWindowFakes.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Command = CMeterCheckDlg::Command;

// The seven commands on the open document.
const Command documentCommands[] = {Command::Save,   Command::SaveAs, Command::Print,
                                    Command::Export, Command::Close,  Command::MeterData,
                                    Command::Measure};

class TestMeterCheckDlg : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    std::unique_ptr<RecordingMessageService> messages;
    std::unique_ptr<TestServices> services; // recording into messages
    ScriptedDialogs dialogs;
    RecordingPort port;
    LogMessageService log;
    CalibratorLink link{log}; // the window's measurements would go there; the port is a fake
    std::unique_ptr<CMeterCheckDlg> window;

    QStringList FileMenuTexts() const
    {
        QStringList texts;
        const QList<QAction*> bar = Child<QMenuBar>(*window, "menuBar")->actions();
        for (QAction* a : bar.first()->menu()->actions())
            texts << (a->isSeparator() ? QString("-") : a->text());
        return texts;
    }

private slots:
    void init()
    {
        QSettings("Modrex", "r718").clear();
        session.Reset();
        messages = std::make_unique<RecordingMessageService>();
        services = std::make_unique<TestServices>(*messages);
        dialogs = ScriptedDialogs();
        port.calls.clear();
        window =
            std::make_unique<CMeterCheckDlg>(link, session, *services, nullptr, &dialogs, &port);
        window->show();
    }
    void cleanup()
    {
        window.reset();
        services.reset();
        messages.reset();
    }

    void menuAndTabs()
    {
        QCOMPARE(window->windowTitle(), QString("Sprawdzanie miernika"));
        QCOMPARE(port.calls, QStringList{"open"});
        QCOMPARE(FileMenuTexts(),
                 QStringList({"&Nowy...", "&Otwórz...", "&Zapisz", "Zapi&sz jako...", "&Drukuj...",
                              "Eksport do E&xcela...", "&Zamknij", "-", "&Wyjście"}));
        QStringList bar;
        QSet<QKeyCombination> keys;
        for (QAction* a : Child<QMenuBar>(*window, "menuBar")->actions()) {
            bar << a->text();
            const QKeySequence key = QKeySequence::mnemonic(a->text());
            QVERIFY2(!key.isEmpty() && !keys.contains(key[0]), qPrintable(a->text()));
            keys << key[0];
        }
        QCOMPARE(bar, QStringList({"P&lik", "&Dane miernika", "&Pomiary", "&Historia"}));
        QStringList history;
        for (QAction* a : Child<QMenuBar>(*window, "menuBar")->actions().last()->menu()->actions())
            history << a->text() + (a->isEnabled() ? "" : " (off)");
        QCOMPARE(history, QStringList({"Historia &sprawdzeń...", "&Baza danych..."}));
        QCOMPARE(Child<QTabBar>(*window, "tabs")->count(), 3);
        QCOMPARE(Child<QTabBar>(*window, "tabs")->tabText(1), QString("Wykres punktów"));
        QCOMPARE(Child<QTabBar>(*window, "tabs")->tabText(2), QString("Wykres błędów"));
        for (Command c : documentCommands)
            QVERIFY2(!window->Action(c)->isEnabled(), qPrintable(QString::number(int(c))));
        for (Command c : {Command::New, Command::Open, Command::Exit})
            QVERIFY(window->Action(c)->isEnabled());
        for (int t = 0; t < 3; ++t)
            QVERIFY(!window->Page(t)->isVisible());
    }

    void newShowsTheRangesPage()
    {
        dialogs.meterData = ScriptedDialogs::FillMeterData(session);
        window->Action(Command::New)->trigger();
        QCOMPARE(window->windowTitle(), QString("Sprawdzanie miernika - Bez nazwy.met"));
        QVERIFY(window->Page(0)->isVisible());
        QVERIFY(!window->Page(1)->isVisible());
        for (Command c : documentCommands)
            QVERIFY(window->Action(c)->isEnabled());
        QVERIFY(Child<ColorButton>(*window, "addRangeButton")->isEnabled());
    }

    void errorsTabOnNeverMeasuredRange()
    {
        dialogs.meterData = ScriptedDialogs::FillMeterData(session);
        window->Action(Command::New)->trigger();
        DocumentBuilder(doc)
            .Range(0, RangeFunction::Voltage, "10", "V")
            .Point({"", "", "", "", "", "", 1, 1, 0, 0});
        Child<QTabBar>(*window, "tabs")->setCurrentIndex(2);
        QCOMPARE(messages->Texts(),
                 QStringList{"Na bieżącym zakresie nie przeprowadzono jeszcze pomiarów."});
        QCOMPARE(messages->messages[0].caption, QString("Brak danych!"));
        QCOMPARE(Child<QTabBar>(*window, "tabs")->currentIndex(), 0);
        QVERIFY(window->Page(0)->isVisible());
        QVERIFY(!window->Page(2)->isVisible());
    }

    void measuredRangeDrawsItsChart()
    {
        dialogs.meterData = ScriptedDialogs::FillMeterData(session);
        window->Action(Command::New)->trigger();
        DocumentBuilder(doc)
            .Range(0, RangeFunction::Voltage, "10", "V")
            .Measured()
            .Point({"5.004", "5.000", "0.004", "0.008", "0.0006", "V", 1, 1, 0, 1});
        Child<QTabBar>(*window, "tabs")->setCurrentIndex(2);
        QVERIFY(messages->messages.isEmpty());
        QVERIFY(window->Page(2)->isVisible());
        QVERIFY(!window->Page(0)->isVisible());
        const auto* chart = static_cast<ChartPage*>(window->Page(2));
        QCOMPARE(chart->Data().status, ChartData::Status::Ready);
        QCOMPARE(chart->Data().pointCount, 1);

        Child<QTabBar>(*window, "tabs")->setCurrentIndex(0);
        QVERIFY(window->Page(0)->isVisible());
        QVERIFY(!window->Page(2)->isVisible());
        QCOMPARE(Child<DataGrid>(*window, "pointsGrid")->cellText(1, 0), QString("5.004"));
    }

    void longRecentPathShortenedButOpensFullPath()
    {
        QVERIFY(QDir(dir.path()).mkpath("pomiary/woltomierze/2024"));
        const QString path = dir.filePath("pomiary/woltomierze/2024/v640.met");
        doc.meterName = "z listy";
        QVERIFY(SaveDocument(session, path, *messages));
        ClearDocument(doc);
        RecentFileList::Add(dir.filePath("inny.met"));
        RecentFileList::Add(path);
        window =
            std::make_unique<CMeterCheckDlg>(link, session, *services, nullptr, &dialogs, &port);
        window->show();

        const QList<QAction*> items = window->RecentFileActions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QString("&1 /.../2024/v640.met"));
        QCOMPARE(items[0]->data().toInt(), int(Command::RecentFile));
        QCOMPARE(items[1]->data().toInt(), int(Command::RecentFile) + 1);
        QCOMPARE(FileMenuTexts().mid(8, 2), QStringList({"&Wyjście", "-"}));

        items[0]->trigger();
        QVERIFY(messages->messages.isEmpty());
        QCOMPARE(session.documentName, path);
        QCOMPARE(window->windowTitle(), "Sprawdzanie miernika - " + path);
        QCOMPARE(doc.meterName, QString("z listy"));
        QVERIFY(window->Page(0)->isVisible());
    }

    // A document handed over by a later start waits for no command: while one runs (here in
    // the meter-data dialog) it is refused; afterwards it opens.
    void handedDocumentNotWhileACommandRuns()
    {
        const QString path = dir.filePath("przekazany.met");
        doc.meterName = "przekazany";
        QVERIFY(SaveDocument(session, path, *messages));
        ClearDocument(doc);
        window->hide();
        window->setWindowModality(Qt::ApplicationModal); // as the menu runs it
        window->show();
        bool openedDuringCommand = true;
        dialogs.meterData = [this, &path, &openedDuringCommand] {
            openedDuringCommand = window->OpenHandedDocument(path);
            return false;
        };
        window->Action(Command::New)->trigger();
        QVERIFY(!openedDuringCommand);
        QCOMPARE(doc.meterName, QString());
        QVERIFY(window->OpenHandedDocument(path));
        QCOMPARE(window->windowTitle(), "Sprawdzanie miernika - " + path);
        QCOMPARE(doc.meterName, QString("przekazany"));
    }

    void escClosesWithoutQuestion()
    {
        dialogs.meterData = ScriptedDialogs::FillMeterData(session);
        window->Action(Command::New)->trigger();
        QVERIFY(session.IsModified());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(messages->messages.isEmpty());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QCOMPARE(port.calls, QStringList({"open", "close"}));

        // Opened again: no document shown, and New asks about the unsaved data.
        window =
            std::make_unique<CMeterCheckDlg>(link, session, *services, nullptr, &dialogs, &port);
        window->show();
        QCOMPARE(window->windowTitle(), QString("Sprawdzanie miernika"));
        QVERIFY(!window->Page(0)->isVisible());
        QVERIFY(!window->Action(Command::Save)->isEnabled());
        messages->answers = {MessageAnswer::Cancel};
        window->Action(Command::New)->trigger();
        QCOMPARE(messages->Texts(), QStringList{"Czy zapisać zmiany do pliku?"});
        QCOMPARE(doc.meterName, QString("V-640"));
    }

    void enterDoesNothing()
    {
        QTest::keyClick(window.get(), Qt::Key_Return);
        QVERIFY(window->isVisible());
        QCOMPARE(port.calls, QStringList{"open"});
    }

    void closeBoxIsExit()
    {
        dialogs.meterData = ScriptedDialogs::FillMeterData(session);
        window->Action(Command::New)->trigger();
        messages->answers = {MessageAnswer::Cancel};
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(messages->Texts(), QStringList{"Czy zapisać zmiany do pliku?"});
        messages->answers = {MessageAnswer::No};
        window->close();
        QVERIFY(!window->isVisible());
        QCOMPARE(port.calls, QStringList({"open", "close"}));
    }

    void fileDialogsStartInTheLastFolder()
    {
        QTemporaryDir other;
        ScreenDialogs screen(session, *messages, window.get());
        bool found = false;
        OnModal<QFileDialog>(found, [&other](QFileDialog* d) {
            // The dialog's own name field, as a user types into it.
            Child<QLineEdit>(d, "fileNameEdit")->setText(other.filePath("a.met"));
            static_cast<QDialog*>(d)->accept();
        });
        QCOMPARE(screen.ChooseFileToSave(), QDir::toNativeSeparators(other.filePath("a.met")));
        QVERIFY(found);
        QString startedIn;
        OnModal<QFileDialog>(found, [&startedIn](QFileDialog* d) {
            startedIn = d->directory().absolutePath();
            d->reject();
        });
        QCOMPARE(screen.ChooseFileToOpen(), QString());
        QVERIFY(found);
        QCOMPARE(startedIn, other.path());
    }
};

QTEST_MAIN(TestMeterCheckDlg)
#include "tst_windowdlg.moc"
