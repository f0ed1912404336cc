// SPDX-License-Identifier: MIT
// The command lines of r718 and its tools, and what r718 does at start with them.
#include "DataRows.h"
#include "FakeLink.h"
#include "FullDevice.h"
#include "ModalHelper.h"
#include "ScopedDocument.h"
#include "TestServices.h"
#include "TransducerTestDocs.h"
#include "core/app/QtTranslations.h"
#include "core/base/ProgramVersion.h"
#include "core/base/RecentFileList.h"
#include "core/metercheck/document/MetFile.h"
#include "core/transducer/TransducerFile.h"
#include "ui/app/CCalibratorApp.h"
#include "ui/app/CMainMenuDlg.h"
#include "ui/app/CommandLine.h"
#include "ui/metercheck/window/CMeterCheckDlg.h"
#include "ui/transducer/CTransducerDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// In a child before it starts: files it writes may grow to `bytes` only, and a write past that
// fails (EFBIG) instead of ending the process.
void LimitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    LogMessageService log; // the documents the cases start from are written without a recorder

private slots:
    void programsWithoutADisplay_data();
    void programsWithoutADisplay();
    void startOptions();
    void historyWindowAlone();
    void documentOpensInTheMeterCheckWindow();
    void transducerDocumentOpensInItsWindow();
    void documentFromALaterStart_data();
    void documentFromALaterStart();
    void traceOfAnOpening();
    void traceFileRefused_data();
    void traceFileRefused();
    void traceStopsWhenTheFileIsFull();
    void qtDialogsSpeakPolish();
};

void TestCommandLine::programsWithoutADisplay_data()
{
    const QString r718 = QStringLiteral(R718_PROGRAM);
    const QString report = QStringLiteral(R718_REPORT);
    const QString sim = qEnvironmentVariable("R718_SIM");
    const QString version = ProgramVersion();
    DataColumns<QString, QStringList, int>("program", "arguments", "code");
    QTest::addColumn<QString>("out"); // the start of standard output
    QTest::addColumn<QString>("err"); // standard error, whole
    DataRow("r718 --help", r718, QStringList{"--help"}, 0, "Użycie: r718 [opcje] [PLIK.met | PLIK.r718t]\n", "");
    DataRow("r718 -v", r718, QStringList{"-v"}, 0, "r718 (Tevano 718) " + version + "\n", "");
    DataRow("r718 --bogus", r718, QStringList{"--bogus", "x.met"}, 2, "",
            "r718: nieznana opcja --bogus.\nPomoc: r718 --help\n");
    DataRow("r718 --history takes no document", r718, QStringList{"--history", "x.met"}, 2, "",
            "r718: nadmiarowy argument \"x.met\".\nPomoc: r718 --help\n");
    DataRow("r718 --trace without a file", r718, QStringList{"--trace", "--simulator"}, 2, "",
            "r718: opcja --trace wymaga nazwy pliku.\nPomoc: r718 --help\n");
    DataRow("r718 needs a display for its windows", r718, QStringList{}, 1, "",
            "r718: brak ekranu (zmienne DISPLAY i WAYLAND_DISPLAY są puste), okna programu nie "
            "mogą się otworzyć.\n");
    DataRow("r718-report --version", report, QStringList{"--version"}, 0,
            "r718-report (Tevano 718) " + version + "\n", "");
    DataRow("r718-sim --version", sim, QStringList{"--version"}, 0, "r718-sim " + version + "\n",
            "");
    DataRow("r718-sim --help", sim, QStringList{"--help"}, 0,
            "Użycie: r718-sim [opcje]\n\nSymulowany kalibrator R718 na pseudoterminalu.", "");
    DataRow("r718-sim --bogus", sim, QStringList{"--bogus"}, 2, "",
            "r718-sim: nieznana opcja --bogus.\nPomoc: r718-sim --help\n");
    DataRow("r718-sim --nak without a count", sim, QStringList{"--nak"}, 2, "",
            "r718-sim: opcja --nak wymaga wartości.\nPomoc: r718-sim --help\n");
    DataRow("r718-sim --nak many", sim, QStringList{"--nak", "many"}, 2, "",
            "r718-sim: błędna wartość opcji --nak (nak wymaga liczby ramek).\n"
            "Pomoc: r718-sim --help\n");
}

