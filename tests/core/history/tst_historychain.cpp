// SPDX-License-Identifier: MIT
// The history's chain on both databases (a SQLite file and a PostgreSQL server this test
// starts): `r718-report history verify` names the first record changed, removed or added
// behind the program's back by plain SQL on a connection of the test's own, after another
// process recorded the checks; two benches writing at once still make one chain; a database of
// the second version is upgraded with every record kept and chained; the lab's policy travels
// through the queue's JSON, and an older queued record reads with the defaults.

#include "DataRows.h"
#include "HistoryTestData.h"
#include "PgServer.h"

#include "core/history/HistoryChain.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistorySchema.h"

#include <QDir>
#include <QJsonObject>
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

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run Start(const QString& program, const QStringList& args, const QString& history,
          const QString& dataFolder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("R718_HISTORY", history);
    env.insert("XDG_DATA_HOME", dataFolder);
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

class TestHistoryChain : public QObject
{
    Q_OBJECT

    PgServer server;
    QTemporaryDir scratch;
    int databases = 0;

    // A history of its own for one case: a fresh database on the server, or a fresh data
    // folder for a local file. Returns R718_HISTORY and fills the data folder.
    QString NewHistory(bool onServer, QString* dataFolder)
    {
        *dataFolder = scratch.filePath(QStringLiteral("data-%1").arg(++databases));
        if (!onServer)
            return QStringLiteral("local");
        const QString name = QStringLiteral("chain_%1").arg(databases);
        if (!Sql(server.Url(), QString(), {"CREATE DATABASE " + name}))
            return QString();
        return server.Url("postgres", name);
    }

    // Plain SQL on a connection of the test's own, past the program.
    static bool Sql(const QString& history, const QString& dataFolder, const QStringList& sql,
                    QStringList* firstColumn = nullptr)
    {
        bool done = true;
        {
            QSqlDatabase db;
            if (history == "local") {
                db = QSqlDatabase::addDatabase("QSQLITE", "behind");
                db.setDatabaseName(dataFolder + "/Modrex/r718/history.sqlite");
            } else {
                const HistoryConfig c = ServerConfig(history);
                db = QSqlDatabase::addDatabase("QPSQL", "behind");
                db.setHostName(c.host);
                db.setPort(c.port);
                db.setUserName(c.user);
                db.setDatabaseName(c.database);
            }
            done = db.open();
            for (const QString& statement : sql) {
                QSqlQuery q(db);
                if (!done || !q.exec(statement)) {
                    qWarning() << statement << db.lastError().text() << q.lastError().text();
                    done = false;
                    break;
                }
                while (firstColumn && q.next())
                    *firstColumn << q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase("behind");
        return done;
    }

private slots:
    void initTestCase() { QVERIFY2(server.Start(), qPrintable(server.LastError())); }

    // Three checks recorded by another process and a note added to the first: four links.
    // Then one change behind the program's back, and verify names the first link that fails.
    void verifyNamesTheChangedRecord_data()
    {
        // `change` may name the ids of the links as %1..%4; `link`: the link named (0: an item
        // without a link); `holding`: the links that hold before the fault.
        DataColumns<bool, QStringList, int, int, int, QString>("onServer", "change", "code",
                                                               "link", "holding", "says");
        DataRow("sqlite: intact", false, QStringList{}, 0, 0, 4, "");
        DataRow("postgresql: intact", true, QStringList{}, 0, 0, 4, "");
        DataRow("sqlite: a point's reading", false,
                QStringList{"UPDATE points SET reading = '200.01' WHERE check_id = '%2'"
                            " AND position = 1"},
                3, 2, 1, "jego treść nie zgadza się");
        DataRow("postgresql: a check's user", true,
                QStringList{"UPDATE checks SET user_name = 'ktoś' WHERE id = '%2'"}, 3, 2, 1,
                "jego treść nie zgadza się");
        DataRow("postgresql: the calibrator's due date", true,
                QStringList{"UPDATE checks SET calibrator_due_on = '2099-01-01' WHERE id = '%3'"},
                3, 3, 2, "jego treść nie zgadza się");
        DataRow("sqlite: the check's time", false,
                QStringList{"UPDATE checks SET utc_offset = utc_offset + 60 WHERE id = '%1'"}, 3, 1, 0,
                "jego treść nie zgadza się");
        DataRow("postgresql: a note's text", true,
                QStringList{"UPDATE notes SET note = 'inna' WHERE id = '%4'"}, 3, 4, 3,
                "jego treść nie zgadza się");
        DataRow("sqlite: a check removed with its link", false,
                QStringList{"DELETE FROM points WHERE check_id = '%2'",
                            "DELETE FROM checks WHERE id = '%2'",
                            "DELETE FROM chain WHERE item_id = '%2'"},
                3, 3, 1, "jego powiązanie z poprzednim zapisem nie zgadza się");
        DataRow("postgresql: a check removed, its link left", true,
                QStringList{"DELETE FROM points WHERE check_id = '%3'",
                            "DELETE FROM checks WHERE id = '%3'"},
                3, 3, 2, "jego treść nie zgadza się");
        DataRow("sqlite: a check added past the program", false,
                QStringList{"CREATE TEMP TABLE t AS SELECT * FROM checks WHERE id = '%2'",
                            "UPDATE t SET id = 'podrobione'", "INSERT INTO checks SELECT * FROM t"},
                3, 0, 4, "zapis spoza łańcucha historii (sprawdzenie podrobione, miernik T nr ");
    }
    void verifyNamesTheChangedRecord()
    {
        QFETCH(bool, onServer);
        QFETCH(QStringList, change);
        QFETCH(int, code);
        QFETCH(int, link);
        QFETCH(int, holding);
        QFETCH(QString, says);
        QString data;
        const QString history = NewHistory(onServer, &data);
        QVERIFY(!history.isEmpty());

        const Run written = Start(R718_HISTORY_WRITER, {"record", "3", "T"}, history, data);
        QVERIFY2(written.code == 0, qPrintable(written.out + written.err));
        // The checks in the order they reached the database (on a server, the queue's order).
        QStringList ids;
        QVERIFY(Sql(history, data, {"SELECT item_id FROM chain ORDER BY seq"}, &ids));
        QCOMPARE(ids.size(), 3);
        {
            // The note is added by this process, as the history window adds it.
            qputenv("XDG_DATA_HOME", data.toUtf8());
            HistoryDatabase db(history == "local" ? HistoryConfig{} : ServerConfig(history));
            QString error;
            HistoryStore* store = db.Store(&error);
            QVERIFY2(store, qPrintable(error));
            const CheckNote note = CheckNote::New(ids[0], CheckMark::AsFound, "przed regulacją");
            QCOMPARE(store->AddNote(note), QString());
            ids << note.id;
        }
        QStringList chain;
        QVERIFY(Sql(history, data, {"SELECT item_id FROM chain ORDER BY seq"}, &chain));
        QCOMPARE(chain, ids); // the note last

        QStringList sql;
        for (QString statement : change) {
            for (int i = 0; i < ids.size(); ++i)
                statement.replace(QString("%%1").arg(i + 1), ids[i]);
            sql << statement;
        }
        QVERIFY(Sql(history, data, sql));

        const Run verified = Start(R718_REPORT, {"history", "verify"}, history, data);
        QCOMPARE(verified.code, code);
        if (code == 0) {
            QVERIFY2(verified.out.startsWith("Łańcuch historii jest zgodny: 4 zapisy"),
                     qPrintable(verified.out));
            QVERIFY(verified.err.isEmpty());
            return;
        }
        QVERIFY2(verified.err.contains(says), qPrintable(verified.err));
        QCOMPARE(verified.out, QString("Zgodne zapisy przed nim: %1.\n").arg(holding));
        if (link > 0) {
            const QString id = ids[link - 1];
            const QString kind = link == 4 ? "uwaga " : "sprawdzenie ";
            QVERIFY2(verified.err.startsWith(QString("r718-report: zapis nr %1 łańcucha historii (%2%3")
                                                 .arg(link)
                                                 .arg(kind, id)),
                     qPrintable(verified.err));
        }
    }

    // Two benches record at once into one database: one chain without a gap or a fork.
    void twoWritersMakeOneChain_data()
    {
        QTest::addColumn<bool>("onServer");
        DataRow("sqlite", false);
        DataRow("postgresql", true);
    }
    void twoWritersMakeOneChain()
    {
        QFETCH(bool, onServer);
        QString data;
        const QString history = NewHistory(onServer, &data);
        QProcess a;
        QProcess b;
        for (auto [p, meter] : {std::pair{&a, "A"}, std::pair{&b, "B"}}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("R718_HISTORY", history);
            // Each bench its own queue on the server; one shared file locally.
            env.insert("XDG_DATA_HOME", onServer ? data + meter : data);
            p->setProcessEnvironment(env);
            p->start(R718_HISTORY_WRITER, {"record", "25", meter});
        }
        for (QProcess* p : {&a, &b}) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(QString::fromUtf8(p->readAllStandardOutput()).trimmed(),
                     "recorded 25 waiting 0");
        }
        qputenv("XDG_DATA_HOME", data.toUtf8());
        HistoryDatabase db(onServer ? ServerConfig(history) : HistoryConfig{});
        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        const HistoryChain::Report report = store->VerifyChain();
        QVERIFY2(report.error.isEmpty(), qPrintable(report.error));
        QVERIFY2(!report.fault, qPrintable(report.fault ? HistoryChain::FaultText(*report.fault)
                                                        : QString()));
        QCOMPARE(report.links, 50);
        QStringList bothMeters;
        QVERIFY(Sql(history, data, {"SELECT COUNT(DISTINCT meter_name) FROM checks"}, &bothMeters));
        QCOMPARE(bothMeters, QStringList{"2"});
    }

    // A history of the second version: every check kept, and chained in its order of time
    // (the later check was stored first).
    void upgradeFromSecondVersion_data()
    {
        QTest::addColumn<bool>("onServer");
        DataRow("sqlite", false);
        DataRow("postgresql", true);
    }
    void upgradeFromSecondVersion()
    {
        QFETCH(bool, onServer);
        QString data;
        const QString history = NewHistory(onServer, &data);
        qputenv("XDG_DATA_HOME", data.toUtf8());
        const HistoryConfig config = onServer ? ServerConfig(history) : HistoryConfig{};
        {
            QSqlDatabase v2 = onServer ? QSqlDatabase::addDatabase("QPSQL", "v2")
                                       : QSqlDatabase::addDatabase("QSQLITE", "v2");
            if (onServer) {
                v2.setHostName(config.host);
                v2.setPort(config.port);
                v2.setUserName(config.user);
                v2.setDatabaseName(config.database);
            } else {
                QVERIFY(QDir().mkpath(data + "/Modrex/r718"));
                v2.setDatabaseName(LocalHistoryPath());
            }
            QVERIFY(v2.open());
            QCOMPARE(HistorySchema::Migrate(v2, 2), QString());
            QSqlQuery q(v2);
            for (const char* sql : {
                     "INSERT INTO checks VALUES ('later', '2021-05-06T07:08:09Z', 'pc', 'jan',"
                     " 'M2', '7', 0, '/lab/m2.met', 0, '10', 'V', 0, '', 0, '', '', '', '0.5',"
                     " '', '', 2, 'Klasa: 0.5% zakresu', '', 1, 7200)",
                     "INSERT INTO points VALUES ('later', 0, '5.01', '5.000', '0.010', '0.050',"
                     " '0.003', 'V', 1, 1, 0)",
                     "INSERT INTO checks VALUES ('earlier', '2020-01-02T03:04:05Z', 'pc', 'jan',"
                     " 'M2', '7', 0, '/lab/m2.met', 0, '10', 'V', 0, '', 0, '', '', '', '0.5',"
                     " '', '', 2, 'Klasa: 0.5% zakresu', '', 0, 3600)",
                 })
                QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase("v2");

        HistoryDatabase db(config, onServer ? scratch.filePath(QStringLiteral("queue-%1.sqlite")
                                                                   .arg(databases))
                                            : LocalHistoryPath());
        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        const Fetched<QList<CheckRecord>> kept = store->ChecksWithPoints("M2", "7");
        QVERIFY2(kept.Ok(), qPrintable(kept.error));
        QCOMPARE(kept.value.size(), 2);
        QCOMPARE(kept.value[0].id, "earlier");
        QCOMPARE(kept.value[1].points.size(), 1);
        QCOMPARE(kept.value[1].decisionRule, DecisionRule::SimpleAcceptance);
        QCOMPARE(kept.value[1].turThreshold, 4.0);
        QStringList chain;
        QVERIFY(Sql(history, data, {"SELECT item_id FROM chain ORDER BY seq"}, &chain));
        QCOMPARE(chain, QStringList({"earlier", "later"}));

        QCOMPARE(db.Record({SampleCheck("M2", "7", QDateTime::currentDateTime())}).error, QString());
        const HistoryChain::Report report = store->VerifyChain();
        QVERIFY(!report.fault);
        QCOMPARE(report.links, 3);
    }

    // The queue's JSON carries the policy; a record queued by an older program (without it)
    // reads with the defaults.
    void policyInTheQueue()
    {
        CheckRecord made =
            SampleCheck("J", "1", QDateTime::fromString("2026-02-03T10:00:00+01:00", Qt::ISODate));
        made.decisionRule = DecisionRule::GuardBand;
        made.turThreshold = 2.5;
        made.calibrator = {"SN 9", "C/1", QDate(2025, 2, 3), QDate(2026, 2, 3)};
        made.calibratorOverdue = true;
        CheckRecord read;
        QVERIFY(RecordFromJson(RecordToJson(made), read));
        QCOMPARE(read, made);

        QJsonObject older = RecordToJson(made);
        for (const char* key : {"decisionRule", "turThreshold", "calibrator", "calibratorOverdue"})
            older.remove(key);
        QVERIFY(RecordFromJson(older, read));
        QCOMPARE(read.decisionRule, DecisionRule::SimpleAcceptance);
        QCOMPARE(read.turThreshold, 4.0);
        QVERIFY(read.calibrator.IsEmpty());
        QVERIFY(!read.calibratorOverdue);
        QCOMPARE(read.points, made.points);
    }
};

QTEST_GUILESS_MAIN(TestHistoryChain)
#include "tst_historychain.moc"
