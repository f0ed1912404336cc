// SPDX-License-Identifier: MIT
// r718-sim as a process: it ends with SIGTERM and with its parent, and r718 --simulator
// starts it, maps the ports to it and leaves nothing behind.

#include "DataRows.h"
#include "PortProtocol.h"
#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/app/SimulatorLauncher.h"
#include "core/link/PortMap.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

// Gone, or a zombie nobody has reaped yet: either way no longer running.
bool ProcessGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) == "Z";
}

bool WaitGone(qint64 pid, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!ProcessGone(pid)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The children of a process, as the kernel lists them.
QList<qint64> ChildrenOf(qint64 pid)
{
    QList<qint64> children;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(task + QStringLiteral("/children")));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& c : file.readAll().split(' ')) {
                if (!c.trimmed().isEmpty())
                    children << c.trimmed().toLongLong();
            }
        }
    }
    return children;
}

QString SimProgram()
{
    return qEnvironmentVariable("R718_SIM");
}

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void endsOnSigtermAndRemovesItsLink()
    {
        SimProcess sim;
        QVERIFY2(sim.Start(), qPrintable(sim.LastError()));
        QVERIFY(sim.DevicePath().startsWith(QLatin1String("/dev/pts/")));
        QCOMPARE(QFileInfo(sim.LinkPath()).symLinkTarget(), sim.DevicePath());
        QVERIFY(sim.Control(QStringLiteral("ping")));
        QVERIFY(!sim.Control(QStringLiteral("explode")));
        QCOMPARE(sim.LastError(), QStringLiteral("error nieznany wiersz sterujący: explode"));
        QCOMPARE(sim.Stop(), 0);
        QVERIFY(!QFileInfo::exists(sim.LinkPath()));
    }

    void refusesABadFrameCount()
    {
        SimProcess sim;
        QVERIFY(!sim.Start({QStringLiteral("--nak"), QStringLiteral("many")}));
    }

    void endsWhenItsParentDies()
    {
        // A shell starts the simulator and is then killed outright. The simulator's own first
        // line (its device) goes elsewhere, so that the shell's line is the only one read here.
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("\"$0\" >/dev/null & echo $!; exec sleep 30"), SimProgram()});
        QVERIFY(shell.waitForStarted());
        QVERIFY(shell.waitForReadyRead(5000));
        const qint64 pid = shell.readLine().trimmed().toLongLong();
        QVERIFY(pid > 0);
        QThread::msleep(200);
        QVERIFY(!ProcessGone(pid));
        shell.kill();
        shell.waitForFinished();
        QVERIFY2(WaitGone(pid, 3000), "r718-sim outlived its parent");
    }

    void endsAtOnceWhenStartedForAnotherParent()
    {
        QProcess process;
        process.start(SimProgram(), {QStringLiteral("--parent"), QStringLiteral("1")});
        QVERIFY(process.waitForFinished(3000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    void launcherMapsEveryPort()
    {
        PortProtocol link;
        RecordingMessageService& messages = link.messages;
        SimulatorLauncher launcher;
        QVERIFY(launcher.Start(messages));
        QVERIFY(launcher.IsRunning());
        for (int port = 1; port <= 4; ++port)
            QCOMPARE(qEnvironmentVariable(qPrintable(QStringLiteral("R718_COM%1").arg(port))),
                     launcher.LinePath());
        // The program talks to it on any of the four ports.
        QVERIFY(link.protocol.OpenCalibratorPort(3, PortDevicePath(3)));
        link.protocol.SendCommand(QStringLiteral("X"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("^X%"));
        link.protocol.CloseCalibratorPort();

        const qint64 pid = launcher.ProcessId();
        const QString line = launcher.LinePath();
        launcher.Stop();
        QVERIFY(WaitGone(pid, 1000));
        QVERIFY(!QFileInfo::exists(line));
        QVERIFY(qEnvironmentVariableIsEmpty("R718_COM1"));
        QVERIFY(messages.messages.isEmpty());
    }

    void launcherFailures_data()
    {
        DataColumns<QString, QString>("program", "message");
        DataRow("missing", "/nonexistent/r718-sim",
                "Nie znaleziono symulatora kalibratora "
                "(/nonexistent/r718-sim).\nProgram pracuje bez symulatora.");
        const QDir here(QCoreApplication::applicationDirPath());
        DataRow("nowhere, R718_SIM not set", QString(),
                QStringLiteral("Nie znaleziono symulatora kalibratora (%1, %2).\nProgram pracuje "
                               "bez symulatora.")
                    .arg(here.filePath("r718-sim"),
                         QDir::cleanPath(here.filePath("../libexec/r718/r718-sim"))));
        DataRow("ends without a line", "/bin/false",
                "Nie można uruchomić symulatora kalibratora.\nProgram pracuje bez symulatora.");
    }
    void launcherFailures()
    {
        QFETCH(QString, program);
        QFETCH(QString, message);
        const QByteArray saved = qgetenv("R718_SIM");
        qputenv("R718_SIM", QFile::encodeName(program));
        RecordingMessageService messages;
        SimulatorLauncher launcher;
        const bool started = launcher.Start(messages);
        qputenv("R718_SIM", saved);
        QVERIFY(!started);
        QVERIFY(!launcher.IsRunning());
        QVERIFY(messages.OnlyError(message));
        QVERIFY(qEnvironmentVariableIsEmpty("R718_COM1"));
    }

    void simulatorLookup_data()
    {
        QTest::addColumn<QString>("fromEnvironment"); // R718_SIM; empty: not set
        QTest::addColumn<QStringList>("present");     // executables in the tree
        QTest::addColumn<QString>("found");
        const QString beside = QStringLiteral("bin/r718-sim");
        const QString installed = QStringLiteral("libexec/r718/r718-sim");
        const QString other = QStringLiteral("other/r718-sim");
        DataRow("beside the program first", QString(), QStringList{beside, installed}, beside);
        DataRow("installed layout", QString(), QStringList{installed}, installed);
        DataRow("R718_SIM first", other, QStringList{other, beside}, other);
        DataRow("R718_SIM alone", other, QStringList{beside, installed}, QString());
        DataRow("nowhere", QString(), QStringList{}, QString());
    }
    void simulatorLookup()
    {
        QFETCH(QString, fromEnvironment);
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        QTemporaryDir tree;
        QVERIFY(tree.isValid());
        const QDir root(tree.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        for (const QString& path : present) {
            QVERIFY(root.mkpath(QFileInfo(path).path()));
            QVERIFY(QFile::copy(QStringLiteral("/bin/true"), root.filePath(path)));
        }
        const QByteArray saved = qgetenv("R718_SIM");
        if (fromEnvironment.isEmpty())
            qunsetenv("R718_SIM");
        else
            qputenv("R718_SIM", QFile::encodeName(root.filePath(fromEnvironment)));
        const QString program = SimulatorLauncher::SimulatorProgram(root.filePath("bin"));
        qputenv("R718_SIM", saved);
        QCOMPARE(program, found.isEmpty() ? QString() : root.filePath(found));
    }

    void programLeavesNoSimulatorBehind_data()
    {
        QTest::addColumn<int>("signal");
        DataRow("SIGTERM", int(SIGTERM));
        DataRow("SIGKILL", int(SIGKILL));
    }
    void programLeavesNoSimulatorBehind()
    {
        QFETCH(int, signal);
        const QString r718 = QFileInfo(SimProgram()).dir().filePath(QStringLiteral("r718"));
        if (!QFileInfo(r718).isExecutable())
            QSKIP("r718 is not built next to r718-sim");
        QProcess program;
        // A program of its own: other tests may run one in the same session at the same time.
        program.start(r718, {QStringLiteral("--simulator"), QStringLiteral("--new-instance")});
        QVERIFY(program.waitForStarted());
        const qint64 pid = program.processId();
        QList<qint64> children;
        const QDeadlineTimer deadline(5000);
        while (children.isEmpty() && !deadline.hasExpired()) {
            QThread::msleep(50);
            children = ChildrenOf(pid);
        }
        QCOMPARE(children.size(), 1);
        QThread::msleep(200); // let it get through its start
        ::kill(pid_t(pid), signal);
        QVERIFY(program.waitForFinished(5000));
        QVERIFY2(WaitGone(children[0], 3000), "r718-sim outlived r718");
    }
};

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