void TestCommandLine::programsWithoutADisplay()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    // As from cron: no session, so no runtime folder either.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY2(process.waitForFinished(10000), qPrintable(program));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString standardOut = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(process.exitCode(), code);
    QVERIFY2(out.isEmpty() ? standardOut.isEmpty() : standardOut.startsWith(out),
             qPrintable(standardOut));
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), err);
}

void TestCommandLine::startOptions()
{
    const StartOptions options = ParseCommandLine(
        {QStringLiteral("r718"), QStringLiteral("meter.met"), QStringLiteral("--simulator"),
         QStringLiteral("--trace=link.log"), QStringLiteral("--new-instance")});
    QCOMPARE(int(options.action), int(StartOptions::Action::Run));
    QVERIFY(options.simulator);
    QVERIFY(options.newInstance);
    QCOMPARE(options.document, QDir::toNativeSeparators(
                                   QDir::current().absoluteFilePath(QStringLiteral("meter.met"))));
    QCOMPARE(options.traceFile, QDir::current().absoluteFilePath(QStringLiteral("link.log")));
}

// r718 --history: the history window alone, a program of its own; no main menu, so no module
// that opens the port.
void TestCommandLine::historyWindowAlone()
{
    const StartOptions options =
        ParseCommandLine({QStringLiteral("r718"), QStringLiteral("--history")});
    QCOMPARE(int(options.action), int(StartOptions::Action::Run));
    QVERIFY(options.historyOnly && options.newInstance);
    CCalibratorApp app(options);
    bool found = false;
    QStringList windows;
    OnModal<QDialog>(found, [&windows](QDialog* window) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                windows << QString::fromLatin1(w->metaObject()->className());
        window->reject();
    });
    QCOMPARE(app.Run(), 0);
    QVERIFY(found);
    QCOMPARE(windows, QStringList{QStringLiteral("HistoryWindow")});
}

void TestCommandLine::documentOpensInTheMeterCheckWindow()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("r718")).clear();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("V-640.met"));
    {
        ScopedDocument saved;
        saved.document.meterName = QStringLiteral("V-640");
        QVERIFY(SaveDocument(saved, path, log));
    }

    ScopedDocument session;
    FakeLink link;
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
    TestServices services(link.messages);
    CMainMenuDlg menu(link.link, session, services, nullptr, 0);
    menu.OpenDocumentAtStart(path);
    QString title;
    bool found = false;
    OnModal<CMeterCheckDlg>(found, [&title, &link](CMeterCheckDlg* window) {
        auto close = qScopeGuard([window] { window->reject(); });
        title = window->windowTitle();
        link.Settle(); // the window's opening commands have gone out
    });
    menu.show();
    QTRY_VERIFY(found);
    QCOMPARE(title, QStringLiteral("Sprawdzanie miernika - ") + path);
    QCOMPARE(session.document.meterName, QStringLiteral("V-640"));
    link.Settle();
    QVERIFY(link.messages.messages.isEmpty());
    QCOMPARE(link.device.Written(), QByteArray("^I%^S1%"));
}

// A transducer document given at the start opens the transducer window with it, and goes to
// the top of that window's recent files (the meter check's list stays as it was).
void TestCommandLine::transducerDocumentOpensInItsWindow()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("r718")).clear();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("TT-101.R718T"));
    QString message;
    QVERIFY2(TransducerFile::Save(path, TransducerTestDocs::ThermocoupleK(), &message),
             qPrintable(message));

    ScopedDocument session;
    FakeLink link;
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
    TestServices services(link.messages);
    CMainMenuDlg menu(link.link, session, services, nullptr, 0);
    menu.OpenDocumentAtStart(path);
    QString tag;
    bool found = false;
    OnModal<CTransducerDlg>(found, [&tag](CTransducerDlg* window) {
        auto close = qScopeGuard([window] { window->reject(); });
        QTRY_VERIFY(!window->Session().Path().isEmpty());
        tag = window->Session().Document().instrument.tag;
    });
    menu.show();
    QTRY_VERIFY(found);
    QCOMPARE(tag, QStringLiteral("TT-101"));
    QCOMPARE(RecentFileList::Entries(RecentFileList::transducers), QStringList{path});
    QVERIFY(RecentFileList::Entries().isEmpty());
    QVERIFY(link.messages.messages.isEmpty());
}

