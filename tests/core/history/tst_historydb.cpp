// SPDX-License-Identifier: MIT
// The history in its two databases: the local SQLite file and a PostgreSQL server that this
// test starts itself (initdb and pg_ctl in a temporary folder, a Unix socket only). Records
// round-trip, tables of the first version are upgraded, two benches record at once, and a
// server that is down gets every queued record once when it is back. The lab's set-up script
// makes an own schema with an owner and a bench role; a bench without a right hears the
// server's reason and keeps its records waiting; a stalled server process holds neither a
// record nor the program's end; a bench killed before sending loses nothing.

#include "DataRows.h"
#include "HistoryTestData.h"
#include "PgServer.h"

#include "core/history/HistoryChain.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistorySchema.h"
#include "core/history/HistoryService.h"
#include "core/history/SqlHistoryStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

HistoryConfig ServerConfig(const QString& url)
{
    HistoryConfig config;
    QString reason;
    const bool parsed = HistoryConfig::ParseUrl(url, config, &reason);
    Q_ASSERT_X(parsed, "ServerConfig", qPrintable(reason));
    return config;
}

QDateTime At(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODate);
}

} // namespace

class TestHistoryDb : public QObject
{
    Q_OBJECT

    PgServer server;
    QTemporaryDir scratch;

    // A statement run on the server by its superuser; false with the reason in a warning.
    bool ServerExec(const QString& sql, const QString& database = "postgres")
    {
        bool done = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "admin-exec");
            const HistoryConfig c = ServerConfig(server.Url());
            db.setHostName(c.host);
            db.setPort(c.port);
            db.setUserName(c.user);
            db.setDatabaseName(database);
            QSqlQuery q(db);
            done = db.open() && q.exec(sql);
            if (!done)
                qWarning() << db.lastError().text() << q.lastError().text();
        }
        QSqlDatabase::removeDatabase("admin-exec");
        return done;
    }

    // The program's environment for this process: the database of `url` and a data folder.
    static void UseHistory(const QString& url, const QString& dataFolder)
    {
        qputenv("R718_HISTORY", url.toUtf8());
        qputenv("XDG_DATA_HOME", dataFolder.toUtf8());
    }

    // A count on the server, read directly.
    int ServerCount(const QString& sql, const QString& database = "postgres")
    {
        int n = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "check");
            const HistoryConfig c = ServerConfig(server.Url());
            db.setHostName(c.host);
            db.setPort(c.port);
            db.setUserName(c.user);
            db.setDatabaseName(database);
            QSqlQuery q(db);
            if (db.open() && q.exec(sql) && q.next())
                n = q.value(0).toInt();
            else
                qWarning() << db.lastError().text() << q.lastError().text();
        }
        QSqlDatabase::removeDatabase("check");
        return n;
    }

    // Runs history_writer with the server of this test (or `url`) and a local file of
    // `dataFolder`.
    QProcess* Writer(const QStringList& args, const QString& dataFolder, QString url = QString())
    {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("R718_HISTORY", url.isEmpty() ? server.Url() : url);
        env.insert("XDG_DATA_HOME", dataFolder);
        p->setProcessEnvironment(env);
        p->start(R718_HISTORY_WRITER, args);
        return p;
    }

    static QString Finish(QProcess* p, int* exitCode)
    {
        if (!p->waitForFinished(120000))
            qWarning() << "history_writer:" << p->errorString();
        *exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
        return QString::fromUtf8(p->readAllStandardOutput()).trimmed() +
               QString::fromUtf8(p->readAllStandardError()).trimmed().prepend(" | ");
    }

