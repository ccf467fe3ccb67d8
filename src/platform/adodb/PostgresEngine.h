#pragma once

#include "platform/adodb/Engine.h"
#include "platform/adodb/Schema.h"

#include <QStringList>
#include <libpq-fe.h>

// The program's database on a PostgreSQL server, through libpq. Each statement goes alone
// through PQexecParams, so the server never runs a second one pasted into a value. A server
// that went away is noticed before the next statement is sent: that statement connects
// again, unless a transaction was open, which the server has undone; then every call fails
// until the transaction is rolled back, so that no command is carried out in part.
class PostgresEngine final : public Engine
{
public:
    // Connects; see ConnectToServer for how a failure is described.
    explicit PostgresEngine(const QString& connectionString);
    ~PostgresEngine() override;

    long long Execute(const QString& sql) override;
    std::unique_ptr<RowCursor> Query(const QString& sql) override;
    void BeginTrans(TransactionKind kind) override;
    void CommitTrans() override;
    void RollbackTrans() override;
    void AppendRows(const QString& table, const Recordset& rows) override;
    std::int64_t KeysUsed(const QString& table) override;
    void ContinueKeysAfter(const QString& table, std::int64_t key) override;

private:
    using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

    // Runs one statement of the server's own SQL with the text parameters $1, $2…;
    // `shownSql` is the text that errors quote.
    Result Run(const QString& engineSql, const QString& shownSql,
               const QStringList& parameters = {});
    [[noreturn]] void Fail(const PGresult* result, const QString& shownSql);
    // Connects again when the server went away since the last call.
    void Ready();
    QString Rewrite(const QString& sql);
    // The server's collation that orders text as the program does in its locale.
    QString TextOrder();
    const Schema::Relation& Table(const QString& name);
    void LoadSchema();

    PGconn* m_connection;
    // Read when a statement needs it and no tables are known yet, and again after a
    // statement that changed the schema.
    Schema m_schema;
    bool m_inTransaction = false;
    QHash<QString, QString> m_textOrders; // by the program's locale
};
