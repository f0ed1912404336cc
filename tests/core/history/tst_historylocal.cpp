// SPDX-License-Identifier: MIT
// The local history file as a lab relies on it: made for the user alone, whole in itself after
// a clean end (its log taken in), copied consistently by r718-report history backup while a
// bench records, and a run's records kept when the file is locked as the program ends.

#include "DataRows.h"
#include "HistoryTestData.h"

#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryService.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr QFile::Permissions groupAndOthers = QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther;

// Runs `sql` on the SQLite file at `path` through a connection of its own; the first column of
// the first row, or an empty value when it fails.
QVariant Ask(const QString& path, const QString& sql)
{
    QVariant answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ask");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QSqlQuery q(db);
        if (db.open() && q.exec(sql) && q.next())
            answer = q.value(0);
    }
    QSqlDatabase::removeDatabase("ask");
    return answer;
}

int Checks(const QString& path, const QString& meter)
{
    const QVariant n = Ask(path, "SELECT COUNT(*) FROM checks WHERE meter_name = '" + meter + "'");
    return n.isValid() ? n.toInt() : -1;
}

QDateTime At(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODate);
}

// The local history with its tables, made as the program makes it.
bool MakeLocalHistory()
{
    HistoryDatabase db(HistoryConfig{});
    QString error;
    return db.Store(&error) != nullptr;
}

} // namespace

class TestHistoryLocal : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void init() { ForgetLocalHistory(); }

    // Under the usual umask, a new history and its folder, and one an earlier version left
    // readable by all, are the user's alone.
    void forTheUserAlone_data()
    {
        QTest::addColumn<bool>("earlier");
        DataRow("made now", false);
        DataRow("left readable by an earlier version", true);
    }
    void forTheUserAlone()
    {
        QFETCH(bool, earlier);
        const mode_t mask = ::umask(022);
        const QString path = LocalHistoryPath();
        if (earlier) {
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        HistoryDatabase db(HistoryConfig{});
        QCOMPARE(db.Record({SampleCheck("M", "1", At("2024-01-02T10:00:00+01:00"))}).error,
                 QString());
        ::umask(mask);
        for (const QString& file : {path, path + "-wal"})
            QVERIFY2(QFileInfo::exists(file) && !(QFileInfo(file).permissions() & groupAndOthers),
                     qPrintable(file));
        if (!earlier)
            QVERIFY(!(QFileInfo(QFileInfo(path).absolutePath()).permissions() & groupAndOthers));
    }

    // After a clean end the database file alone holds every check, though another connection
    // (another program) keeps the file open.
    void wholeAfterACleanEnd()
    {
        const QString path = LocalHistoryPath();
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        {
            HistoryDatabase db(HistoryConfig{});
            QList<CheckRecord> run;
            for (int i = 0; i < 5; ++i)
                run << SampleCheck("K", QString::number(i), At("2024-01-02T10:00:00+01:00"));
            QCOMPARE(db.Record(run).error, QString());
            // Another program reading the history: the end of this one is not the file's last.
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery read(other);
            QVERIFY(read.exec("SELECT COUNT(*) FROM checks") && read.next());
        }
        const QString copy = scratch.filePath("copied.sqlite");
        QVERIFY(QFile::copy(path, copy));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
        QCOMPARE(Checks(copy, "K"), 5);
    }

    // A backup taken while another process records 200 checks holds every check committed
    // before it began, and is a sound database.
    void backupWhileABenchRecords()
    {
        const QString path = LocalHistoryPath();
        const QString backup = scratch.filePath("backup.sqlite");
        QProcess bench;
        bench.start(R718_HISTORY_WRITER, {"record", "200", "W"});
        QVERIFY(bench.waitForStarted());
        int committed = -1;
        QTRY_VERIFY_WITH_TIMEOUT((committed = Checks(path, "W")) >= 10, 60000);
        QProcess report;
        report.start(R718_REPORT, {"history", "backup", backup});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(report.readAllStandardError()), QString());
        QCOMPARE(report.exitCode(), 0);
        const bool benchStillRecording = bench.state() == QProcess::Running;
        QVERIFY(bench.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(bench.readAllStandardOutput()), "recorded 200 waiting 0\n");

        const int copied = Checks(backup, "W");
        QVERIFY2(
            copied >= committed && copied <= 200,
            qPrintable(
                QString("%1 committed before the backup, %2 in it").arg(committed).arg(copied)));
        QCOMPARE(Ask(backup, "PRAGMA integrity_check").toString(), "ok");
        QCOMPARE(Ask(backup, "SELECT COUNT(*) FROM points p JOIN checks c ON c.id = p.check_id"
                             " WHERE meter_name = 'W'")
                     .toInt(),
                 3 * copied);
        QCOMPARE(Checks(path, "W"), 200);
        if (!benchStillRecording)
            qWarning(
                "the bench ended before the backup did: the copy was not taken while it recorded");
    }

    // A run's records that meet the file locked by another program as the program ends wait
    // beside it, and go in at the next use.
    void lockedFileKeepsTheRun()
    {
        const QString path = LocalHistoryPath();
        QVERIFY(MakeLocalHistory());
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(path);
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
        const CheckRecord check = SampleCheck("Z", "1", At("2024-01-02T10:00:00+01:00"));
        HistoryDatabase::Outcome outcome;
        {
            HistoryService history;
            QFuture<HistoryDatabase::Outcome> run = history.Record({check});
            // The program ends; the service waits for the run.
        }
        QVERIFY(QSqlQuery(holder).exec("ROLLBACK"));
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        QCOMPARE(Checks(path, "Z"), 0);
        QCOMPARE(QDir(path + "-waiting").entryList(QDir::Files).size(), 1);

        // The next start.
        HistoryDatabase db(HistoryConfig{});
        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        QCOMPARE(Content(store->Check(check.id).value), check);
        QVERIFY(QDir(path + "-waiting").entryList(QDir::Files).isEmpty());
    }

    // While the program runs, the run says that it was kept and why.
    void lockedFileSaysTheRunWaits()
    {
        const QString path = LocalHistoryPath();
        QVERIFY(MakeLocalHistory());
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(path);
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
        HistoryDatabase db(HistoryConfig{});
        const HistoryDatabase::Outcome o =
            db.Record({SampleCheck("Y", "1", At("2024-01-02T10:00:00+01:00"))});
        QVERIFY(QSqlQuery(holder).exec("ROLLBACK"));
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        QVERIFY2(o.error.contains("database is locked"), qPrintable(o.error));
        QCOMPARE(o.keptIn, path + "-waiting");
        QCOMPARE(o.waiting, 1);
        const HistoryDatabase::Outcome later = db.SendQueued();
        QCOMPARE(later.waiting, 0);
        QCOMPARE(Checks(path, "Y"), 1);
    }
};

QTEST_GUILESS_MAIN(TestHistoryLocal)
#include "tst_historylocal.moc"
