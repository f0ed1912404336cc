// SPDX-License-Identifier: MIT
// The history in its two databases: the local SQLite file and a PostgreSQL server that this
// test starts itself (initdb and pg_ctl in a temporary folder, a Unix socket only). Records
// round-trip, tables of the first version are upgraded, two benches record at once, and a
// server that is down gets every queued record once when it is back.

#include "DataRows.h"
#include "HistoryTestData.h"
#include "PgServer.h"

#include "core/history/HistoryDatabase.h"
#include "core/history/HistorySchema.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

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

    // Runs history_writer with the server of this test and a local file of `dataFolder`.
    QProcess* Writer(const QStringList& args, const QString& dataFolder)
    {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("R718_HISTORY", server.Url());
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
        for (const CheckRecord& c : {older, newer}) {
            const Fetched<CheckRecord> back = store->Check(c.id);
            QVERIFY2(back.Ok(), qPrintable(back.error));
            QCOMPARE(back.value, c);
            // The bench's own clock, as the reprint shows it.
            QCOMPARE(back.value.checkedAt.toString(Qt::ISODate), c.checkedAt.toString(Qt::ISODate));
        }
        const Fetched<QList<CheckRecord>> all =
            store->ChecksWithPoints(older.meterName, older.meterNumber);
        QVERIFY(all.Ok());
        QCOMPARE(all.value, QList<CheckRecord>({older, newer}));
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
};

QTEST_GUILESS_MAIN(TestHistoryDb)
#include "tst_historydb.moc"