// A document handed over by a later start opens in the meter check window: the window starts
// for it when the menu is alone, and asks the save question first when the open document has
// changes. While another module runs the user is told, and the document stays as it was.
void TestCommandLine::documentFromALaterStart_data()
{
    DataColumns<QString, QString, QStringList>("running", "title", "messages");
    DataRow("the menu alone: the meter check window opens with it", "menu",
            "Sprawdzanie miernika - @NEW", QStringList());
    DataRow("the meter check with changes: the save question first", "meter check",
            "Sprawdzanie miernika - @NEW", QStringList{"Czy zapisać zmiany do pliku?"});
    DataRow("another module: the user is told", "about", "",
            QStringList{"Nie można teraz otworzyć pliku:\n@NEW\nZakończ pracę w oknie "
                        "„Informacja o programie” i otwórz plik ponownie."});
}

void TestCommandLine::documentFromALaterStart()
{
    QFETCH(QString, running);
    QFETCH(QString, title);
    QFETCH(QStringList, messages);
    QSettings(QStringLiteral("Modrex"), QStringLiteral("r718")).clear();
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("V-640.met"));
    const QString handed = folder.filePath(QStringLiteral("LM-3.met"));
    for (const QString& path : {first, handed}) {
        ScopedDocument saved;
        saved.document.meterName = QFileInfo(path).baseName();
        QVERIFY(SaveDocument(saved, path, log));
    }
    title.replace(QStringLiteral("@NEW"), handed);
    messages.replaceInStrings(QStringLiteral("@NEW"), handed);

    ScopedDocument session;
    FakeLink link;
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
    TestServices services(link.messages);
    CMainMenuDlg menu(link.link, session, services, nullptr, 0);
    menu.show();
    QString shownTitle;
    bool found = false;
    // No meter check window may start over another module or over itself; one that does is
    // closed, and the test fails.
    bool stray = false;
    const int windows = running == QLatin1String("about") ? 0 : 1;
    QTimer strayCloser;
    connect(&strayCloser, &QTimer::timeout, [&stray, &menu, windows] {
        auto* window = qobject_cast<CMeterCheckDlg*>(QApplication::activeModalWidget());
        if (window && menu.findChildren<CMeterCheckDlg*>().size() > windows)
            stray = true, window->reject();
    });
    strayCloser.start(10);
    if (running == QLatin1String("about")) {
        OnModal<QDialog>(found, [&menu, &handed](QDialog* about) {
            menu.OnAnotherStart(handed);
            about->reject();
        });
        menu.Button(CMainMenuDlg::Item::About)->click();
        QVERIFY(found);
        QCOMPARE(session.document.meterName, QString());
    } else {
        if (running == QLatin1String("meter check"))
            menu.OpenDocumentAtStart(first);
        OnModal<CMeterCheckDlg>(found, [&](CMeterCheckDlg* window) {
            auto close = qScopeGuard([window] { window->reject(); });
            if (running == QLatin1String("meter check")) {
                QTRY_COMPARE(session.document.meterName, QStringLiteral("V-640"));
                session.SetModified(true);
                link.messages.answers = {MessageAnswer::No};
                menu.OnAnotherStart(handed);
            }
            shownTitle = window->windowTitle();
        });
        if (running == QLatin1String("menu"))
            QTimer::singleShot(0, &menu, [&menu, &handed] { menu.OnAnotherStart(handed); });
        QTRY_VERIFY(found);
        QCOMPARE(session.document.meterName, QStringLiteral("LM-3"));
    }
    QVERIFY(!stray);
    QCOMPARE(shownTitle, title);
    QCOMPARE(link.messages.Texts(), messages);
}

// r718 --trace FILE --simulator with a document: the meter check window opens the port and
// sends its opening commands; the trace file holds them with the simulator's replies, each line
// timed.
void TestCommandLine::traceOfAnOpening()
{
    QTemporaryDir folder;
    const QString document = folder.filePath(QStringLiteral("V-640.met"));
    ScopedDocument empty;
    QVERIFY(SaveDocument(empty, document, log));
    const QString trace = folder.filePath(QStringLiteral("link.log"));
    QProcess program;
    program.start(QStringLiteral(R718_PROGRAM),
                  {"--trace", trace, "--simulator", "--new-instance", "-Embedding", document});
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished(5000);
    });
    const auto traced = [&trace] {
        QFile file(trace);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n')
                                              : QStringList();
    };
    QTRY_VERIFY_WITH_TIMEOUT(traced().filter(QStringLiteral("received")).size() >= 2, 20000);
    QStringList lines = traced();
    lines.removeAll(QString());
    const QRegularExpression timed(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    for (QString& line : lines) {
        QVERIFY2(timed.match(line).hasMatch(), qPrintable(line));
        line = line.mid(13);
    }
    QVERIFY2(lines.size() >= 6, qPrintable(lines.join('\n')));
    QVERIFY(lines[0].startsWith(QStringLiteral("trace of r718 ")));
    QVERIFY2(lines[1].startsWith(QStringLiteral("COM1 (")) && lines[1].endsWith(" opened"),
             qPrintable(lines[1]));
    QCOMPARE(lines.mid(2, 4), QStringList({"sent ^I%", "received ^I%: accepted", "sent ^S1%",
                                           "received ^S1%: accepted"}));
}