private slots:
    void initTestCase() { QVERIFY2(server.Start(), qPrintable(server.LastError())); }

    void roundTrip_data()
    {
        QTest::addColumn<bool>("onServer");
        DataRow("sqlite", false);
        DataRow("postgresql", true);
    }
    void roundTrip()
    {
        QFETCH(bool, onServer);
        const HistoryConfig config = onServer ? ServerConfig(server.Url()) : HistoryConfig{};
        HistoryDatabase db(config, scratch.filePath(QTest::currentDataTag() + QString(".sqlite")));

        CheckRecord older =
            SampleCheck("Woltomierz V-640", "0417/2004", At("2004-03-05T09:07:45+01:00"));
        CheckRecord newer =
            SampleCheck("Woltomierz V-640", "0417/2004", At("2024-06-30T23:59:59+02:00"),
                        {"100.00", "200.10", "299.00"});
        newer.sensorName = "K (NiCr-NiAl)";
        newer.rangeUnit = "°C";
        newer.sensorText = "Czujnik: K (NiCr-NiAl); [To=23.0 °C]";
        newer.points[1].unit = "µV";
        // The lab's policy is kept with the record; the older one has the defaults.
        newer.decisionRule = DecisionRule::NonBinary;
        newer.turThreshold = 3.7;
        newer.calibrator = {"R718/0042", "AP/123/2026", QDate(2026, 1, 15), QDate(2027, 1, 15)};
        newer.calibratorOverdue = true;
        QVERIFY(older.passed);
        QVERIFY(!newer.passed);
        QVERIFY(newer.points[2].exceeded);

        HistoryDatabase::Outcome o = db.Record({older, newer});
        QVERIFY2(o.error.isEmpty(), qPrintable(o.error));
        QCOMPARE(o.sent, onServer ? 2 : 0);
        QCOMPARE(o.waiting, 0);
        // The same records again (a queue sent twice): stored once.
        o = db.Record({older});
        QVERIFY2(o.error.isEmpty(), qPrintable(o.error));

        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        QStringList hashes;
        for (const CheckRecord& c : {older, newer}) {
            const Fetched<CheckRecord> back = store->Check(c.id);
            QVERIFY2(back.Ok(), qPrintable(back.error));
            QCOMPARE(Content(back.value), c);
            // Each stored once, each with its own link.
            QVERIFY2(QRegularExpression("^[0-9a-f]{64}$").match(back.value.chainHash).hasMatch(),
                     qPrintable(back.value.chainHash));
            hashes << back.value.chainHash;
            // The bench's own clock, as the reprint shows it.
            QCOMPARE(back.value.checkedAt.toString(Qt::ISODate), c.checkedAt.toString(Qt::ISODate));
        }
        QCOMPARE_NE(hashes[0], hashes[1]);
        const HistoryChain::Report chain = store->VerifyChain();
        QVERIFY2(chain.error.isEmpty(), qPrintable(chain.error));
        QCOMPARE(chain.links, 2);
        QVERIFY(!chain.fault);
        // The order of a batch sent to the server is the queue's, not the run's.
        QVERIFY(hashes.contains(chain.lastHash));
        const Fetched<QList<CheckRecord>> all =
            store->ChecksWithPoints(older.meterName, older.meterNumber);
        QVERIFY(all.Ok());
        QCOMPARE(all.value.size(), 2);
        QCOMPARE(QList<CheckRecord>({Content(all.value[0]), Content(all.value[1])}),
                 QList<CheckRecord>({older, newer}));
        QCOMPARE(all.value[1].chainHash, hashes[1]);
        const Fetched<QList<MeterSummary>> meters = store->Meters();
        QVERIFY(meters.Ok());
        QCOMPARE(meters.value.size(), 1);
        QCOMPARE(meters.value[0].checks, 2);
        QCOMPARE(meters.value[0].lastCheckedAt, newer.checkedAt);
        QVERIFY(!meters.value[0].lastPassed);
    }

    void upgradeFromFirstVersion_data()
    {
        QTest::addColumn<bool>("onServer");
        DataRow("sqlite", false);
        DataRow("postgresql", true);
    }
    void upgradeFromFirstVersion()
    {
        QFETCH(bool, onServer);
        HistoryConfig config;
        QSqlDatabase v1;
        if (onServer) {
            {
                QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "admin");
                config = ServerConfig(server.Url());
                admin.setHostName(config.host);
                admin.setPort(config.port);
                admin.setUserName(config.user);
                admin.setDatabaseName("postgres");
                QVERIFY(admin.open());
                QVERIFY(QSqlQuery(admin).exec("CREATE DATABASE first_version"));
            }
            QSqlDatabase::removeDatabase("admin");
            config.database = "first_version";
            v1 = QSqlDatabase::addDatabase("QPSQL", "v1");
            v1.setHostName(config.host);
            v1.setPort(config.port);
            v1.setUserName(config.user);
            v1.setDatabaseName(config.database);
        } else {
            v1 = QSqlDatabase::addDatabase("QSQLITE", "v1");
            v1.setDatabaseName(scratch.filePath("first-version.sqlite"));
        }
        QVERIFY(v1.open());
        QCOMPARE(HistorySchema::Migrate(v1, 1), QString());
        QCOMPARE(HistorySchema::Version(v1), 1);
        // A check written by the first version: no offset from UTC kept.
        QSqlQuery q(v1);
        QVERIFY2(
            q.exec("INSERT INTO checks VALUES ('v1-check', '2020-01-02T03:04:05Z', 'pc', 'jan',"
                   " 'M1', '7', 0, '/lab/m1.met', 0, '10', 'V', 0, '', 0, '', '', '', '0.5',"
                   " '', '', 2, 'Klasa: 0.5% zakresu', '', 1)"),
            qPrintable(q.lastError().text()));
        QVERIFY(
            q.exec("INSERT INTO points VALUES ('v1-check', 0, '5.01', '5.000', '0.010', '0.050',"
                   " '0.003', 'V', 1, 1, 0)"));
        q.finish();
        v1.close();
        v1 = QSqlDatabase();
        QSqlDatabase::removeDatabase("v1");

        HistoryDatabase db(config, onServer ? scratch.filePath("queue-v1.sqlite")
                                            : scratch.filePath("first-version.sqlite"));
        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        const Fetched<CheckRecord> old = store->Check("v1-check");
        QVERIFY2(old.Ok(), qPrintable(old.error));
        QCOMPARE(old.value.checkedAt, At("2020-01-02T03:04:05Z"));
        QCOMPARE(old.value.points.size(), 1);
        QCOMPARE(old.value.points[0].actualError, "0.010");
        const CheckRecord next = SampleCheck("M1", "7", At("2021-01-01T08:00:00+01:00"));
        QCOMPARE(db.Record({next}).error, QString());
        QCOMPARE(store->Meters().value.value(0).checks, 2);
    }

    // A database of its own: a file in the scratch folder, or a new database on the server.
    QSqlDatabase OpenNew(bool onServer, const QString& name)
    {
        QSqlDatabase db;
        if (onServer) {
            if (!ServerExec("CREATE DATABASE " + name))
                return db;
            const HistoryConfig c = ServerConfig(server.Url());
            db = QSqlDatabase::addDatabase("QPSQL", name);
            db.setHostName(c.host);
            db.setPort(c.port);
            db.setUserName(c.user);
            db.setDatabaseName(name);
        } else {
            db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(scratch.filePath(name + ".sqlite"));
        }
        db.open();
        return db;
    }

    // The meters as the checks themselves give them (each meter's last run: its time, the
    // lowest offset and the worst verdict of its ranges; how many checks).
    static QList<MeterSummary> MetersFromChecks(const QSqlDatabase& db)
    {
        QSqlQuery q(db);
        if (!q.exec("SELECT meter_name, meter_number, checked_at, MIN(utc_offset), MIN(passed),"
                    " MAX(n) FROM (SELECT meter_name, meter_number, checked_at, utc_offset,"
                    " passed, MAX(checked_at) OVER w AS last_at, COUNT(*) OVER w AS n"
                    " FROM checks WINDOW w AS (PARTITION BY meter_name, meter_number)) AS t"
                    " WHERE checked_at = last_at GROUP BY meter_name, meter_number, checked_at"
                    " ORDER BY meter_name, meter_number"))
            qWarning() << q.lastError().text();
        QList<MeterSummary> meters;
        while (q.next()) {
            MeterSummary m{q.value(0).toString(), q.value(1).toString(),
                           QDateTime::fromString(q.value(2).toString(), Qt::ISODate)
                               .toOffsetFromUtc(q.value(3).toInt()),
                           q.value(4).toInt() != 0, q.value(5).toInt()};
            meters << m;
        }
        return meters;
    }

    // The meters' summary: filled from the checks when tables of version 2 are upgraded, and
    // kept with each record after, a record stored already counted once.
    void meterSummary_data()
    {
        QTest::addColumn<bool>("onServer");
        DataRow("sqlite", false);
        DataRow("postgresql", true);
    }
    void meterSummary()
    {
        QFETCH(bool, onServer);
        const QString name = QStringLiteral("summary_%1").arg(QTest::currentDataTag());
        {
            QSqlDatabase db = OpenNew(onServer, name);
            QVERIFY2(db.isOpen(), qPrintable(db.lastError().text()));
            // The tables as they were before the summary came (its version less one), with checks
            // stored into them by today's store.
            QCOMPARE(HistorySchema::Migrate(db, HistorySchema::meterSummaryVersion - 1), QString());
            SqlHistoryStore store(db);
            // Meter A's last run: two ranges at one moment, from a bench an hour apart from
            // the other's clock, one negative; and an older run.
            const CheckRecord a1 = SampleCheck("A", "1", At("2020-01-01T08:00:00+01:00"));
            const CheckRecord a2 =
                SampleCheck("A", "1", At("2021-05-01T10:00:00+02:00"), firstPointExceeds);
            CheckRecord a3 = SampleCheck("A", "1", At("2021-05-01T09:00:00+01:00"));
            a3.rangeSlot = 1;
            const CheckRecord b1 = SampleCheck("B", "2", At("2019-01-01T08:00:00Z"));
            QCOMPARE(store.Save({a1, a2, a3, b1}), QString());
            const QList<MeterSummary> asBefore = MetersFromChecks(db);
            QCOMPARE(asBefore.size(), 2);

            QCOMPARE(HistorySchema::Migrate(db), QString());
            Fetched<QList<MeterSummary>> meters = store.Meters();
            QVERIFY2(meters.Ok(), qPrintable(meters.error));
            QCOMPARE(meters.value, asBefore);
            QCOMPARE(meters.value[0].checks, 3);
            QVERIFY(!meters.value[0].lastPassed);
            QCOMPARE(meters.value[0].lastCheckedAt.toString(Qt::ISODate),
                     "2021-05-01T09:00:00+01:00");

            // Newer for B, older for A, A's first again (stored already), and a new meter's run
            // as A's last one: the negative range first, the other's bench an hour behind.
            const CheckRecord b2 = SampleCheck("B", "2", At("2022-01-01T08:00:00+01:00"));
            const CheckRecord a0 = SampleCheck("A", "1", At("2010-01-01T08:00:00Z"));
            const CheckRecord c1 =
                SampleCheck("C", "3", At("2023-01-01T10:00:00+02:00"), firstPointExceeds);
            CheckRecord c2 = SampleCheck("C", "3", At("2023-01-01T09:00:00+01:00"));
            c2.rangeSlot = 1;
            QCOMPARE(store.Save({b2, a1, a0, c1, c2}), QString());
            meters = store.Meters();
            QVERIFY2(meters.Ok(), qPrintable(meters.error));
            QCOMPARE(meters.value, MetersFromChecks(db));
            QCOMPARE(meters.value.size(), 3);
            QCOMPARE(meters.value[0].checks, 4);
            QCOMPARE(meters.value[1].checks, 2);
            QCOMPARE(meters.value[1].lastCheckedAt.toString(Qt::ISODate),
                     "2022-01-01T08:00:00+01:00");
            QVERIFY(meters.value[1].lastPassed);
            QCOMPARE(meters.value[2].checks, 2);
            QVERIFY(!meters.value[2].lastPassed);
            QCOMPARE(meters.value[2].lastCheckedAt.toString(Qt::ISODate),
                     "2023-01-01T09:00:00+01:00");
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    void twoBenchesAtOnce()
    {
        // Two benches, each with its own queue, one server.
        QTemporaryDir benchA;
        QTemporaryDir benchB;
        QProcess* a = Writer({"record", "200", "A"}, benchA.path());
        QProcess* b = Writer({"record", "200", "B"}, benchB.path());
        int codeA = 0;
        int codeB = 0;
        const QString outA = Finish(a, &codeA);
        const QString outB = Finish(b, &codeB);
        QVERIFY2(codeA == 0 && codeB == 0, qPrintable(outA + " / " + outB));
        QCOMPARE(outA, "recorded 200 waiting 0 | ");
        QCOMPARE(outB, "recorded 200 waiting 0 | ");
        QCOMPARE(
            ServerCount("SELECT COUNT(DISTINCT id) FROM checks WHERE meter_name IN ('A', 'B')"),
            400);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name IN ('A', 'B')"), 400);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM points p JOIN checks c ON c.id = p.check_id"
                             " WHERE meter_name IN ('A', 'B')"),
                 1200);
    }

    void serverDownKeepsChecksLocally()
    {
        QTemporaryDir data;
        QVERIFY2(server.Stop(), qPrintable(server.LastError()));
        int code = -1;
        QString out = Finish(Writer({"record", "20", "Q"}, data.path()), &code);
        // Queued is recorded: no failure for the technician.
        QCOMPARE(code, 0);
        QCOMPARE(out, "recorded 20 waiting 20 | ");

        QVERIFY2(server.Start(), qPrintable(server.LastError()));
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name = 'Q'"), 0);
        out = Finish(Writer({"send"}, data.path()), &code);
        QCOMPARE(code, 0);
        QCOMPARE(out, "sent 20 waiting 0 | ");
        out = Finish(Writer({"send"}, data.path()), &code);
        QCOMPARE(out, "sent 0 waiting 0 | ");
        QCOMPARE(ServerCount("SELECT COUNT(DISTINCT id) FROM checks WHERE meter_name = 'Q'"), 20);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name = 'Q'"), 20);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM points p JOIN checks c ON c.id = p.check_id"
                             " WHERE meter_name = 'Q'"),
                 60);
    }

    // The lab's set-up as the administrator's guide gives it: the script run by psql, the
    // owner's first connection makes the tables in the schema r718, and two benches sharing
    // the bench role record 100 checks each at once.
    void labSetUpWithOwnSchemaAndTwoRoles()
    {
        QVERIFY2(server.Psql({"-f", R718_LAB_SETUP_SQL}), qPrintable(server.LastError()));
        // Run again (a lab repeating it) it changes nothing and fails nothing.
        QVERIFY2(server.Psql({"-f", R718_LAB_SETUP_SQL}), qPrintable(server.LastError()));
        const QString ownerUrl = server.Url("r718_owner", "r718");
        const QString benchUrl = server.Url("r718_bench", "r718");

        // The bench role may not make the tables: it says so in the server's words.
        {
            HistoryDatabase early(ServerConfig(benchUrl), scratch.filePath("early.sqlite"));
            QString error;
            QVERIFY(!early.Store(&error));
            QVERIFY2(error.contains("permission denied for schema r718"), qPrintable(error));
        }
        {
            HistoryDatabase owner(ServerConfig(ownerUrl), scratch.filePath("owner.sqlite"));
            QString error;
            QVERIFY2(owner.Store(&error), qPrintable(error));
        }
        // schema_version, checks, points, outbox, notes, chain, due_intervals, meter_summary
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM pg_tables WHERE schemaname = 'r718'", "r718"),
                 8);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM pg_tables WHERE schemaname = 'public'", "r718"),
                 0);

        QTemporaryDir benchA;
        QTemporaryDir benchB;
        QProcess* a = Writer({"record", "100", "LA"}, benchA.path(), benchUrl);
        QProcess* b = Writer({"record", "100", "LB"}, benchB.path(), benchUrl);
        int codeA = 0;
        int codeB = 0;
        const QString outA = Finish(a, &codeA);
        const QString outB = Finish(b, &codeB);
        QCOMPARE(outA, "recorded 100 waiting 0 | ");
        QCOMPARE(outB, "recorded 100 waiting 0 | ");
        QCOMPARE(ServerCount("SELECT COUNT(DISTINCT id) FROM r718.checks", "r718"), 200);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM r718.points", "r718"), 600);
        // The benches keep the meters' summary without a right to change it.
        QCOMPARE(ServerCount("SELECT SUM(checks) FROM r718.meter_summary", "r718"), 200);
        // The bench role may read and add, nothing more.
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM information_schema.role_table_grants"
                             " WHERE grantee = 'r718_bench' AND privilege_type NOT IN"
                             " ('SELECT', 'INSERT')",
                             "r718"),
                 0);
    }

    // A bench whose role lost a right: the server's reason reaches the user, and the records
    // refused wait in the queue, counted, until the right is back.
    void benchWithoutARight()
    {
        const QString benchUrl = server.Url("r718_bench", "r718");
        QVERIFY(ServerExec("REVOKE SELECT ON r718.schema_version FROM r718_bench", "r718"));
        {
            HistoryDatabase bench(ServerConfig(benchUrl), scratch.filePath("rights.sqlite"));
            QString error;
            QVERIFY(!bench.Store(&error));
            QVERIFY2(error.contains("Nie można odczytać wersji tabel bazy danych: permission "
                                    "denied for table schema_version"),
                     qPrintable(error));
        }
        QVERIFY(ServerExec("GRANT SELECT ON r718.schema_version TO r718_bench", "r718"));

        QVERIFY(ServerExec("REVOKE INSERT ON r718.checks FROM r718_bench", "r718"));
        QTemporaryDir data;
        UseHistory(benchUrl, data.path());
        {
            HistoryService history;
            const HistoryDatabase::Outcome refused =
                history.Record({SampleCheck("R", "1", QDateTime::currentDateTime())}).result();
            QCOMPARE(refused.error, QString()); // kept: no failure of the run
            QVERIFY2(refused.sendError.contains("permission denied for table checks"),
                     qPrintable(refused.sendError));
            QCOMPARE(refused.waiting, 1);
            QTRY_COMPARE(history.Queue().waiting, 1);
            QVERIFY(history.Queue().failedAt.isValid());
            QVERIFY(history.Queue().failure.contains("permission denied for table checks"));
            // Refused again by the retry: still there.
            QCOMPARE(history.SendQueued().result().waiting, 1);

            QVERIFY(ServerExec("GRANT INSERT ON r718.checks TO r718_bench", "r718"));
            const HistoryDatabase::Outcome sent = history.SendQueued().result();
            QCOMPARE(sent.sent, 1);
            QCOMPARE(sent.waiting, 0);
            QTRY_COMPARE(history.Queue().waiting, 0);
            QVERIFY(history.Queue().failure.isEmpty());
        }
        qunsetenv("R718_HISTORY");
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM r718.checks WHERE meter_name = 'R'", "r718"), 1);
    }

    // The server process of the bench's connection stops answering (SIGSTOP): the next runs are
    // kept at once, the service ends within 5 s, and the records go once the server resumes.
    void stalledServer()
    {
        QVERIFY(ServerExec("CREATE DATABASE stalled"));
        const QString url = server.Url("postgres", "stalled");
        QTemporaryDir data;
        UseHistory(url, data.path());
        auto history = std::make_unique<HistoryService>();
        const HistoryDatabase::Outcome first =
            history->Record({SampleCheck("S", "1", QDateTime::currentDateTime())}).result();
        QCOMPARE(first.sendError, QString()); // sent by this call or by the start's
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name = 'S'", "stalled"), 1);
        const int backend = ServerCount("SELECT pid FROM pg_stat_activity WHERE datname = 'stalled'"
                                        " AND application_name = 'r718'");
        QVERIFY(backend > 0);
        QCOMPARE(::kill(backend, SIGSTOP), 0);
        auto resume = qScopeGuard([backend] { ::kill(backend, SIGCONT); });

        // The first run's send hangs; the next run is kept all the same.
        QFuture<HistoryDatabase::Outcome> stalled =
            history->Record({SampleCheck("S", "2", QDateTime::currentDateTime())});
        QTRY_COMPARE(history->Queue().waiting, 1);
        history->Record({SampleCheck("S", "3", QDateTime::currentDateTime())});
        QTRY_COMPARE(history->Queue().waiting, 2);
        QVERIFY(!stalled.isFinished());
        QElapsedTimer end;
        end.start();
        history.reset();
        QVERIFY2(end.elapsed() < 5000, qPrintable(QString::number(end.elapsed())));
        QVERIFY(stalled.isFinished());
        QVERIFY(!stalled.result().sendError.isEmpty());

        resume.dismiss();
        QCOMPARE(::kill(backend, SIGCONT), 0);
        HistoryService again; // sends what waits at its start
        QTRY_COMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name = 'S'", "stalled"),
                     3);
        qunsetenv("R718_HISTORY");
    }

    // A bench killed after keeping a run and before sending it: the next start sends it. A bench
    // killed after the server stored a record and before the queue forgot it sends it again,
    // and the server keeps it once.
    void killedBeforeOrAfterTheSend()
    {
        QTemporaryDir data;
        int code = 0;
        const QString out = Finish(Writer({"keep-and-die", "3", "K"}, data.path()), &code);
        QCOMPARE(code, -1); // killed
        QVERIFY2(out.startsWith("kept, waiting 3"), qPrintable(out));
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name = 'K'"), 0);
        QCOMPARE(Finish(Writer({"send"}, data.path()), &code), "sent 3 waiting 0 | ");

        HistoryDatabase db(ServerConfig(server.Url()), scratch.filePath("twice.sqlite"));
        const CheckRecord check = SampleCheck("K2", "1", QDateTime::currentDateTime());
        QCOMPARE(db.Record({check}).sent, 1);
        {
            // The queue as a kill between the server's commit and the local delete leaves it.
            QSqlDatabase queue = QSqlDatabase::addDatabase("QSQLITE", "queue");
            queue.setDatabaseName(scratch.filePath("twice.sqlite"));
            QVERIFY(queue.open());
            QSqlQuery q(queue);
            q.prepare("INSERT INTO outbox (id, record, queued_at) VALUES (?, ?, '2000-01-01')");
            q.addBindValue(check.id);
            q.addBindValue(QString::fromUtf8(QJsonDocument(RecordToJson(check)).toJson()));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase("queue");
        QCOMPARE(db.QueuedCount(), 1);
        QCOMPARE(db.SendQueued().waiting, 0);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM checks WHERE meter_name IN ('K', 'K2')"), 4);
        QCOMPARE(ServerCount("SELECT COUNT(*) FROM points p JOIN checks c ON c.id = p.check_id"
                             " WHERE meter_name IN ('K', 'K2')"),
                 12);
    }

    // A password file others may read is skipped by libpq: the failure says so, not only the
    // standard error.
    void passwordFileOthersMayRead()
    {
        QTemporaryDir home;
        const QString passwords = home.filePath("pgpass");
        QFile file(passwords);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("*:*:*:*:tajne\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther));
        qputenv("PGPASSFILE", QFile::encodeName(passwords));
        const auto restore = qScopeGuard([] { qunsetenv("PGPASSFILE"); });
        HistoryDatabase db(ServerConfig("postgresql:///lab?host=/nonexistent-r718"),
                           scratch.filePath("pgpass.sqlite"));
        QString error;
        QVERIFY(!db.Store(&error));
        QVERIFY2(error.contains("Plik haseł " + passwords + " jest pomijany") &&
                     error.contains("chmod 600"),
                 qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestHistoryDb)
#include "tst_historydb.moc"
