#include "platform/adodb/Connection.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/Errors.h"
#include "platform/adodb/PgConnect.h"
#include "platform/adodb/PostgresEngine.h"
#include "platform/adodb/SqliteEngine.h"

Connection::Connection() = default;

Connection::~Connection() = default;

void Connection::Open(const QString& connectionString)
{
    if (m_engine)
        throw RuntimeError("Operation is not allowed when the object is open.",
                           kProviderErrorNumber);
    m_source = connectionString;
    if (IsServerConnectionString(connectionString))
        m_engine = std::make_unique<PostgresEngine>(connectionString);
    else
        m_engine = std::make_unique<SqliteEngine>(connectionString);
}

long long Connection::Execute(const QString& sql)
{
    return Database().Execute(sql);
}

int Connection::State() const
{
    return m_engine ? adStateOpen : adStateClosed;
}

void Connection::Close()
{
    m_engine.reset();
}

void Connection::BeginTrans(TransactionKind kind)
{
    Database().BeginTrans(kind);
}

void Connection::CommitTrans()
{
    Database().CommitTrans();
}

void Connection::RollbackTrans()
{
    Database().RollbackTrans();
}

bool Connection::IsShared() const
{
    return dynamic_cast<const PostgresEngine*>(m_engine.get()) != nullptr;
}

sqlite3* Connection::Handle() const
{
    const auto* file = dynamic_cast<const SqliteEngine*>(m_engine.get());
    return file ? file->Handle() : nullptr;
}

Engine& Connection::Database() const
{
    if (!m_engine)
        throw RuntimeError("Operation is not allowed when the object is closed.", 3704);
    return *m_engine;
}