// A trace goes to a regular file only: a FIFO without a reader would hold the start in open()
// for ever, a device would swallow every line. What cannot take the trace, or not even its
// first line, ends the program with status 1 and the cause before any window.
void TestCommandLine::traceFileRefused_data()
{
    DataColumns<QString, QString>("target", "cause");
    DataRow("missing folder", "no/such/folder.log", "Folder docelowy nie istnieje");
    DataRow("FIFO without a reader", "fifo", "To jest potok (FIFO), a nie zwykły plik");
    DataRow("device that keeps nothing", "full", "To jest urządzenie, a nie zwykły plik");
    DataRow("folder", "", "To jest folder, a nie plik");
    DataRow("no room for the first line", "limited.log", "Plik przekroczyłby dopuszczalny rozmiar");
}

void TestCommandLine::traceFileRefused()
{
    QFETCH(QString, target);
    QFETCH(QString, cause);
    QTemporaryDir folder;
    QString trace = target.isEmpty() ? folder.path() : folder.filePath(target);
    if (target == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(trace).constData(), 0600), 0);
    if (target == "full")
        trace = FullDevice(folder.path());
    QProcess program;
    if (target == "limited.log")
        program.setChildProcessModifier([] { LimitFileSize(0); });
    program.start(QStringLiteral(R718_PROGRAM), {"--trace", trace});
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished(5000);
    });
    QVERIFY2(program.waitForFinished(10000), "r718 still runs");
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
             QStringLiteral("r718: nie można zapisać śladu łącza w pliku %1: %2.\n")
                 .arg(QFileInfo(trace).absoluteFilePath(), cause));
}

// A line that cannot be written (a full disk) is said once on standard error; the program goes
// on, and the file keeps whole lines only.
void TestCommandLine::traceStopsWhenTheFileIsFull()
{
    QTemporaryDir folder;
    const QString document = folder.filePath(QStringLiteral("V-640.met"));
    ScopedDocument empty;
    QVERIFY(SaveDocument(empty, document, log));
    const QString trace = folder.filePath(QStringLiteral("link.log"));
    // Room for the first line and part of the next: "hh:mm:ss.zzz trace of r718 ... \n".
    const int room = int(QStringLiteral("hh:mm:ss.zzz trace of r718 %1 started on 2000-01-01\n")
                             .arg(ProgramVersion())
                             .size()) +
                     5;
    QProcess program;
    program.setChildProcessModifier([room] { LimitFileSize(rlim_t(room)); });
    program.start(QStringLiteral(R718_PROGRAM),
                  {"--trace", trace, "--simulator", "-Embedding", document});
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished(5000);
    });
    // The program's own lines (Qt's offscreen platform adds notes of its own).
    QString err;
    const auto said = [&] {
        err += QString::fromUtf8(program.readAllStandardError());
        return err.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^r718: ")));
    };
    QTRY_VERIFY_WITH_TIMEOUT(!said().isEmpty(), 20000);
    QTest::qWait(500);
    QCOMPARE(said(), QStringList(QStringLiteral("r718: ślad łącza nie jest już zapisywany w pliku "
                                                "%1: Plik przekroczyłby dopuszczalny rozmiar.")
                                     .arg(trace)));
    QCOMPARE(program.state(), QProcess::Running);
    QFile file(trace);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY2(written.size() <= room && written.endsWith('\n') && written.contains("trace of r718 "),
             written.constData());
}

void TestCommandLine::qtDialogsSpeakPolish()
{
    {
        QtTranslations translations;
        QVERIFY(translations.Install());
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
        QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Tak"));
    }
    // Their owner gone, Qt's own texts are back.
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
