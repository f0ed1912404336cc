// SPDX-License-Identifier: MIT
#include "PgServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int port = 5432; // only the name of the socket file: there is no TCP listener

QString FindBinaries()
{
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : versions) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v);
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

bool IsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

PgServer::PgServer() : bin(FindBinaries()) {}

PgServer::~PgServer()
{
    Stop();
}

QStringList PgServer::AsServerUser(const QString& program, const QStringList& arguments) const
{
    // initdb and postgres refuse to run as root.
    if (IsRoot())
        return QStringList{QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("postgres"),
                           QStringLiteral("--"), program} +
               arguments;
    return QStringList{program} + arguments;
}

bool PgServer::Run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    const QStringList command = AsServerUser(program, arguments);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(command.first(), command.mid(1));
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0) {
        error = QStringLiteral("%1 failed: %2 %3")
                    .arg(command.join(' '), p.errorString(), QString::fromLocal8Bit(p.readAll()));
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return true;
}

bool PgServer::Init()
{
    if (initialised)
        return true;
    if (bin.isEmpty()) {
        error = QStringLiteral("no PostgreSQL server under /usr/lib/postgresql/*/bin "
                               "(scripts/install-deps.sh installs the package postgresql)");
        return false;
    }
    if (!folder.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    if (IsRoot()) {
        const passwd* pw = ::getpwnam("postgres");
        if (!pw || ::chown(QFile::encodeName(folder.path()).constData(), pw->pw_uid, pw->pw_gid) != 0) {
            error = QStringLiteral("cannot hand the folder to the postgres user");
            return false;
        }
    }
    initialised = Run(bin + QStringLiteral("/initdb"),
                      {QStringLiteral("-D"), folder.filePath(QStringLiteral("data")),
                       QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-U"),
                       QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                       QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                      120000);
    return initialised;
}

bool PgServer::Start()
{
    if (running)
        return true;
    if (!Init())
        return false;
    const QString options =
        QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off").arg(folder.path()).arg(port);
    running = Run(bin + QStringLiteral("/pg_ctl"),
                  {QStringLiteral("-D"), folder.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                   folder.filePath(QStringLiteral("server.log")), QStringLiteral("-o"), options,
                   QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                   QStringLiteral("start")},
                  90000);
    if (!running)
        return false;
    // pg_ctl leaves the server behind on its own: stop it when this process ends in any way.
    const QStringList stop = AsServerUser(
        bin + QStringLiteral("/pg_ctl"),
        {QStringLiteral("-D"), folder.filePath(QStringLiteral("data")), QStringLiteral("stop"),
         QStringLiteral("-m"), QStringLiteral("immediate")});
    QStringList quoted;
    for (const QString& word : stop)
        quoted << QLatin1Char('\'') + word + QLatin1Char('\'');
    QProcess::startDetached(
        QStringLiteral("setsid"),
        {QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; %2 >/dev/null 2>&1")
             .arg(QCoreApplication::applicationPid())
             .arg(quoted.join(QLatin1Char(' ')))});
    return true;
}

bool PgServer::Stop()
{
    if (!running)
        return true;
    running = !Run(bin + QStringLiteral("/pg_ctl"),
                   {QStringLiteral("-D"), folder.filePath(QStringLiteral("data")),
                    QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("fast"),
                    QStringLiteral("-w")},
                   60000);
    return !running;
}

bool PgServer::Psql(const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(bin + QStringLiteral("/psql"),
            QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"),
                        folder.path(), QStringLiteral("-p"), QString::number(port),
                        QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
                        QStringLiteral("postgres")} +
                arguments);
    const bool finished = p.waitForFinished(60000);
    if (finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    error = QStringLiteral("psql %1 failed: %2")
                .arg(arguments.join(' '), QString::fromLocal8Bit(p.readAll()));
    p.kill();
    p.waitForFinished(1000);
    return false;
}

QString PgServer::Url(const QString& user, const QString& database) const
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setPath(QLatin1Char('/') + database);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), folder.path());
    query.addQueryItem(QStringLiteral("port"), QString::number(port));
    query.addQueryItem(QStringLiteral("user"), user);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}
