// SPDX-License-Identifier: MIT
// Times the history of checks:
//  - recording one run of a 50-point range on the local SQLite file (the record built from the
//    document on the window's thread, then written by the worker); target: the write under 20 ms;
//  - at each count of checks (by default 1,000, 10,000 and 100,000; 1,000,000 on request), on
//    SQLite and on a PostgreSQL server of the bench's own: `r718-report history list`,
//    `r718-report history export --csv` and the history window opening until the meters and the
//    checks of the first are shown, each in a process of its own, its time and peak memory.
//    The checks (10 points each, one in five negative, 20 checks a meter up to 5,000 meters and
//    more checks a meter beyond) are recorded by the store's own Save, 5,000 a transaction,
//    into the tables as they were before the meters' summary (the version before this one);
//    then the tables are upgraded and the same is measured again. With --before, the first
//    round runs the r718-report and bench_history of an older build (programs that know that
//    version) for the figures before, and the outputs of both are compared.
//    Targets: window under 100 ms at 100,000 checks and 200 ms at 1,000,000; list under 1 s
//    and export under 2 s at 100,000; memory bounded.
//
//   bench_history [--counts 1000,10000,100000] [--before BUILD_DIR] [--only sqlite|postgresql]
//                 [--before-export-max N] [--openings N] [--keep]
//   bench_history --open-window [openings]   (the window on the history of the environment;
//                                             prints its first and median opening in ms)
#include "Child.h"
#include "PgServer.h"
#include "core/base/MessageService.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistorySchema.h"
#include "core/history/HistoryService.h"
#include "core/history/SqlHistoryStore.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/history/HistoryWindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Range 0 of the document: 400 mV, `points` measured points; a negative check when `exceeds`.
void FillRange(MeterCheckDoc& doc, const QString& meterName, const QString& meterNumber,
               int variant, int points = maxPoints, bool exceeds = false)
{
    ClearDocument(doc);
    doc.meterName = meterName;
    doc.meterNumber = meterNumber;
    MeterRange& r = doc.ranges[0];
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.rangeValue = "400";
    r.rangeUnit = "mV";
    r.classRange = "0.1";
    r.calFunction = 1;
    for (int j = 0; j < points; ++j) {
        MeterPoint& p = r.points[j];
        const double setting = 8.0 * j;
        const double actual = ((j * 37 + variant * 11) % 21 - 10) * 0.04 + (exceeds && j == 3 ? 0.1 : 0);
        p.pointDefined = 1;
        p.marked = 1;
        p.pointMeasured = 1;
        p.unit = "mV";
        p.setting = FormatFixed(setting, 2);
        p.reading = FormatFixed(setting + actual, 2);
        p.actualError = FormatFixed(actual, 2);
        p.permissibleError = "0.40";
        p.calibratorError = FormatFixed(setting * 0.0001 + 0.05, 2);
    }
}

