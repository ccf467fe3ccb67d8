#pragma once

#include <QString>

class Connection;

// Where a shared inventory lies, as the user chooses it.
struct ServerAddress
{
    QString host; // a name, an address, or the folder of the server's Unix socket
    int port = 5432;
    QString database;
    QString user;
    QString tlsMode; // libpq's sslmode (disable … verify-full); "" leaves libpq's default

    bool operator==(const ServerAddress&) const = default;
};

// postgresql://user@host:port/database?sslmode=…: the form the settings keep. It never holds
// a password; libpq finds one in ~/.pgpass, PGPASSWORD or a service file, or the program
// asks for one and keeps it in memory only (WithPassword).
QString InventoryUri(const ServerAddress& address);
// The parts of a libpq connection string or URI; a password in it is left out. Anything
// libpq cannot read gives an empty address.
ServerAddress AddressOf(const QString& connectionString);
// The inventory as a window title names it: "inventory@db.example".
QString InventoryName(const QString& connectionString);
// The connection string with a password that libpq takes before any other of its own.
QString WithPassword(const QString& connectionString, const QString& password);

// The shared inventory that the program opens at start, as the settings store keeps it;
// "" for the local file.
QString KeptInventory();
// Keeps the choice ("" for the local file), always without a password.
void KeepInventory(const QString& connectionString);

// Opens the connection on an inventory: a local file as it is, or a server database, which
// is set up when it is empty and refused (and closed again) when it holds anything but this
// program's inventory (see ProvisionServer).
void OpenInventory(Connection& connection, const QString& connectionString);

// What trying a connection found, in words a user understands.
struct ConnectionTest
{
    bool works = false;
    // The server wants a password that was not given, or refused the one given.
    bool needsPassword = false;
    // What works ("Connected. …") or what failed ("The server refused the password for
    // user anna.", "No server answers at db.example:5432.").
    QString report;
};
// Tries the connection and looks at what the database holds, changing nothing.
ConnectionTest TestConnection(const QString& connectionString);
