// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/window/MeterCheckCommands.h"
#include "core/base/RecentFileList.h"

#include "DocumentBuilder.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "MeterCheckWindowFakes.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

const QString caption = "Sprawdzanie miernika";
const QString saveQuestion = "Czy zapisać zmiany do pliku?";

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestMeterCheckCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    std::unique_ptr<RecordingMessageService> messages;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<RecordingPort> port;
    std::unique_ptr<MeterCheckCommands> commands;

    QString Path(const QString& name) const { return dir.filePath(name); }

    // A range of `value` V in `slot` with one unmarked point of 1.0 V.
    void PutRange(int slot, const QString& value, bool measured = false)
    {
        DocumentBuilder(doc)
            .Range(slot, RangeFunction::Voltage, value, "V")
            .Point({"", "1.0", "", "", "", "V", 0, 1, 0, 0});
        doc.ranges[slot].rangeMeasured = measured ? 1 : 0;
    }

    // A new document through New and the meter-data dialog, with one range, modified.
    void OpenNewDocument()
    {
        dialogs->meterData = ScriptedDialogs::FillMeterData(session);
        commands->OnNew();
        PutRange(0, "400");
        session.SetModified(true);
        messages->messages.clear();
    }

    // A saved file holding two ranges.
    QString SavedFile(const QString& name)
    {
        ClearDocument(doc);
        doc.meterName = name;
        PutRange(0, "10");
        PutRange(1, "20");
        const QString path = Path(name);
        if (!SaveDocument(session, path, *messages))
            qFatal("cannot save");
        return path;
    }

