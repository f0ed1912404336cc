// SPDX-License-Identifier: MIT
// The program killed (SIGKILL) in the middle of saving, many times: the target file must
// always hold either the old or the new document, whole, and nothing else may be left behind.

#include "RecordingMessageService.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

QString Saver()
{
    return QStringLiteral(R718_MET_SAVER);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes one of the saver's two documents once; `elapsedMs` gets how long the whole run took.
QByteArray Reference(const QString& dir, const QString& tag, qint64* elapsedMs)
{
    const QString path = dir + QStringLiteral("/reference-") + tag + QStringLiteral(".met");
    QElapsedTimer clock;
    clock.start();
    QProcess saver;
    saver.start(Saver(), {QStringLiteral("reference"), tag, path});
    if (!saver.waitForFinished(20000) || saver.exitCode() != 0)
        return {};
    *elapsedMs = clock.elapsed();
    return ReadAll(path);
}

int KillCount()
{
    const int fromEnvironment = qEnvironmentVariableIntValue("R718_KILLS");
    return fromEnvironment > 0 ? fromEnvironment : 100;
}

} // namespace

class KillDuringSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void fileIsAlwaysOldOrNew()
    {
        // The work folder is on the build's disk, not in memory, as a technician's would be:
        // there a save waits for the data to reach the disk.
        QTemporaryDir work(QDir::currentPath() + QStringLiteral("/killsave-XXXXXX"));
        QVERIFY(work.isValid());
        qint64 saveMs = 0;
        const QByteArray documentA = Reference(work.path(), QStringLiteral("A"), &saveMs);
        const QByteArray documentB = Reference(work.path(), QStringLiteral("B"), &saveMs);
        QVERIFY(QFile::remove(work.filePath(QStringLiteral("reference-A.met"))));
        QVERIFY(QFile::remove(work.filePath(QStringLiteral("reference-B.met"))));
        QCOMPARE(documentA.size(), MET_FILE_SIZE);
        QCOMPARE(documentB.size(), MET_FILE_SIZE);
        QVERIFY(documentA != documentB);

        const QString target = work.filePath(QStringLiteral("pomiar.met"));

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const int kills = KillCount();
        int heldA = 0;
        int heldB = 0;
        int leftBehind = 0;
        for (int kill = 0; kill < kills; ++kill) {
            {
                QFile old(target);
                QVERIFY(old.open(QIODevice::WriteOnly));
                old.write(documentA);
            }
            QProcess saver;
            saver.start(Saver(), {QStringLiteral("loop"), target});
            QVERIFY(saver.waitForStarted(10000));
            QVERIFY(saver.waitForReadyRead(10000));
            // Anywhere within about three saves, so that kills land at every stage of a save:
            // while the first one runs, between saves and in later ones.
            QThread::msleep(random.bounded(int(3 * saveMs) + 1));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

            const QByteArray held = ReadAll(target);
            const QString context = QStringLiteral("kill %1 of %2, seed %3, %4 bytes")
                                        .arg(kill + 1)
                                        .arg(kills)
                                        .arg(seed)
                                        .arg(held.size());
            QVERIFY2(held == documentA || held == documentB, qPrintable(context));
            ++(held == documentA ? heldA : heldB);
            // The temporary file is nameless until the moment it replaces the target; a kill
            // in that moment can leave it under a temporary name. It must then be whole too.
            QDir folder(work.path());
            for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
                if (name == QLatin1String("pomiar.met"))
                    continue;
                const QByteArray left = ReadAll(folder.filePath(name));
                QVERIFY2(name.startsWith(QLatin1String("pomiar.met")) &&
                             (left == documentA || left == documentB),
                         qPrintable(context + QStringLiteral(": left behind ") + name));
                ++leftBehind;
                QVERIFY(folder.remove(name));
            }

            RecordingMessageService messages;
            MeterCheckSession session;
            QVERIFY2(LoadDocument(session, target, messages), qPrintable(context));
            QVERIFY(messages.messages.isEmpty());
        }
        qInfo("%d kills during saving (seed %u, one save about %lld ms): %d left document A, "
              "%d document B, none a mix or a short file; %d whole temporary copies left",
              kills, seed, saveMs, heldA, heldB, leftBehind);
        // Both contents must turn up, or the kills all fell on one side of the first save.
        if (kills >= 50) {
            QVERIFY(heldA > 0);
            QVERIFY(heldB > 0);
        }
    }
};

QTEST_GUILESS_MAIN(KillDuringSaveTest)
#include "tst_killsave.moc"
