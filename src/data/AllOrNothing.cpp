#include "data/AllOrNothing.h"

#include "data/Globals.h"

void AllOrNothing(const std::function<void(Connection&)>& work)
{
    Connection& connection = SharedConnection();
    connection.BeginTrans();
    try {
        work(connection);
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

void ExecuteAllOrNothing(const QStringList& statements)
{
    AllOrNothing([&](Connection& connection) {
        for (const QString& statement : statements)
            connection.Execute(statement);
    });
}
