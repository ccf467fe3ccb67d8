#include "platform/adodb/PgConnect.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Errors.h"

#include <array>
#include <poll.h>

namespace {

// What the session needs whatever the server's defaults are: dates written as ISO 8601,
// backslashes in strings taken as they are, and a row lock that another program holds
// waited for as long as SQLite waits for a locked file, then reported.
constexpr const char* kSessionSettings = "SET datestyle = 'ISO, MDY'; "
                                         "SET standard_conforming_strings = on; "
                                         "SET lock_timeout = '5s'";

void IgnoreNotice(void*, const char*) {}

// The first line of libpq's message without its "connection to server … failed: " lead.
QString Reason(PGconn* connection)
{
    QString message = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    message = message.section(QLatin1Char('\n'), 0, 0);
    const qsizetype failed = message.indexOf(QLatin1String(" failed: "));
    if (message.startsWith(QLatin1String("connection to server")) && failed >= 0)
        message = message.mid(failed + 9);
    if (message.startsWith(QLatin1String("FATAL:")))
        message = message.mid(6).trimmed();
    return message;
}

[[noreturn]] void ThrowConnectFailure(PGconn* connection)
{
    const QString all = QString::fromUtf8(PQerrorMessage(connection));
    const QString user = QString::fromUtf8(PQuser(connection));
    const QString place = ServerPlace(connection);
    const auto has = [&](const char* text) { return all.contains(QLatin1String(text)); };
    if (PQconnectionNeedsPassword(connection))
        throw RuntimeError(QStringLiteral("The server at %1 asks for the password of user %2, "
                                          "and none was given.")
                               .arg(place, user),
                           kLoginFailedNumber);
    if (has("password authentication failed"))
        throw RuntimeError(QStringLiteral("The server refused the password for user %1.").arg(user),
                           kLoginFailedNumber);
    QString words;
    if (has("no encryption"))
        words = QStringLiteral("The server at %1 accepts only encrypted connections: choose a "
                               "TLS mode that uses TLS, such as \"require\".")
                    .arg(place);
    else if (has("server does not support SSL"))
        words = QStringLiteral("The server at %1 does not offer encrypted connections (TLS), "
                               "and the TLS mode asks for them.")
                    .arg(place);
    else if (has("certificate"))
        words = QStringLiteral("The certificate of the server at %1 could not be checked: %2")
                    .arg(place, Reason(connection));
    else if (has("database \"") && has("does not exist"))
        words = QStringLiteral("There is no database %1 on the server at %2.")
                    .arg(QString::fromUtf8(PQdb(connection)), place);
    else if (has("role \"") && has("does not exist"))
        words = QStringLiteral("The server at %1 knows no user %2.").arg(place, user);
    else if (has("could not translate host name"))
        words = QStringLiteral("No server is known by the name %1.")
                    .arg(QString::fromUtf8(PQhost(connection)));
    else if (has("Connection refused") || has("No such file or directory") ||
             has("timeout expired") || has("No route to host") || has("Network is unreachable"))
        words = QStringLiteral("No server answers at %1.").arg(place);
    else
        words = QStringLiteral("The server at %1 refused the connection: %2")
                    .arg(place, Reason(connection));
    throw RuntimeError(words, kProviderErrorNumber);
}

void SetUpSession(PGconn* connection)
{
    PQsetNoticeProcessor(connection, IgnoreNotice, nullptr);
    PGresult* result = PQexec(connection, kSessionSettings);
    const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!done)
        throw RuntimeError(QStringLiteral("The server at %1 refused the session's settings: %2")
                               .arg(ServerPlace(connection), Reason(connection)),
                           kProviderErrorNumber);
}

} // namespace

bool IsServerConnectionString(const QString& connectionString)
{
    const QString text = connectionString.trimmed();
    if (text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive))
        return true;
    if (!text.contains(QLatin1Char('=')))
        return false;
    // libpq refuses the file's "provider=…;data source=…" (an unknown keyword).
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.toUtf8().constData(), &error);
    PQfreemem(error);
    PQconninfoFree(options);
    return options != nullptr;
}

PGconn* ConnectToServer(const QString& connectionString)
{
    // The connection string is read in place of "dbname", so that what it says about time
    // limits wins over the defaults before it, and the text encoding after it is always ours.
    // A server that stops answering is noticed within minutes rather than never.
    const QByteArray text = connectionString.toUtf8();
    const std::array<const char*, 8> keywords = {
        "connect_timeout",           "keepalives_idle", "keepalives_interval", "tcp_user_timeout",
        "fallback_application_name", "dbname",          "client_encoding",     nullptr};
    const std::array<const char*, 8> values = {
        "10", "30", "10", "30000", "Tarnwick", text.constData(), "UTF8", nullptr};
    PGconn* connection = PQconnectdbParams(keywords.data(), values.data(), 1);
    if (!connection)
        throw RuntimeError(QStringLiteral("Out of memory while connecting to the server"), 7);
    try {
        if (PQstatus(connection) != CONNECTION_OK)
            ThrowConnectFailure(connection);
        SetUpSession(connection);
    } catch (...) {
        PQfinish(connection);
        throw;
    }
    return connection;
}

void Reconnect(PGconn* connection)
{
    PQreset(connection);
    if (PQstatus(connection) != CONNECTION_OK)
        ThrowConnectFailure(connection);
    SetUpSession(connection);
}

bool StillConnected(PGconn* connection)
{
    // An idle connection receives nothing unless the server ends it (or tells of a changed
    // setting): what waits is read, and a closed connection is marked as such.
    for (int reads = 0; reads < 4 && PQstatus(connection) == CONNECTION_OK; ++reads) {
        pollfd waiting{PQsocket(connection), POLLIN, 0};
        if (poll(&waiting, 1, 0) <= 0)
            break;
        PQconsumeInput(connection);
    }
    return PQstatus(connection) == CONNECTION_OK;
}

QString ServerPlace(PGconn* connection)
{
    const QString host = QString::fromUtf8(PQhost(connection));
    const QString port = QString::fromUtf8(PQport(connection));
    if (host.startsWith(QLatin1Char('/')))
        return QStringLiteral("%1 (port %2)").arg(host, port);
    return host + QLatin1Char(':') + port;
}
