#pragma once

#include <QStringList>

class Connection;

// The shared connection g_Conn for a command to work through; throws RuntimeError 91
// "Object variable or With block variable not set" when start-up could not create it.
Connection& SharedConnection();

// Runs the statements on the shared connection in one transaction: all of them or, when
// one fails, none. The failure is thrown on after the rollback.
void ExecuteAllOrNothing(const QStringList& statements);
