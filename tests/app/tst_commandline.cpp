// SPDX-License-Identifier: MIT
// The command lines of r718 and its tools, and what r718 does at start with them.
#include "FakeLink.h"
#include "ModalHelper.h"
#include "ScopedDocument.h"
#include "app/CommandLine.h"
#include "app/MainMenuDlg.h"
#include "app/QtTranslations.h"
#include "base/ProgramVersion.h"
#include "metercheck/document/MetFile.h"
#include "metercheck/window/CMeterCheckDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void programsWithoutADisplay_data();
    void programsWithoutADisplay();
    void startOptions();
    void documentOpensInTheMeterCheckWindow();
    void qtDialogsSpeakPolish();
};

void TestCommandLine::programsWithoutADisplay_data()
{
    const QString r718 = QStringLiteral(R718_PROGRAM);
    const QString report = QStringLiteral(R718_REPORT);
    const QString sim = qEnvironmentVariable("R718_SIM");
    const QString version = ProgramVersion();
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // the start of standard output
    QTest::addColumn<QString>("err"); // standard error, whole
    QTest::newRow("r718 --help") << r718 << QStringList{"--help"} << 0
                                 << "Użycie: r718 [opcje] [PLIK.met]\n"
                                 << "";
    QTest::newRow("r718 -v") << r718 << QStringList{"-v"} << 0
                             << "r718 (Tevano 718) " + version + "\n"
                             << "";
    QTest::newRow("r718 --bogus") << r718 << QStringList{"--bogus", "x.met"} << 2 << ""
                                  << "r718: nieznana opcja --bogus\nPomoc: r718 --help\n";
    QTest::newRow("r718 needs a display for its windows")
        << r718 << QStringList{} << 1 << ""
        << "r718: brak ekranu (zmienne DISPLAY i WAYLAND_DISPLAY są puste), okna programu nie "
           "mogą się otworzyć\n";
    QTest::newRow("r718-report --version")
        << report << QStringList{"--version"} << 0 << "r718-report (Tevano 718) " + version + "\n"
        << "";
    QTest::newRow("r718-sim --version")
        << sim << QStringList{"--version"} << 0 << "r718-sim " + version + "\n"
        << "";
    QTest::newRow("r718-sim --bogus")
        << sim << QStringList{"--bogus"} << 2 << ""
        << "r718-sim: Unknown option 'bogus'.\nHelp: r718-sim --help\n";
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
    // Keeps Qt's start-up warning about a missing runtime folder off standard error.
    const QTemporaryDir runtime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
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
        {QStringLiteral("r718"), QStringLiteral("meter.met"), QStringLiteral("--simulator")});
    QCOMPARE(int(options.action), int(StartOptions::Action::Run));
    QVERIFY(options.simulator);
    QCOMPARE(options.document, QDir::toNativeSeparators(
                                   QDir::current().absoluteFilePath(QStringLiteral("meter.met"))));
}

void TestCommandLine::documentOpensInTheMeterCheckWindow()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("r718")).clear();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("V-640.met"));
    {
        ScopedDocument saved;
        saved.document.meterName = QStringLiteral("V-640");
        QVERIFY(SaveDocument(saved, path));
    }

    ScopedDocument session;
    FakeLink link;
    link.device.responder = [](const QList<QByteArray>&) { return QByteArray("%"); };
    CMainMenuDlg menu(link.link, session, nullptr, 0);
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

void TestCommandLine::qtDialogsSpeakPolish()
{
    QVERIFY(InstallQtTranslations());
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Tak"));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
