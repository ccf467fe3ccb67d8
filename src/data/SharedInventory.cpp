#include "data/SharedInventory.h"

#include "common/Settings.h"
#include "data/ServerSchema.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Connection.h"
#include "platform/adodb/Errors.h"

#include <QUrl>
#include <QUrlQuery>

#include <libpq-fe.h>

#include <map>

namespace {

constexpr const char* kSettingsKey = "SharedInventory";

// Every keyword that the connection string sets, by libpq's reading of it.
std::map<QString, QString> Keywords(const QString& connectionString)
{
    std::map<QString, QString> keywords;
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(connectionString.toUtf8().constData(), &error);
    PQfreemem(error);
    for (PQconninfoOption* option = options; option && option->keyword; ++option)
        if (option->val)
            keywords[QString::fromUtf8(option->keyword)] = QString::fromUtf8(option->val);
    PQconninfoFree(options);
    return keywords;
}

// A value of a keyword/value string, quoted as libpq reads it back.
QString Quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

QString InventoryUri(const ServerAddress& address)
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    QUrlQuery query;
    // A socket folder is no host name: libpq takes it as a parameter.
    if (address.host.startsWith(QLatin1Char('/')))
        query.addQueryItem(QStringLiteral("host"), address.host);
    else
        url.setHost(address.host);
    url.setPort(address.port);
    url.setUserName(address.user);
    url.setPath(QLatin1Char('/') + address.database);
    if (!address.tlsMode.isEmpty())
        query.addQueryItem(QStringLiteral("sslmode"), address.tlsMode);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

ServerAddress AddressOf(const QString& connectionString)
{
    std::map<QString, QString> keywords = Keywords(connectionString);
    ServerAddress address;
    address.host = keywords["host"];
    address.port = keywords["port"].isEmpty() ? 5432 : keywords["port"].toInt();
    address.database = keywords["dbname"];
    address.user = keywords["user"];
    address.tlsMode = keywords["sslmode"];
    return address;
}

QString InventoryName(const QString& connectionString)
{
    const ServerAddress address = AddressOf(connectionString);
    const QString host = address.host.isEmpty() || address.host.startsWith(QLatin1Char('/'))
                             ? QStringLiteral("this computer")
                             : address.host;
    return (address.database.isEmpty() ? address.user : address.database) + QLatin1Char('@') + host;
}

QString WithPassword(const QString& connectionString, const QString& password)
{
    std::map<QString, QString> keywords = Keywords(connectionString);
    keywords["password"] = password;
    QStringList pairs;
    for (const auto& [keyword, value] : keywords)
        pairs << keyword + QLatin1Char('=') + Quoted(value);
    return pairs.join(QLatin1Char(' '));
}

QString KeptInventory()
{
    return GetSetting(QStringLiteral("Velquor"), QStringLiteral("Tarnwick"),
                      QLatin1String(kSettingsKey));
}

void KeepInventory(const QString& connectionString)
{
    SaveSetting(QStringLiteral("Velquor"), QStringLiteral("Tarnwick"), QLatin1String(kSettingsKey),
                connectionString.isEmpty() ? QString() : InventoryUri(AddressOf(connectionString)));
}

void OpenInventory(Connection& connection, const QString& connectionString)
{
    connection.Open(connectionString);
    if (!connection.IsShared())
        return;
    try {
        ProvisionServer(connection);
    } catch (...) {
        connection.Close();
        throw;
    }
}

ConnectionTest TestConnection(const QString& connectionString)
{
    ConnectionTest test;
    try {
        Connection connection;
        connection.Open(connectionString);
        if (!connection.IsShared()) {
            test.works = true;
            test.report = QStringLiteral("The inventory file opens.");
            return test;
        }
        const ServerContent content = InspectServer(connection);
        test.report = Refusal(content);
        test.works = test.report.isEmpty();
        if (content.kind == ServerContent::Kind::Empty)
            test.report = QStringLiteral("Connected. The database %1 is empty: Tarnwick will set "
                                         "up a new inventory in it when it opens it.")
                              .arg(content.database);
        else if (content.kind == ServerContent::Kind::Inventory)
            test.report = QStringLiteral("Connected. The database %1 holds a Tarnwick inventory "
                                         "of %2 assets.")
                              .arg(content.database)
                              .arg(content.assets);
    } catch (const RuntimeError& error) {
        test.report = error.Description();
        test.needsPassword = error.Number() == kLoginFailedNumber;
    }
    return test;
}
