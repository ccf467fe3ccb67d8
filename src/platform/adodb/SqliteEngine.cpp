#include "platform/adodb/SqliteEngine.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Errors.h"
#include "platform/adodb/Functions.h"
#include "platform/adodb/Recordset.h"
#include "platform/adodb/RowStore.h"
#include "platform/adodb/SqliteRows.h"
#include "platform/adodb/Statement.h"
#include "platform/conv/Conv.h"

#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <csignal>

namespace {

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

void Bind(Statement& statement, int index, const Variant& value)
{
    sqlite3_stmt* stmt = statement.Handle();
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        sqlite3_bind_null(stmt, index);
        return;
    case Variant::Type::Long:
        sqlite3_bind_int64(stmt, index, value.longValue());
        return;
    case Variant::Type::Boolean:
        sqlite3_bind_int(stmt, index, value.booleanValue() ? 1 : 0);
        return;
    case Variant::Type::Double:
        sqlite3_bind_double(stmt, index, value.doubleValue());
        return;
    case Variant::Type::Currency:
        // As the registered CCur stores an amount.
        sqlite3_bind_double(stmt, index, value.currencyValue().ToDouble());
        return;
    case Variant::Type::Date:
        statement.Bind(index, IsoDateText(value.dateDay(), value.dateTime(), value.dateHasTime()));
        return;
    case Variant::Type::String:
        statement.Bind(index, value.stringValue());
        return;
    }
}

} // namespace

SqliteEngine::SqliteEngine(const QString& connectionString)
{
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
    const QByteArray path = parts.dataSource.toUtf8();
    if (sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        Refuse("Cannot open '" + parts.dataSource + "': " + message);
    }
    try {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(m_db, 1);
        // Reading the schema first proves the file is a database before anything is written.
        try {
            Run(m_db, QStringLiteral("select count(*) from sqlite_master"));
        } catch (const RuntimeError&) {
            const int code = sqlite3_errcode(m_db);
            if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
                Refuse("'" + parts.dataSource +
                       "' is in use by another program, which keeps it locked. Close that "
                       "program or wait until it has finished, then start again.");
            Refuse("'" + parts.dataSource +
                   "' is not a database or is damaged: " + QString::fromUtf8(sqlite3_errmsg(m_db)));
        }
        // A rollback journal keeps the database one self-contained file users can copy;
        // FULL synchronization keeps it whole through a power cut.
        Run(m_db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        Run(m_db, QStringLiteral("PRAGMA synchronous=FULL"));
        // The program keeps its relations itself and deletes parents before children.
        Run(m_db, QStringLiteral("PRAGMA foreign_keys=OFF"));
        RegisterDialectFunctions(m_db);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

SqliteEngine::~SqliteEngine()
{
    // Recordsets outlive their connection with the rows they had.
    for (SqliteCursor* cursor : std::vector<SqliteCursor*>(m_cursors))
        cursor->Orphan();
    // An open transaction is rolled back, as the engine does when a connection ends.
    sqlite3_close_v2(m_db);
}

void SqliteEngine::Register(SqliteCursor* cursor)
{
    m_cursors.push_back(cursor);
}

void SqliteEngine::Unregister(SqliteCursor* cursor)
{
    std::erase(m_cursors, cursor);
}

void SqliteEngine::FinishReads()
{
    for (SqliteCursor* cursor : m_cursors)
        cursor->Finish();
}

const Schema& SqliteEngine::CurrentSchema()
{
    Statement version(m_db, QStringLiteral("PRAGMA schema_version"));
    version.Step();
    const int current = sqlite3_column_int(version.Handle(), 0);
    if (current != m_schemaVersion) {
        m_schema = LoadSchema(m_db);
        m_schemaVersion = current;
    }
    return m_schema;
}

QString SqliteEngine::EngineSql(const QString& sql)
{
    return RewriteStatement(sql, CurrentSchema(), SqlDialect::Sqlite, QLatin1String(kTextOrder));
}

long long SqliteEngine::Execute(const QString& sql)
{
    FinishReads();
    Statement statement(m_db, EngineSql(sql), sql);
    while (statement.Step()) {
    }
    return statement.ReadOnly() ? 0 : sqlite3_changes64(m_db);
}

std::unique_ptr<RowCursor> SqliteEngine::Query(const QString& sql)
{
    const QString engineSql = EngineSql(sql);
    auto statement = std::make_unique<Statement>(m_db, engineSql, sql);
    // Recordsets are never written through: a statement that changes data runs by Execute.
    if (!statement->ReadOnly())
        RefuseWritingQuery(sql);
    return std::make_unique<SqliteCursor>(*this, std::move(statement), engineSql, sql);
}

void SqliteEngine::BeginTrans(TransactionKind kind)
{
    FinishReads();
    Run(m_db, kind == TransactionKind::Write ? QStringLiteral("BEGIN IMMEDIATE")
                                             : QStringLiteral("BEGIN"));
}

void SqliteEngine::CommitTrans()
{
    FinishReads();
    Run(m_db, QStringLiteral("COMMIT"));
}

void SqliteEngine::RollbackTrans()
{
    FinishReads();
    // SQLite ends a transaction by itself after some failures (a full disk).
    if (!sqlite3_get_autocommit(m_db))
        Run(m_db, QStringLiteral("ROLLBACK"));
}

void SqliteEngine::AppendRows(const QString& table, const Recordset& recordset)
{
    const RowStore& rows = recordset.Rows();
    FinishReads();
    QStringList columns, places;
    for (int column = 0; column < rows.ColumnCount(); ++column) {
        columns << QuotedName(rows.ColumnName(column));
        places << QStringLiteral("?%1").arg(column + 1);
    }
    Statement insert(m_db, QStringLiteral("insert into %1 (%2) values (%3)")
                               .arg(QuotedName(table), columns.join(QLatin1Char(',')),
                                    places.join(QLatin1Char(','))));
    for (int row = 0; row < rows.RowCount(); ++row) {
        for (int column = 0; column < rows.ColumnCount(); ++column)
            Bind(insert, column + 1, rows.Value(row, column));
        insert.Step();
        sqlite3_reset(insert.Handle());
    }
}

std::int64_t SqliteEngine::KeysUsed(const QString& table)
{
    Statement seq(m_db, QStringLiteral("select seq from sqlite_sequence where name = ?1"));
    seq.Bind(1, table);
    return seq.Step() ? sqlite3_column_int64(seq.Handle(), 0) : 0;
}

void SqliteEngine::ContinueKeysAfter(const QString& table, std::int64_t key)
{
    FinishReads();
    Statement raise(m_db, QStringLiteral("update sqlite_sequence set seq = max(seq, ?2) "
                                         "where name = ?1"));
    raise.Bind(1, table);
    sqlite3_bind_int64(raise.Handle(), 2, key);
    raise.Step();
    if (sqlite3_changes(m_db) > 0)
        return;
    Statement first(m_db,
                    QStringLiteral("insert into sqlite_sequence (name, seq) values (?1, ?2)"));
    first.Bind(1, table);
    sqlite3_bind_int64(first.Handle(), 2, key);
    first.Step();
}
