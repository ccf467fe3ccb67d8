#include "platform/adodb/PostgresEngine.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Errors.h"
#include "platform/adodb/PgConnect.h"
#include "platform/adodb/PgRows.h"
#include "platform/adodb/Recordset.h"
#include "platform/adodb/RowStore.h"
#include "platform/conv/TextOrder.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr const char* kCatalog =
    "select c.relname, c.relkind, a.attname, pg_catalog.format_type(a.atttypid, a.atttypmod), "
    "a.attidentity <> '' from pg_catalog.pg_class c "
    "join pg_catalog.pg_attribute a on a.attrelid = c.oid "
    "where c.relnamespace = (select oid from pg_catalog.pg_namespace "
    "where nspname = current_schema()) "
    "and c.relkind in ('r', 'p', 'v', 'm', 'f') and a.attnum > 0 and not a.attisdropped "
    "order by c.relname, a.attnum";

QString Text(const PGresult* result, int row, int column)
{
    return QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

} // namespace

PostgresEngine::PostgresEngine(const QString& connectionString)
    : m_connection(ConnectToServer(connectionString))
{
}

PostgresEngine::~PostgresEngine()
{
    // An open transaction ends with the connection: the server undoes it.
    PQfinish(m_connection);
}

void PostgresEngine::Ready()
{
    if (StillConnected(m_connection))
        return;
    if (m_inTransaction)
        throw RuntimeError(QStringLiteral("The connection to the server at %1 was lost during "
                                          "this command; the server has undone what it did.")
                               .arg(ServerPlace(m_connection)),
                           kProviderErrorNumber);
    Reconnect(m_connection);
}

PostgresEngine::Result PostgresEngine::Run(const QString& engineSql, const QString& shownSql,
                                           const QStringList& parameters)
{
    RefuseNul(engineSql, shownSql);
    Ready();
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    for (const QString& parameter : parameters)
        values.push_back(parameter.toUtf8());
    for (const QByteArray& value : values)
        pointers.push_back(value.constData());
    Result result(PQexecParams(m_connection, engineSql.toUtf8().constData(), int(pointers.size()),
                               nullptr, pointers.data(), nullptr, nullptr, 0),
                  &PQclear);
    switch (PQresultStatus(result.get())) {
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_COPY_IN:
        return result;
    case PGRES_EMPTY_QUERY:
        RefuseEmptyStatement(shownSql);
    default:
        Fail(result.get(), shownSql);
    }
}

void PostgresEngine::Fail(const PGresult* result, const QString& shownSql)
{
    if (PQstatus(m_connection) != CONNECTION_OK)
        throw RuntimeError(
            QStringLiteral("The connection to the server at %1 was lost: %2")
                .arg(ServerPlace(m_connection),
                     QString::fromUtf8(PQerrorMessage(m_connection)).section('\n', 0, 0)),
            kProviderErrorNumber);
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString message = primary ? QString::fromUtf8(primary)
                                    : QString::fromUtf8(PQerrorMessage(m_connection)).trimmed();
    ThrowStatementError(message, shownSql);
}

void PostgresEngine::LoadSchema()
{
    const Result result = Run(QString::fromLatin1(kCatalog), QStringLiteral("(the catalog)"));
    Schema schema;
    Schema::Relation relation;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const QString name = Text(result.get(), row, 0);
        if (name != relation.name) {
            if (!relation.name.isEmpty())
                schema.Add(std::move(relation));
            relation = Schema::Relation();
            relation.name = name;
            const char kind = *PQgetvalue(result.get(), row, 1);
            relation.isTable = kind == 'r' || kind == 'p';
        }
        const QString column = Text(result.get(), row, 2);
        relation.columns.append(
            {column, ColumnTypeFromDeclaration(PQgetvalue(result.get(), row, 3))});
        if (*PQgetvalue(result.get(), row, 4) == 't')
            relation.key = column;
    }
    if (!relation.name.isEmpty())
        schema.Add(std::move(relation));
    m_schema = std::move(schema);
}

QString PostgresEngine::Rewrite(const QString& sql)
{
    if (m_schema.relations.isEmpty())
        LoadSchema();
    return RewriteStatement(sql, m_schema, SqlDialect::Postgres, TextOrder());
}

// The ICU collation of the program's locale that initdb imports (de-x-icu). It orders as the
// program's case-insensitive collator, told apart from it only among texts that differ in
// case alone, which that collator leaves in any order. A server without ICU orders by codes.
QString PostgresEngine::TextOrder()
{
    const QString locale = TextCollator().locale().bcp47Name();
    if (const auto known = m_textOrders.constFind(locale); known != m_textOrders.constEnd())
        return *known;
    const QStringList wanted = {locale + "-x-icu", locale.section('-', 0, 0) + "-x-icu",
                                "und-x-icu", "C"};
    const Result result = Run(QStringLiteral("select collname from pg_catalog.pg_collation "
                                             "where collname = any($1::text[])"),
                              QStringLiteral("(the collations)"), {'{' + wanted.join(',') + '}'});
    QStringList present;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        present << Text(result.get(), row, 0);
    QString chosen = QStringLiteral("C");
    for (const QString& name : wanted)
        if (present.contains(name)) {
            chosen = name;
            break;
        }
    return *m_textOrders.insert(locale, QuotedName(chosen));
}

