#pragma once

#include <QString>
#include <libpq-fe.h>

// Whether a connection string names a PostgreSQL database: a postgresql:// URI, or a libpq
// keyword/value string ("host=db.example dbname=inventory user=anna").
bool IsServerConnectionString(const QString& connectionString);

// Connects and prepares the session for the program's statements. Throws RuntimeError in
// words a user understands when the server cannot be reached or refuses; a refused or
// missing password carries kLoginFailedNumber, so that a caller can ask for one.
PGconn* ConnectToServer(const QString& connectionString);
// The same for a connection that was lost: connects again with what it was opened with.
void Reconnect(PGconn* connection);

// Whether the connection still stands. A server that ended it while it was idle (a stopped
// or restarted server) is noticed here, before a statement is sent into it.
bool StillConnected(PGconn* connection);

// Where the connection goes, as a user would name it: "db.example:5432", or for a server on
// this machine's socket folder "/run/postgresql (port 5432)".
QString ServerPlace(PGconn* connection);
