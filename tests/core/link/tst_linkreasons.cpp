// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FakeLink.h"
#include "RecordingMessageService.h"
#include "core/link/CSerialPort.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkReasons.h"
#include "core/link/LinkSession.h"

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
    CalibratorLink link(messages);
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
        // No group may read and write the device: only the administrator can help.
        DataRow("no permission", "forbidden",
                QStringList{"Brak uprawnień do urządzenia", "(port COM7)", "administrator",
                            "regułą udev"});
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
            holder.emplace();
            QVERIFY(!holder->Open(device, SerialLineSettings{}));
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

    // The device file's group and rights are read from the system; the group to join is its
    // own when its members may read and write it.
    void deviceFileExamined()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        const QByteArray path = QFile::encodeName(file.fileName());
        const gid_t gid = ::geteuid() == 0 ? 5 : ::getegid();
        QCOMPARE(::chown(path.constData(), uid_t(-1), gid), 0);
        const group* g = ::getgrgid(gid);
        QVERIFY(g);
        const QString name = QString::fromLocal8Bit(g->gr_name);
        QCOMPARE(::chmod(path.constData(), 0660), 0);
        const DeviceAccess access = ExamineDeviceAccess(file.fileName());
        QVERIFY(access.examined);
        QCOMPARE(access.groupId, uint(gid));
        QCOMPARE(access.mode, 0660u);
        QCOMPARE(GroupToJoin(access), name);
        QCOMPARE(::chmod(path.constData(), 0600), 0);
        QCOMPARE(GroupToJoin(ExamineDeviceAccess(file.fileName())), QString());
        QVERIFY(!ExamineDeviceAccess(QStringLiteral("/nonexistent/tty-r718")).examined);
    }

    // The advice follows the device file and whether the user can act as the administrator:
    // joining a group only when one may use the device, sudo only for those who have it.
    void noPermissionAdvice_data()
    {
        DataColumns<bool, uint, uint, QString, bool, QStringList, QStringList>(
            "examined", "gid", "mode", "group", "sudo", "present", "absent");
        DataRow("root:root 600", true, 0u, 0600u, QString("root"), true,
                QStringList{"Urządzenie należy do grupy root, więc dołączenie do grupy nie "
                            "pomoże. Dostęp musi nadać administrator: regułą udev"},
                QStringList{"członkowie grupy", "usermod"});
        DataRow("root:root 660 without sudo", true, 0u, 0660u, QString("root"), false,
                QStringList{"należy do grupy root",
                            "Poproś administratora komputera o nadanie dostępu"},
                QStringList{"członkowie grupy", "sudo"});
        DataRow("root:dialout 600", true, 20u, 0600u, QString("dialout"), true,
                QStringList{"Grupa dialout nie ma prawa odczytu i zapisu urządzenia",
                            "Dostęp musi nadać administrator"},
                QStringList{"członkowie grupy", "usermod"});
        DataRow("root:dialout 660", true, 20u, 0660u, QString("dialout"), true,
                QStringList{"Brak uprawnień do urządzenia /dev/ttyUSB0 (port COM1). Port mogą "
                            "otwierać członkowie grupy dialout. Dołącz do niej poleceniem\n"
                            "sudo usermod -aG dialout $USER\na potem wyloguj się"},
                QStringList{"administrator"});
        DataRow("root:uucp 660 without sudo", true, 14u, 0660u, QString("uucp"), false,
                QStringList{"członkowie grupy uucp. Poproś administratora komputera o "
                            "dołączenie do niej, a potem wyloguj się"},
                QStringList{"sudo"});
        DataRow("device not examined", false, 0u, 0u, QString(), true,
                QStringList{"członkowie grupy dialout", "sudo usermod -aG dialout $USER"},
                QStringList{"administrator"});
    }
    void noPermissionAdvice()
    {
        QFETCH(bool, examined);
        QFETCH(uint, gid);
        QFETCH(uint, mode);
        QFETCH(QString, group);
        QFETCH(bool, sudo);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString text = NoPermissionReason(QStringLiteral("/dev/ttyUSB0"), 1,
                                                DeviceAccess{examined, gid, mode, group, sudo});
        for (const QString& part : present)
            QVERIFY2(text.contains(part), qPrintable(text));
        for (const QString& part : absent)
            QVERIFY2(!text.contains(part), qPrintable(text));
    }

    void mayUseSudo_data()
    {
        DataColumns<bool, QStringList, bool>("installed", "groups", "may");
        DataRow("in sudo", true, QStringList{"users", "sudo"}, true);
        DataRow("in wheel", true, QStringList{"wheel"}, true);
        DataRow("in no administrators' group", true, QStringList{"users", "dialout"}, false);
        DataRow("sudo not installed", false, QStringList{"sudo"}, false);
    }
    void mayUseSudo()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, groups);
        QFETCH(bool, may);
        QCOMPARE(MayUseSudo(installed, groups), may);
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