private slots:
    void init()
    {
        QSettings("Modrex", "r718").clear();
        session.Reset();
        messages = std::make_unique<RecordingMessageService>();
        dialogs = std::make_unique<ScriptedDialogs>();
        view = std::make_unique<RecordingView>();
        port = std::make_unique<RecordingPort>();
        commands = std::make_unique<MeterCheckCommands>(session, *view, *dialogs, *port, *messages);
        commands->OnInitDialog();
    }
    void cleanup()
    {
        commands.reset();
        messages.reset();
    }

    void openingStartsWithoutDocument()
    {
        QCOMPARE(port->calls, QStringList{"open"});
        QCOMPARE(view->title, caption);
        QVERIFY(!view->commandsEnabled);
        QCOMPARE(view->VisiblePage(), -1);
        QVERIFY(!commands->DocumentOpen());
        QCOMPARE(commands->CurrentTab(), MeterCheckView::Tab::Table);
    }

    void newDocumentThroughMeterData()
    {
        doc.meterName = "old";
        session.currentRange = 7;
        dialogs->meterData = ScriptedDialogs::FillMeterData(session);
        commands->OnNew();
        QCOMPARE(dialogs->stateAtMeterData, MeterCheckMode::NewDocument);
        QCOMPARE(view->title, caption + " - Bez nazwy.met");
        QCOMPARE(session.documentName, QString("Bez nazwy.met"));
        QVERIFY(view->commandsEnabled);
        QVERIFY(commands->DocumentOpen());
        QCOMPARE(view->VisiblePage(), 0);
        QCOMPARE(view->selectedTab, 0);
        QCOMPARE(session.currentRange, qint16(0)); // the new document can take its first range
        QVERIFY(messages->messages.isEmpty());
    }

    void newOnModifiedAnsweredCancelChangesNothing()
    {
        OpenNewDocument();
        const QString title = view->title;
        messages->answers = {MessageAnswer::Cancel};
        commands->OnNew();
        QCOMPARE(messages->Texts(), QStringList{saveQuestion});
        QCOMPARE(messages->messages[0].caption, QString("R718"));
        QCOMPARE(messages->messages[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(messages->messages[0].icon, MessageIcon::Question);
        QCOMPARE(view->title, title);
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
        QCOMPARE(doc.meterName, QString("V-640"));
        QVERIFY(session.IsModified());
        QCOMPARE(view->VisiblePage(), 0);
        QVERIFY(view->commandsEnabled);
        QCOMPARE(dialogs->meterDataDialogs, 1);
    }

    void newThenCancelInMeterData()
    {
        OpenNewDocument();
        messages->answers = {MessageAnswer::No};
        dialogs->meterData = nullptr; // "Anuluj"
        commands->OnNew();
        QCOMPARE(view->title, caption);
        QVERIFY(!view->commandsEnabled);
        QVERIFY(!commands->DocumentOpen());
        QCOMPARE(view->VisiblePage(), -1);
        QCOMPARE(CountRanges(doc), 0);
        QVERIFY(doc.meterName.isEmpty());
        QVERIFY(session.documentName.isEmpty());
        QVERIFY(!session.IsModified());
    }

    void saveUntitledWithSaveAsCancelledStaysModified()
    {
        OpenNewDocument();
        QVERIFY(!commands->OnSave());
        QCOMPARE(dialogs->saveDialogs, 1);
        QVERIFY(session.IsModified());
        QCOMPARE(session.documentName, QString("Bez nazwy.met"));
        QCOMPARE(view->title, caption + " - Bez nazwy.met");
    }

    void saveAsWritesTheDocument()
    {
        OpenNewDocument();
        const QString path = Path("nowy.met");
        dialogs->savePaths = {path};
        QVERIFY(commands->OnSaveAs());
        QVERIFY(!session.IsModified());
        QCOMPARE(session.documentName, path);
        QCOMPARE(view->title, caption + " - " + path);
        QCOMPARE(FileBytes(path), MetFile::PackDocument(session));
        QCOMPARE(view->recent, QStringList{path});

        // A later Save writes to the same name without asking.
        doc.ranges[0].rangeValue = "500";
        session.SetModified(true);
        QVERIFY(commands->OnSave());
        QCOMPARE(dialogs->saveDialogs, 1);
        QCOMPARE(FileBytes(path), MetFile::PackDocument(session));
        QVERIFY(!session.IsModified());
    }

    // The session announces each change of the flag, once: a save clears it, a change after it
    // sets it again; setting it to what it is says nothing.
    void modifiedChangesAreAnnounced()
    {
        OpenNewDocument();
        QSignalSpy announced(&session, &MeterCheckSession::modifiedChanged);
        session.SetModified(true);
        dialogs->savePaths = {Path("nowy.met")};
        QVERIFY(commands->OnSaveAs());
        QVERIFY(commands->OnSave());
        session.SetModified(true);
        QCOMPARE(announced.size(), 2);
        QCOMPARE(announced[0].at(0).toBool(), false);
        QCOMPARE(announced[1].at(0).toBool(), true);
    }

    void openLoadsChosenFile()
    {
        const QString path = SavedFile("dwa.met");
        ClearDocument(doc);
        session.SetModified(false);
        session.currentRange = 4;
        dialogs->openPaths = {path};
        commands->OnOpen();
        QVERIFY(messages->messages.isEmpty());
        QCOMPARE(CountRanges(doc), 2);
        QCOMPARE(doc.meterName, QString("dwa.met"));
        QCOMPARE(session.meterCheckState, MeterCheckMode::OpenedDocument);
        QCOMPARE(session.currentRange, qint16(0));
        QCOMPARE(session.documentName, path);
        QCOMPARE(view->title, caption + " - " + path);
        QVERIFY(view->commandsEnabled);
        QCOMPARE(view->VisiblePage(), 0);
        QCOMPARE(RecentFileList::Entries(), QStringList{path});
    }

    void openOfBadFileKeepsDocument()
    {
        OpenNewDocument();
        QFile bad(Path("krotki.met"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("za krotki");
        bad.close();
        messages->answers = {MessageAnswer::No};
        dialogs->openPaths = {bad.fileName()};
        commands->OnOpen();
        QCOMPARE(messages->messages.size(), 2);
        QVERIFY(messages->IsErrorBox(1));
        QVERIFY(messages->messages[1].text.contains("Dokument nie został wczytany."));
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
        QCOMPARE(doc.meterName, QString("V-640"));
        QVERIFY(RecentFileList::Entries().isEmpty());
        QCOMPARE(session.documentName, QString("Bez nazwy.met"));
    }

    // Answering "Tak" to the save question and then cancelling the Save As, or failing to
    // write, must stop the command with the document and the window as they were.
    void yesWithoutSaveStopsCommand_data()
    {
        DataColumns<QString, bool>("command", "saveFails");
        for (const char* c : {"new", "open", "recent", "close", "exit"}) {
            DataRow(qPrintable(QString(c) + " save as cancelled"), c, false);
            DataRow(qPrintable(QString(c) + " save failed"), c, true);
        }
    }
    void yesWithoutSaveStopsCommand()
    {
        QFETCH(QString, command);
        QFETCH(bool, saveFails);
        const QString other = SavedFile("inny.met");
        RecentFileList::Add(other);
        OpenNewDocument();
        if (saveFails)
            dialogs->savePaths = {Path("brak/katalogu/x.met")};
        dialogs->openPaths = {other};
        const QString title = view->title;
        messages->answers = {MessageAnswer::Yes};

        if (command == "new")
            commands->OnNew();
        else if (command == "open")
            commands->OnOpen();
        else if (command == "recent")
            commands->OnRecentFile(0);
        else if (command == "close")
            commands->OnClose();
        else
            commands->OnExit();

        QCOMPARE(messages->messages[0].text, saveQuestion);
        QCOMPARE(messages->messages.size(), saveFails ? 2 : 1);
        QCOMPARE(dialogs->saveDialogs, 1);
        QCOMPARE(dialogs->openDialogs, 0);
        QCOMPARE(dialogs->meterDataDialogs, 1); // only the one that made the document
        QVERIFY(session.IsModified());
        QCOMPARE(session.documentName, QString("Bez nazwy.met"));
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
        QCOMPARE(view->title, title);
        QVERIFY(commands->DocumentOpen());
        QCOMPARE(view->VisiblePage(), 0);
        QVERIFY(!view->ended);
        QCOMPARE(port->calls, QStringList{"open"});
    }

    void yesSavesThenGoesOn()
    {
        OpenNewDocument();
        const QString saved = Path("zapisany.met");
        dialogs->savePaths = {saved};
        messages->answers = {MessageAnswer::Yes};
        dialogs->meterData = nullptr;
        commands->OnNew();
        QCOMPARE(dialogs->meterDataDialogs, 2);
        QCOMPARE(FileBytes(saved).size(), MET_FILE_SIZE);
        QCOMPARE(CountRanges(doc), 0);
        QVERIFY(!session.IsModified());
    }

    void recentEntryOpensFullPath()
    {
        QVERIFY(dir.isValid());
        QDir(dir.path()).mkpath("pomiary/woltomierze/2024");
        const QString path = SavedFile("pomiary/woltomierze/2024/v640.met");
        QVERIFY(path.size() > 20);
        RecentFileList::Add(path);
        ClearDocument(doc);
        commands->OnInitDialog();
        QCOMPARE(view->recent, QStringList{path});
        QCOMPARE(RecentFileList::MenuText(0, view->recent[0]), QString("&1 /.../2024/v640.met"));

        commands->OnRecentFile(0);
        QVERIFY(messages->messages.isEmpty());
        QCOMPARE(session.documentName, path);
        QCOMPARE(view->title, caption + " - " + path);
        QCOMPARE(CountRanges(doc), 2);
        QCOMPARE(session.meterCheckState, MeterCheckMode::OpenedDocument);
        QVERIFY(view->commandsEnabled);
        QCOMPARE(view->VisiblePage(), 0);
    }

    // A recent entry that cannot be opened says why, whatever now stands at its path.
    void recentEntryThatCannotBeOpened_data()
    {
        DataColumns<QString, bool, QString>("kind", "removeIt", "cause");
        DataRow("file gone, entry removed", "gone", true, "Plik lub folder nie istnieje");
        DataRow("file gone, entry kept", "gone", false, "Plik lub folder nie istnieje");
        DataRow("now a folder", "folder", false, "To jest folder, a nie plik");
        DataRow("now a FIFO", "FIFO", false, "To jest potok (FIFO), a nie zwykły plik");
    }
    void recentEntryThatCannotBeOpened()
    {
        QFETCH(QString, kind);
        QFETCH(bool, removeIt);
        QFETCH(QString, cause);
        const QString kept = SavedFile("zostaje.met");
        const QString gone = SavedFile("usuniety-" + kind + ".met");
        RecentFileList::Add(kept);
        RecentFileList::Add(gone);
        QVERIFY(QFile::remove(gone));
        if (kind == "folder")
            QVERIFY(QDir().mkdir(gone));
        if (kind == "FIFO")
            QCOMPARE(mkfifo(QFile::encodeName(gone).constData(), 0600), 0);
        OpenNewDocument();
        messages->answers = {MessageAnswer::No, MessageAnswer::Ok,
                             removeIt ? MessageAnswer::Yes : MessageAnswer::No};
        commands->OnRecentFile(0);

        QCOMPARE(messages->messages.size(), 3);
        QCOMPARE(messages->messages[0].text, saveQuestion);
        QVERIFY(messages->IsErrorBox(1));
        QCOMPARE(messages->messages[1].text, "Nie udało się odczytać pliku:\n" +
                                                 QDir::toNativeSeparators(gone) + "\n" + cause +
                                                 ".\nDokument nie został wczytany.");
        QCOMPARE(messages->messages[2].caption, QString("R718"));
        QCOMPARE(messages->messages[2].buttons, MessageButtons::YesNo);
        QVERIFY(messages->messages[2].text.startsWith("Czy usunąć plik:"));

        // The document and the window as they were.
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
        QCOMPARE(CountRanges(doc), 1);
        QVERIFY(session.IsModified());
        QCOMPARE(session.documentName, QString("Bez nazwy.met"));
        QCOMPARE(view->title, caption + " - Bez nazwy.met");
        QCOMPARE(view->VisiblePage(), 0);
        QVERIFY(commands->DocumentOpen());

        const QStringList expected = removeIt ? QStringList{kept} : QStringList{gone, kept};
        QCOMPARE(RecentFileList::Entries(), expected);
        if (removeIt) // the menu is rebuilt without the dead entry
            QCOMPARE(view->recent, expected);
    }

    void closeKeepsDataInMemory()
    {
        OpenNewDocument();
        messages->answers = {MessageAnswer::No};
        commands->OnClose();
        QCOMPARE(view->title, caption);
        QVERIFY(session.documentName.isEmpty());
        QVERIFY(!session.IsModified());
        QVERIFY(!view->commandsEnabled);
        QCOMPARE(view->VisiblePage(), -1);
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
    }

    void exitAsksThenClosesPort()
    {
        OpenNewDocument();
        messages->answers = {MessageAnswer::Cancel};
        commands->OnExit();
        QVERIFY(!view->ended);
        QVERIFY(session.IsModified());

        messages->answers = {MessageAnswer::No};
        commands->OnExit();
        QVERIFY(view->ended);
        QCOMPARE(port->calls, QStringList({"open", "close"}));
        QVERIFY(!session.IsModified());
        QVERIFY(session.documentName.isEmpty());
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
    }

    void escThenReopenAsksOnNew()
    {
        OpenNewDocument();
        commands->OnCancel();
        QVERIFY(messages->messages.isEmpty());
        QVERIFY(view->ended);
        QCOMPARE(port->calls, QStringList({"open", "close"}));

        // The window again: no document shown, the data and the flag as they were.
        view = std::make_unique<RecordingView>();
        commands = std::make_unique<MeterCheckCommands>(session, *view, *dialogs, *port, *messages);
        commands->OnInitDialog();
        QCOMPARE(view->title, caption);
        QVERIFY(!commands->DocumentOpen());
        QVERIFY(!view->commandsEnabled);
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
        QVERIFY(session.IsModified());

        messages->answers = {MessageAnswer::Cancel};
        commands->OnNew();
        QCOMPARE(messages->Texts(), QStringList{saveQuestion});
        QCOMPARE(doc.ranges[0].rangeValue, QString("400"));
    }

    void chartTabsRefuseWithoutData_data()
    {
        DataColumns<int, bool, bool, QString>("tab", "measured", "marked", "message");
        const QString never = "Na bieżącym zakresie nie przeprowadzono jeszcze pomiarów.";
        const QString none = "Nie zaznaczono punktów do wykresu.";
        DataRow("errors chart, never measured", 2, false, true, never);
        DataRow("points chart, never measured", 1, false, true, never);
        DataRow("errors chart, nothing marked", 2, true, false, none);
        DataRow("points chart, drawn", 1, true, true, QString());
        DataRow("errors chart, drawn", 2, true, true, QString());
    }
    void chartTabsRefuseWithoutData()
    {
        QFETCH(int, tab);
        QFETCH(bool, measured);
        QFETCH(bool, marked);
        QFETCH(QString, message);
        OpenNewDocument();
        PutRange(1, "20", measured);
        doc.ranges[1].points[0].marked = marked ? 1 : 0;
        doc.ranges[1].points[5].marked = 1; // not a defined point: never counts
        session.currentRange = 1;

        view->SelectTab(MeterCheckView::Tab(tab)); // the user's click
        commands->OnSelchangeTab(tab);
        if (message.isEmpty()) {
            QVERIFY(messages->messages.isEmpty());
            QCOMPARE(view->VisiblePage(), tab);
            QCOMPARE(view->charts, (QList<QPair<int, int>>{{tab, 1}}));
        } else {
            QCOMPARE(messages->Texts(), QStringList{message});
            QCOMPARE(messages->messages[0].caption, QString("Brak danych!"));
            QCOMPARE(messages->messages[0].icon, MessageIcon::Error);
            QCOMPARE(view->selectedTab, 0);
            QCOMPARE(view->VisiblePage(), 0);
            QVERIFY(view->charts.isEmpty());
        }
    }

    void tabsNeedADocument()
    {
        view->SelectTab(MeterCheckView::Tab::PointsChart);
        commands->OnSelchangeTab(1);
        QCOMPARE(view->selectedTab, 0);
        QCOMPARE(view->VisiblePage(), -1);
        QVERIFY(messages->messages.isEmpty());
    }

    void meterDataKeepsMethod()
    {
        OpenNewDocument();
        session.SetModified(false);
        dialogs->meterData = [this] {
            doc.meterName = "nowa";
            session.SetModified(true);
            return true;
        };
        commands->OnMeterData();
        QCOMPARE(dialogs->stateAtMeterData, MeterCheckMode::EditMeterData);
        QCOMPARE(view->VisiblePage(), 0);
        QVERIFY(session.IsModified());
    }
};

QTEST_GUILESS_MAIN(TestMeterCheckCommands)
#include "tst_window.moc"
