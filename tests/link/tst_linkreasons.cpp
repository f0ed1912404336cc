// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FakeLink.h"
#include "RecordingMessageService.h"
#include "link/CSerialPort.h"
#include "link/CalibratorLink.h"
#include "link/LinkReasons.h"
#include "link/LinkSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <optional>

#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

// Why the link failed, as the technician reads it under the link's two messages: real devices
// opened through the link (missing, held by another program, forbidden to the user), and a
// calibrator that stopped answering.

namespace {

const QString noPortText = QStringLiteral("Nie można otworzyć portu szeregowego.");
const QString noLinkText = QStringLiteral("Brak komunikacji z portem COM.");
constexpr int port = 7;

// Opens COM7 through a link on the real port, closes it again; the boxes shown meanwhile.
QList<RecordingMessageService::Message> OpenThroughTheLink(const QString& device)
{
    qputenv("R718_COM7", device.toLocal8Bit());
    RecordingMessageService messages;
    CalibratorLink link;
    LinkSession session(link);
    session.Open(port);
    session.Close();
    session.WaitUntilSent();
    return messages.messages;
}

} // namespace

class TestLinkReasons : public QObject
{
    Q_OBJECT

private slots:
    void openFailure_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QStringList>("reason"); // parts of the detail
        DataRow("missing", "missing",
                QStringList{"/nonexistent/tty-r718 (port COM7) nie jest "
                            "podłączone"});
        DataRow("busy", "held", QStringList{"(port COM7) jest zajęte: używa go inny program"});
        DataRow("no permission", "forbidden",
                QStringList{"Brak uprawnień do urządzenia", "grupy dialout",
                            "\nsudo usermod -aG dialout $USER\n",
                            "wyloguj się i zaloguj ponownie"});
    }
    void openFailure()
    {
        QFETCH(QString, situation);
        QFETCH(QStringList, reason);
        if (situation == QLatin1String("forbidden") && ::geteuid() == 0) {
            // Root may open anything: the row runs again as a user without rights.
            QProcess asUser;
            asUser.setProcessChannelMode(QProcess::MergedChannels);
            asUser.start(QStringLiteral("setpriv"),
                         {"--reuid=65534", "--regid=65534", "--clear-groups",
                          QCoreApplication::applicationFilePath(), "openFailure:no permission"});
            QVERIFY(asUser.waitForFinished(30000));
            if (asUser.exitCode() == 126)
                QSKIP("a user without rights cannot run this test program from where it is");
            QVERIFY2(asUser.exitStatus() == QProcess::NormalExit && asUser.exitCode() == 0,
                     asUser.readAll().constData());
            return;
        }
        int master = -1;
        int slave = -1;
        char name[256] = {};
        QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        const auto closePty = qScopeGuard([=] {
            ::close(master);
            ::close(slave);
        });
        QString device = QString::fromLocal8Bit(name);
        std::optional<CSerialPort> holder;
        if (situation == QLatin1String("missing"))
            device = QStringLiteral("/nonexistent/tty-r718");
        if (situation == QLatin1String("held")) {
            qputenv("R718_COM7", name);
            holder.emplace();
            holder->Open(port, 9600, ParityNone, 8, StopBitsOne, FlowNone, false);
        }
        if (situation == QLatin1String("forbidden"))
            QCOMPARE(::chmod(name, 0), 0);

        const QList<RecordingMessageService::Message> shown = OpenThroughTheLink(device);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, noPortText);
        QCOMPARE(shown[0].caption, QStringLiteral("Błąd!"));
        for (const QString& part : reason)
            QVERIFY2(shown[0].detail.contains(part), qPrintable(shown[0].detail));
    }

    // The group to join is the device's own when its members may read and write it.
    void groupToJoin()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        const QByteArray path = QFile::encodeName(file.fileName());
        const gid_t gid = ::geteuid() == 0 ? 5 : ::getegid();
        QCOMPARE(::chown(path.constData(), uid_t(-1), gid), 0);
        const group* g = ::getgrgid(gid);
        QVERIFY(g);
        QCOMPARE(::chmod(path.constData(), 0660), 0);
        QCOMPARE(SerialDeviceGroup(file.fileName()), QString::fromLocal8Bit(g->gr_name));
        QCOMPARE(::chmod(path.constData(), 0600), 0);
        QCOMPARE(SerialDeviceGroup(file.fileName()), QStringLiteral("dialout"));
    }

    // The calibrator stops answering: the detail holds what the last recovery attempt sent and
    // what came back, non-printable bytes by their codes.
    void noLinkDetail_data()
    {
        DataColumns<QByteArray, QByteArray, QString>("recoveryReply", "commandReply",
                                                     "lastAttempt");
        DataRow("silent", QByteArray(), QByteArray(), "wysłano \"^I%\", nic nie odebrano.");
        DataRow("command refused with a NAK", QByteArray("%"), QByteArray("\x15"),
                "wysłano \"^I%\", odebrano \"%\"; wysłano \"^C02%\", odebrano \"<15>\".");
    }
    void noLinkDetail()
    {
        QFETCH(QByteArray, recoveryReply);
        QFETCH(QByteArray, commandReply);
        QFETCH(QString, lastAttempt);
        FakeLink line;
        line.device.responder = [=](const QList<QByteArray>& frames) {
            return frames.last() == "^I%" ? recoveryReply : commandReply;
        };
        LinkSession session(line.link);
        session.Open(1);
        session.Send(QStringLiteral("C02"));
        session.WaitUntilSent();
        QCOMPARE(line.messages.messages.size(), 1);
        QCOMPARE(line.messages.messages[0].text, noLinkText);
        const QString detail = line.messages.messages[0].detail;
        QVERIFY2(detail.contains(QStringLiteral("(port COM1) nie odpowiada.\nOstatnia próba: ") +
                                 lastAttempt),
                 qPrintable(detail));
    }
};

QTEST_GUILESS_MAIN(TestLinkReasons)
#include "tst_linkreasons.moc"