const Schema::Relation& PostgresEngine::Table(const QString& name)
{
    if (m_schema.relations.isEmpty())
        LoadSchema();
    const Schema::Relation* relation = m_schema.Find(name);
    if (!relation || !relation->isTable || relation->key.isEmpty())
        throw RuntimeError("The database has no table " + name + " with a generated key",
                           kStatementErrorNumber);
    return *relation;
}

long long PostgresEngine::Execute(const QString& sql)
{
    const Result result = Run(Rewrite(sql), sql);
    const QString command = QString::fromLatin1(PQcmdStatus(result.get()));
    if (command.startsWith(QLatin1String("CREATE")) || command.startsWith(QLatin1String("DROP")) ||
        command.startsWith(QLatin1String("ALTER")))
        m_schema = Schema();
    if (PQresultStatus(result.get()) == PGRES_TUPLES_OK)
        return 0;
    return std::strtoll(PQcmdTuples(result.get()), nullptr, 10);
}

std::unique_ptr<RowCursor> PostgresEngine::Query(const QString& sql)
{
    if (!IsQuery(sql))
        RefuseWritingQuery(sql);
    Result result = Run(Rewrite(sql), sql);
    return std::make_unique<PgCursor>(std::shared_ptr<const PGresult>(result.release(), &PQclear));
}

void PostgresEngine::BeginTrans(TransactionKind kind)
{
    // The server would only warn; SQLite refuses, and so does this engine.
    if (m_inTransaction)
        throw RuntimeError(QStringLiteral("A transaction is already open: it must end before "
                                          "another begins"),
                           kStatementErrorNumber);
    const QString begin = kind == TransactionKind::Write
                              ? QStringLiteral("BEGIN")
                              : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
    Run(begin, begin);
    m_inTransaction = true;
}

void PostgresEngine::CommitTrans()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No transaction is open to commit"),
                           kStatementErrorNumber);
    const Result result = Run(QStringLiteral("COMMIT"), QStringLiteral("COMMIT"));
    m_inTransaction = false;
    // The server ends a transaction in which a statement failed with a rollback, and says so
    // only in the command's tag.
    if (qstrcmp(PQcmdStatus(result.get()), "COMMIT") != 0)
        throw RuntimeError(QStringLiteral("Nothing of the transaction was saved: one of its "
                                          "statements had failed, and the server undid it"),
                           kStatementErrorNumber);
}

void PostgresEngine::RollbackTrans()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No transaction is open to roll back"),
                           kStatementErrorNumber);
    m_inTransaction = false;
    // A lost connection has taken its transaction with it.
    if (PQstatus(m_connection) == CONNECTION_OK)
        PQclear(PQexec(m_connection, "ROLLBACK"));
}

void PostgresEngine::AppendRows(const QString& table, const Recordset& recordset)
{
    const Schema::Relation& relation = Table(table);
    const RowStore& rows = recordset.Rows();
    QStringList columns;
    for (const QString& name : rows.ColumnNames()) {
        const Schema::Column* column = relation.FindColumn(name);
        columns << QuotedName(column ? column->name : name);
    }
    const QString copy = QStringLiteral("COPY %1 (%2) FROM STDIN")
                             .arg(QuotedName(relation.name), columns.join(QStringLiteral(", ")));
    Run(copy, copy);
    bool sent = true;
    WriteCopyText(rows, [&](const QByteArray& piece) {
        sent = sent && PQputCopyData(m_connection, piece.constData(), int(piece.size())) == 1;
    });
    PQputCopyEnd(m_connection, sent ? nullptr : "the rows could not be sent");
    Result end(PQgetResult(m_connection), &PQclear);
    while (PGresult* more = PQgetResult(m_connection))
        PQclear(more);
    if (PQresultStatus(end.get()) != PGRES_COMMAND_OK)
        Fail(end.get(), copy);
}

std::int64_t PostgresEngine::KeysUsed(const QString& table)
{
    const Schema::Relation& relation = Table(table);
    const Result result =
        Run(QStringLiteral("select pg_catalog.pg_sequence_last_value("
                           "pg_catalog.pg_get_serial_sequence($1, $2))"),
            "(the keys of " + table + ")", {QuotedName(relation.name), relation.key});
    return PQgetisnull(result.get(), 0, 0)
               ? 0
               : std::strtoll(PQgetvalue(result.get(), 0, 0), nullptr, 10);
}

void PostgresEngine::ContinueKeysAfter(const QString& table, std::int64_t key)
{
    if (key <= 0)
        return;
    const Schema::Relation& relation = Table(table);
    Run(QStringLiteral("select pg_catalog.setval(pg_catalog.pg_get_serial_sequence($1, $2), "
                       "$3::bigint)"),
        "(the keys of " + table + ")",
        {QuotedName(relation.name), relation.key, QString::number(key)});
}
