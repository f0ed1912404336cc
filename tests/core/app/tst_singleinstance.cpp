// SPDX-License-Identifier: MIT
// One program per desktop session: a later start hands its document to the program running,
// a socket left by a killed program is taken over, a program that does not answer lets the
// start go on by itself, and sessions (displays, simulator runs) never meet.
#include "DataRows.h"
#include "core/app/SingleInstance.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

using Claim = SingleInstance::Claim;

// What a program killed while listening leaves: a socket file that nobody accepts on.
bool LeaveDeadSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                 sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// The program that runs: its own thread answers while the test's thread makes the later start.
class RunningProgram
{
public:
    explicit RunningProgram(const QString& path) : instance(new SingleInstance(path))
    {
        instance->moveToThread(&thread);
        thread.start();
        QMetaObject::invokeMethod(
            instance, [this] { claim = instance->ClaimOrHandOver({}); },
            Qt::BlockingQueuedConnection);
        QObject::connect(instance, &SingleInstance::requested, &receiver,
                         [this](const QString& document) { requested << document; });
    }
    ~RunningProgram()
    {
        QMetaObject::invokeMethod(
            instance, [this] { delete instance; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }

    Claim claim = Claim::NoAnswer;
    QStringList requested;

private:
    QThread thread;
    QObject receiver; // on the test's thread
    SingleInstance* instance;
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void laterStart_data()
    {
        DataColumns<QString, QString, int>("there", "document", "claim");
        DataRow("nobody runs: this start becomes the program", "nothing", "", int(Claim::First));
        DataRow("a program runs: the document goes to it", "program", "/tmp/Miernik V-640.met",
                int(Claim::HandedOver));
        DataRow("a program runs: a bare start brings it forward", "program", "",
                int(Claim::HandedOver));
        DataRow("a socket left by a killed program is taken over", "dead socket", "/tmp/a.met",
                int(Claim::First));
        DataRow("a program that does not answer: the start goes on alone", "silent program",
                "/tmp/a.met", int(Claim::NoAnswer));
    }
    void laterStart()
    {
        QFETCH(QString, there);
        QFETCH(QString, document);
        QFETCH(int, claim);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r718-test"));
        std::unique_ptr<RunningProgram> program;
        QLocalServer silent; // takes connections (the system does) but never reads
        if (there == "program") {
            program = std::make_unique<RunningProgram>(path);
            QCOMPARE(int(program->claim), int(Claim::First));
        } else if (there == "dead socket") {
            QVERIFY(LeaveDeadSocket(path));
        } else if (there == "silent program") {
            QVERIFY(silent.listen(path));
        }

        SingleInstance later(path);
        QCOMPARE(int(later.ClaimOrHandOver(document, 300)), claim);
        if (program)
            QTRY_COMPARE(program->requested, QStringList{document});
        if (claim == int(Claim::First)) {
            // It listens now, for the user alone.
            QLocalSocket next;
            next.connectToServer(path);
            QVERIFY(next.waitForConnected(1000));
            QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup |
                                                      QFile::ReadOther | QFile::WriteOther),
                     QFile::Permissions());
        }
    }

    // Programs on other displays, and simulator runs beside one on the instrument, have
    // sockets of their own, in the user's runtime folder.
    void sessionsKeepApart()
    {
        const QTemporaryDir runtime;
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QStringList paths = {
            SingleInstance::SessionSocketPath("xcb-:0", false),
            SingleInstance::SessionSocketPath("xcb-:1", false),
            SingleInstance::SessionSocketPath("xcb-:0", true),
            SingleInstance::SessionSocketPath("wayland-/run/user/1000/wayland-0", false),
        };
        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), paths.size());
        for (const QString& path : paths)
            QCOMPARE(QFileInfo(path).path(), runtime.path());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
