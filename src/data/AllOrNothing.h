#pragma once

#include <QStringList>
#include <functional>

class Connection;

// Runs `work` on the shared connection in one transaction: what it wrote is kept when it
// returns, and undone when it throws; the failure is thrown on after the rollback.
void AllOrNothing(const std::function<void(Connection&)>& work);

// Runs the statements one after another, all of them or none.
void ExecuteAllOrNothing(const QStringList& statements);
