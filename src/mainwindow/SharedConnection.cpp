#include "mainwindow/SharedConnection.h"

#include "data/Globals.h"
#include "platform/RuntimeError.h"

Connection& SharedConnection()
{
    if (!g_Conn)
        throw RuntimeError("Object variable or With block variable not set", 91);
    return *g_Conn;
}

void ExecuteAllOrNothing(const QStringList& statements)
{
    Connection& connection = SharedConnection();
    connection.BeginTrans();
    try {
        for (const QString& statement : statements)
            connection.Execute(statement);
        connection.CommitTrans();
    } catch (...) {
        // The statement's own error is the one to report; a rollback that fails as well
        // has nothing to add.
        try {
            connection.RollbackTrans();
        } catch (...) {
        }
        throw;
    }
}
