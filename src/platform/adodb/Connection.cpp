#include "platform/adodb/Connection.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Schema.h"
#include "platform/adodb/Statement.h"

#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <csignal>

namespace {

// The provider's general failure number.
constexpr long kProviderErrorNumber = -2147467259;
// A second copy of the program holding a lock is waited for, not failed at once.
constexpr int kBusyTimeoutMs = 5000;

struct ConnectionParts
{
    QString provider;
    QString dataSource;
    QString password;
};

// "key=value;key=value". A piece without "=" (or whose key looks like a path) belongs to
// the value before it, so a path that holds ";" survives.
ConnectionParts ParseConnectionString(const QString& text)
{
    QList<QPair<QString, QString>> pairs;
    for (const QString& piece : text.split(QLatin1Char(';'))) {
        const qsizetype equals = piece.indexOf(QLatin1Char('='));
        const QString key = piece.left(equals).trimmed();
        if (equals < 0 || key.contains(QLatin1Char('/')) || key.isEmpty()) {
            if (!pairs.isEmpty())
                pairs.last().second += QLatin1Char(';') + piece;
            continue;
        }
        pairs.append({key.toLower(), piece.mid(equals + 1)});
    }
    ConnectionParts parts;
    for (const auto& [key, value] : pairs) {
        if (key == QLatin1String("provider"))
            parts.provider = value.trimmed();
        else if (key == QLatin1String("data source"))
            parts.dataSource = value.trimmed();
        else if (key == QLatin1String("jet oledb:database password"))
            parts.password = value;
    }
    return parts;
}

[[noreturn]] void Refuse(const QString& description)
{
    throw RuntimeError(description, kProviderErrorNumber);
}

void Run(sqlite3* db, const QString& sql)
{
    Statement statement(db, sql);
    while (statement.Step()) {
    }
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    Close();
}

void Connection::Open(const QString& connectionString)
{
    if (m_db)
        Refuse("Operation is not allowed when the object is open.");
    const ConnectionParts parts = ParseConnectionString(connectionString);
    if (parts.provider.compare(QLatin1String("microsoft.jet.oledb.4.0"), Qt::CaseInsensitive) != 0)
        Refuse("Provider cannot be found. It may not be properly installed: \"" + parts.provider +
               "\"");
    if (parts.dataSource.isEmpty())
        Refuse("The connection string names no data source: " + connectionString);
    if (!parts.password.isEmpty())
        Refuse("Not a valid password: database passwords are not supported");
    const QFileInfo file(parts.dataSource);
    if (!file.exists())
        Refuse("Could not find file '" + parts.dataSource + "'.");
    if (!file.isFile())
        Refuse("'" + parts.dataSource + "' is not a database file.");

    // A write past the file-size limit that the system sets would end the program with
    // SIGXFSZ and lose what was typed; ignored, the write fails and is reported instead.
    static const bool sizeLimitIsAnError = (std::signal(SIGXFSZ, SIG_IGN), true);
    (void)sizeLimitIsAnError;

    // Never create a file: a missing database is an error, not a new empty one.
    sqlite3* db = nullptr;
    const QByteArray path = parts.dataSource.toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        Refuse("Cannot open '" + parts.dataSource + "': " + message);
    }
    try {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db, 1);
        // Reading the schema first proves the file is a database before anything is written.
        try {
            Run(db, QStringLiteral("select count(*) from sqlite_master"));
        } catch (const RuntimeError&) {
            const int code = sqlite3_errcode(db);
            if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
                Refuse("'" + parts.dataSource +
                       "' is in use by another program, which keeps it locked. Close that "
                       "program or wait until it has finished, then start again.");
            Refuse("'" + parts.dataSource +
                   "' is not a database or is damaged: " + QString::fromUtf8(sqlite3_errmsg(db)));
        }
        // A rollback journal keeps the database one self-contained file users can copy;
        // FULL synchronization keeps it whole through a power cut.
        Run(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        Run(db, QStringLiteral("PRAGMA synchronous=FULL"));
        // The program keeps its relations itself and deletes parents before children.
        Run(db, QStringLiteral("PRAGMA foreign_keys=OFF"));
        RegisterDialectFunctions(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
}

long long Connection::Execute(const QString& sql)
{
    Statement statement(m_db, EngineSql(sql), sql);
    while (statement.Step()) {
    }
    return statement.ReadOnly() ? 0 : sqlite3_changes64(m_db);
}

int Connection::State() const
{
    return m_db ? adStateOpen : adStateClosed;
}

void Connection::Close()
{
    if (!m_db)
        return;
    // An open transaction is rolled back, as the engine does when a connection ends.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_schema.reset();
    m_schemaVersion = -1;
}

void Connection::BeginTrans()
{
    Execute(QStringLiteral("BEGIN"));
}

void Connection::CommitTrans()
{
    Execute(QStringLiteral("COMMIT"));
}

void Connection::RollbackTrans()
{
    Execute(QStringLiteral("ROLLBACK"));
}

void Connection::RequireOpen() const
{
    if (!m_db)
        throw RuntimeError("Operation is not allowed when the object is closed.", 3704);
}

QString Connection::EngineSql(const QString& sql)
{
    RequireOpen();
    Statement version(m_db, QStringLiteral("PRAGMA schema_version"));
    version.Step();
    const int current = sqlite3_column_int(version.Handle(), 0);
    if (!m_schema || current != m_schemaVersion) {
        m_schema = std::make_unique<Schema>(LoadSchema(m_db));
        m_schemaVersion = current;
    }
    return RewriteStatement(sql, *m_schema);
}