struct Times
{
    QList<double> ms;
    double Median()
    {
        std::sort(ms.begin(), ms.end());
        return ms.isEmpty() ? 0 : ms[ms.size() / 2];
    }
    double Worst() const { return ms.isEmpty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

void Fail(const QString& what)
{
    std::fprintf(stderr, "bench_history: %s\n", qPrintable(what));
    std::exit(1);
}

// --- The window, in a process of its own ---------------------------------------------------

int OpenWindow(int openings)
{
    HistoryService history;
    LogMessageService messages;
    Times warm;
    double first = 0;
    int meters = 0;
    for (int i = 0; i < openings; ++i) {
        QElapsedTimer t;
        t.start();
        HistoryWindow window(history, messages);
        window.show();
        while (!window.MetersLoaded() || !window.ChecksLoaded())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = t.nsecsElapsed() / 1e6;
        if (i == 0)
            first = ms;
        else
            warm.ms << ms;
        meters = Child<QTableWidget>(window, "metersTable")->rowCount();
        if (meters == 0 || Child<QTableWidget>(window, "checksTable")->rowCount() == 0)
            Fail(QStringLiteral("the window shows no meters or no checks"));
    }
    std::printf("%.1f %.1f %d\n", first, warm.ms.isEmpty() ? first : warm.Median(), meters);
    return 0;
}

// --- Child processes: time and peak memory --------------------------------------------------

struct ChildRun
{
    double ms = 0;
    double cpuMs = 0;  // user and system time: what the run costs on a machine shared with others
    double peakMb = 0; // the child's largest resident set
    QByteArray out;    // standard output, when not sent to a file
};

// Runs the program with the environment, its standard output into `outFile` (or kept), and
// waits for it; fails the bench when it does not end with 0.
ChildRun RunChild(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& env, const QString& outFile = QString())
{
    std::vector<QByteArray> argStore{QFile::encodeName(program)};
    for (const QString& a : arguments)
        argStore.push_back(a.toLocal8Bit());
    std::vector<QByteArray> envStore;
    for (const QString& e : env.toStringList())
        envStore.push_back(e.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (QByteArray& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    QTemporaryDir scratch;
    const QByteArray outPath =
        QFile::encodeName(outFile.isEmpty() ? scratch.filePath("out") : outFile);

    QElapsedTimer t;
    t.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (fd < 0 || ::dup2(fd, 1) < 0 || quiet < 0 || ::dup2(quiet, 2) < 0)
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        Fail(QStringLiteral("cannot run %1").arg(program));
    ChildRun run;
    run.ms = t.nsecsElapsed() / 1e6;
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail(QStringLiteral("%1 %2 ended with %3").arg(program, arguments.join(' ')).arg(status));
    if (outFile.isEmpty()) {
        QFile f(QFile::decodeName(outPath));
        if (f.open(QIODevice::ReadOnly))
            run.out = f.readAll();
    }
    return run;
}

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        Fail(QStringLiteral("cannot read %1").arg(path));
    return hash.result().toHex().left(16);
}

// --- The history filled through the store ----------------------------------------------------

// 20 checks a meter up to 5,000 meters; beyond, more checks a meter.
int MetersFor(int checks)
{
    return std::clamp(checks / 20, 1, 5000);
}

QString MeterName(int meter)
{
    // Some names need quoting in a CSV file.
    return meter % 50 == 7 ? QStringLiteral("Miernik \"%1\"; cyfrowy").arg(meter, 4, 10, QLatin1Char('0'))
                           : QStringLiteral("Miernik %1").arg(meter, 4, 10, QLatin1Char('0'));
}

// Records `count` checks with the store's Save into the tables before the summary, 5,000 a
// transaction.
void Fill(QSqlDatabase& db, int count)
{
    QString error = HistorySchema::Migrate(db, HistorySchema::meterSummaryVersion - 1);
    if (!error.isEmpty())
        Fail(error);
    SqlHistoryStore store(db);
    MeterCheckDoc doc;
    const int meters = MetersFor(count);
    const QDateTime start = QDateTime::fromString("2005-01-03T08:00:00+01:00", Qt::ISODate);
    QList<CheckRecord> batch;
    for (int check = 0; check < count; ++check) {
        const int meter = check % meters;
        FillRange(doc, MeterName(meter), QStringLiteral("%1/2004").arg(meter), check, 10,
                  check % 5 == 4);
        RunContext context;
        // A check every ten minutes; every seventh meter's check in the same second as the one
        // before (two benches ending at once).
        context.endedAt = start.addSecs(qint64(check - (meter % 7 == 6 && meter > 0)) * 600);
        context.computer = "bench";
        context.user = "bench";
        batch << BuildCheckRecords(doc, {0}, context);
        if (batch.size() == 5000 || check + 1 == count) {
            error = store.Save(batch);
            if (!error.isEmpty())
                Fail(error);
            batch.clear();
        }
    }
}

// --- One database at one count ------------------------------------------------------------

struct Programs
{
    QString report;
    QString window; // bench_history
};

struct Figures
{
    ChildRun list, exportCsv, window;
    double windowFirst = 0, windowWarm = 0;
    QByteArray listHash, csvHash;
    bool ran = false;
    bool exported = false;
};

Figures Measure(const Programs& programs, const QProcessEnvironment& env, const QString& folder,
                bool exportToo, int openings)
{
    Figures f;
    f.ran = true;
    const QString listFile = folder + "/list.txt";
    const QString csvFile = folder + "/history.csv";
    f.list = RunChild(programs.report, {"history", "list"}, env, listFile);
    f.listHash = FileHash(listFile);
    if (exportToo) {
        f.exportCsv = RunChild(programs.report, {"history", "export", "--csv", csvFile}, env);
        f.csvHash = FileHash(csvFile);
        f.exported = true;
        QFile::remove(csvFile);
    }
    QFile::remove(listFile);
    QProcessEnvironment windowEnv = env;
    windowEnv.insert("QT_QPA_PLATFORM", "offscreen");
    f.window = RunChild(programs.window, {"--open-window", QString::number(openings)}, windowEnv);
    const QList<QByteArray> parts = f.window.out.trimmed().split(' ');
    f.windowFirst = parts.value(0).toDouble();
    f.windowWarm = parts.value(1).toDouble();
    return f;
}

// Wall time, CPU time (user and system) and peak memory of a run; the window's time is its own
// measure from the window's making to its lists shown.
QString Cells(bool ran, double ms, double cpuMs, double peakMb)
{
    if (!ran)
        return QStringLiteral("%1").arg("(not run)", -27);
    return cpuMs > 0 ? QString::asprintf("%7.0f ms %7.0f cpu %5.0f MB", ms, cpuMs, peakMb)
                     : QString::asprintf("%7.0f ms %11s %5.0f MB", ms, "", peakMb);
}

void Report(const char* backend, int count, const Figures& before, const Figures& after,
            double fillSeconds, double upgradeMs)
{
    const auto same = [&](const QByteArray& a, const QByteArray& b) {
        return !before.ran || a.isEmpty() ? "" : a == b ? "same output" : "OUTPUT DIFFERS";
    };
    const auto row = [&](const char* what, const QString& b, const QString& a, const char* note) {
        std::printf("%-10s %8d  %-13s %s | %s  %s\n", backend, count, what, qPrintable(b),
                    qPrintable(a), note);
    };
    row("list", Cells(before.ran, before.list.ms, before.list.cpuMs, before.list.peakMb),
        Cells(true, after.list.ms, after.list.cpuMs, after.list.peakMb),
        same(before.listHash, after.listHash));
    row("export --csv",
        Cells(before.exported, before.exportCsv.ms, before.exportCsv.cpuMs,
              before.exportCsv.peakMb),
        Cells(true, after.exportCsv.ms, after.exportCsv.cpuMs, after.exportCsv.peakMb),
        before.exported ? same(before.csvHash, after.csvHash) : "");
    row("window first", Cells(before.ran, before.windowFirst, 0, before.window.peakMb),
        Cells(true, after.windowFirst, 0, after.window.peakMb), "");
    row("window warm", Cells(before.ran, before.windowWarm, 0, before.window.peakMb),
        Cells(true, after.windowWarm, 0, after.window.peakMb), "");
    std::printf("%-10s %8d  (filled in %.1f s; upgrade to version %d: %.0f ms)\n", backend, count,
                fillSeconds, HistorySchema::currentVersion, upgradeMs);
    std::fflush(stdout);
}

struct Options
{
    QList<int> counts{1000, 10000, 100000};
    QString beforeBuild;
    QString only;
    int beforeExportMax = 100000; // the version before holds the whole CSV in memory
    int openings = 5;
    bool keep = false; // the databases' folders stay (their paths are printed)
};

void RunCount(const char* backend, int count, const Options& o, const Programs& now,
              const Programs& before, PgServer* server)
{
    QTemporaryDir folder;
    if (o.keep) {
        folder.setAutoRemove(false);
        std::printf("%s %d: %s\n", backend, count, qPrintable(folder.path()));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", folder.path());
    env.remove("XDG_CONFIG_HOME");
    const QString name = QStringLiteral("fill-%1").arg(count);
    const QString database = QStringLiteral("history_%1").arg(count);
    {
        QSqlDatabase db;
        if (server) {
            {
                QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "admin");
                const QUrlQuery q(QUrl(server->Url()));
                admin.setHostName(q.queryItemValue("host"));
                admin.setPort(q.queryItemValue("port").toInt());
                admin.setUserName("postgres");
                admin.setDatabaseName("postgres");
                if (!admin.open() ||
                    !QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database)) ||
                    !QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE %1").arg(database)))
                    Fail(admin.lastError().text());
            }
            QSqlDatabase::removeDatabase("admin");
            const QString url = server->Url("postgres", database);
            env.insert("R718_HISTORY", url);
            const QUrlQuery q{QUrl(url)};
            db = QSqlDatabase::addDatabase("QPSQL", name);
            db.setHostName(q.queryItemValue("host"));
            db.setPort(q.queryItemValue("port").toInt());
            db.setUserName("postgres");
            db.setDatabaseName(database);
        } else {
            env.insert("R718_HISTORY", "local");
            const QString path = folder.path() + "/Modrex/r718/history.sqlite";
            QDir().mkpath(QFileInfo(path).absolutePath());
            db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(path);
        }
        if (!db.open())
            Fail(db.lastError().text());
        if (!server)
            QSqlQuery(db).exec("PRAGMA journal_mode=WAL");
        QElapsedTimer fill;
        fill.start();
        Fill(db, count);
        const double fillSeconds = fill.elapsed() / 1000.0;
        if (!server)
            QSqlQuery(db).exec("PRAGMA wal_checkpoint(TRUNCATE)");

        Figures old;
        if (!before.report.isEmpty())
            old = Measure(before, env, folder.path(), count <= o.beforeExportMax, o.openings);
        QElapsedTimer upgrade;
        upgrade.start();
        const QString error = HistorySchema::Migrate(db);
        if (!error.isEmpty())
            Fail(error);
        const double upgradeMs = upgrade.nsecsElapsed() / 1e6;
        if (!server)
            QSqlQuery(db).exec("PRAGMA wal_checkpoint(TRUNCATE)");
        const Figures now_ = Measure(now, env, folder.path(), true, o.openings);
        Report(backend, count, old, now_, fillSeconds, upgradeMs);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void RecordingTimes(int runs)
{
    MeterCheckDoc doc;
    HistoryDatabase db(HistoryConfig{});
    Times build;
    Times write;
    for (int i = 0; i <= runs; ++i) {
        FillRange(doc, "Bench meter", "50 points", i);
        QElapsedTimer t;
        t.start();
        const QList<CheckRecord> records =
            BuildCheckRecords(doc, {0}, RunContext::Current(QString()));
        const double built = t.nsecsElapsed() / 1e6;
        t.restart();
        const HistoryDatabase::Outcome o = db.Record(records);
        const double written = t.nsecsElapsed() / 1e6;
        if (!o.error.isEmpty())
            Fail(o.error);
        if (i == 0)
            continue; // the first one creates the file and its tables
        build.ms << built;
        write.ms << written;
    }
    std::printf("record a 50-point check: build %.2f ms (worst %.2f), write %.2f ms (worst %.2f)"
                " over %d runs; target: write under 20 ms\n\n",
                build.Median(), build.Worst(), write.Median(), write.Worst(), runs);
}

Options Parse(const QStringList& args)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString value = args.value(i + 1);
        if (a == "--counts") {
            o.counts.clear();
            for (const QString& c : value.split(','))
                o.counts << c.toInt();
            ++i;
        } else if (a == "--before") {
            o.beforeBuild = value;
            ++i;
        } else if (a == "--only") {
            o.only = value;
            ++i;
        } else if (a == "--before-export-max") {
            o.beforeExportMax = value.toInt();
            ++i;
        } else if (a == "--keep") {
            o.keep = true;
        } else if (a == "--openings") {
            o.openings = std::max(2, value.toInt());
            ++i;
        } else {
            Fail(QStringLiteral("unknown argument %1").arg(a));
        }
    }
    return o;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--open-window") {
        QApplication app(argc, argv);
        return OpenWindow(argc > 2 ? std::max(1, atoi(argv[2])) : 5);
    }
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    qunsetenv("R718_HISTORY");
    QCoreApplication app(argc, argv);
    const Options o = Parse(app.arguments());

    RecordingTimes(20);

    const QString self = QCoreApplication::applicationFilePath();
    const Programs now{QStringLiteral(R718_REPORT), self};
    Programs before;
    if (!o.beforeBuild.isEmpty()) {
        before.report = o.beforeBuild + "/tools/report/r718-report";
        before.window = o.beforeBuild + "/bench/bench_history";
        for (const QString& p : {before.report, before.window})
            if (!QFileInfo(p).isExecutable())
                Fail(QStringLiteral("%1 is missing").arg(p));
    }
    std::printf("%-10s %8s  %-13s %-27s | %s\n", "database", "checks", "", "before", "after");
    std::fflush(stdout);
    if (o.only.isEmpty() || o.only == "sqlite")
        for (int count : o.counts)
            RunCount("sqlite", count, o, now, before, nullptr);
    if (o.only.isEmpty() || o.only == "postgresql") {
        PgServer server;
        if (!server.Start())
            Fail(server.LastError());
        for (int count : o.counts)
            RunCount("postgresql", count, o, now, before, &server);
    }
    return 0;
}
