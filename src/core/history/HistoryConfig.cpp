// SPDX-License-Identifier: MIT
#include "core/history/HistoryConfig.h"

#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace {

QSettings Settings()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"));
}

} // namespace

QString HistoryConfig::Description() const
{
    if (!IsServer())
        return LocalHistoryPath();
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    text += host.startsWith(QLatin1Char('/')) ? QStringLiteral("[%1]").arg(host) : host;
    text += QStringLiteral(":%1/%2").arg(port).arg(database);
    if (!schema.isEmpty())
        text += QStringLiteral("?schema=") + schema;
    return text;
}

HistoryConfig HistoryConfig::Current()
{
    const QString text = qEnvironmentVariable("R718_HISTORY").trimmed();
    if (text.isEmpty())
        return FromSettings();
    HistoryConfig config;
    config.fromEnvironment = true;
    if (text.compare(QLatin1String("local"), Qt::CaseInsensitive) == 0)
        return config;
    QString reason;
    if (!ParseUrl(text, config, &reason)) {
        // A wrong variable must not send the records anywhere else: they wait in the local
        // queue and every attempt to reach the server reports the reason.
        config.backend = Backend::PostgreSql;
        config.invalid = QStringLiteral("R718_HISTORY: ") + reason;
    }
    return config;
}

HistoryConfig HistoryConfig::FromSettings()
{
    const QSettings s = Settings();
    HistoryConfig config;
    if (s.value("History/Backend").toString() == QLatin1String("postgresql"))
        config.backend = Backend::PostgreSql;
    config.host = s.value("History/Host").toString();
    config.port = s.value("History/Port", 5432).toInt();
    config.database = s.value("History/Database").toString();
    config.user = s.value("History/User").toString();
    config.schema = s.value("History/Schema").toString();
    return config;
}

void HistoryConfig::SaveToSettings() const
{
    QSettings s = Settings();
    s.setValue("History/Backend", IsServer() ? "postgresql" : "local");
    s.setValue("History/Host", host);
    s.setValue("History/Port", port);
    s.setValue("History/Database", database);
    s.setValue("History/User", user);
    if (schema.isEmpty())
        s.remove("History/Schema");
    else
        s.setValue("History/Schema", schema);
}

bool HistoryConfig::ParseUrl(const QString& text, HistoryConfig& config, QString* reason)
{
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() ||
        (url.scheme() != QLatin1String("postgresql") && url.scheme() != QLatin1String("postgres")))
        return fail(QStringLiteral("oczekiwano adresu postgresql://użytkownik@serwer:port/baza"));
    const QUrlQuery query(url);
    if (!url.password().isEmpty() || query.hasQueryItem("password"))
        return fail(QStringLiteral("hasło nie może być częścią adresu; podaj je w pliku ~/.pgpass "
                                   "lub w zmiennej PGPASSWORD"));
    HistoryConfig c;
    c.backend = Backend::PostgreSql;
    c.fromEnvironment = config.fromEnvironment;
    c.host = url.host();
    c.port = url.port(5432);
    c.user = url.userName();
    c.database = url.path().mid(1);
    if (query.hasQueryItem("host"))
        c.host = query.queryItemValue("host", QUrl::FullyDecoded);
    if (query.hasQueryItem("port"))
        c.port = query.queryItemValue("port").toInt();
    if (query.hasQueryItem("user"))
        c.user = query.queryItemValue("user", QUrl::FullyDecoded);
    if (query.hasQueryItem("dbname"))
        c.database = query.queryItemValue("dbname", QUrl::FullyDecoded);
    c.schema = query.queryItemValue("schema", QUrl::FullyDecoded);
    if (c.host.isEmpty())
        return fail(QStringLiteral("brak nazwy serwera w adresie"));
    if (c.database.isEmpty())
        return fail(QStringLiteral("brak nazwy bazy danych w adresie"));
    if (c.port <= 0 || c.port > 65535)
        return fail(QStringLiteral("błędny numer portu w adresie"));
    config = c;
    return true;
}

QString LocalHistoryPath()
{
    // The program's own data folder (organisation Modrex, application r718), named in full so
    // that r718-report and the program share the file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Modrex/r718/history.sqlite");
}
