#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The version of the inventory's tables that this program sets up on a server and opens.
// A later program that changes them raises it and knows how to bring an older one along.
constexpr int kServerSchemaVersion = 1;

// What a server database holds, found without changing it.
struct ServerContent
{
    enum class Kind { Empty, Inventory, OtherTables, NewerInventory, DamagedInventory };
    Kind kind = Kind::Empty;
    QString database;     // its name on the server
    QStringList tables;   // the tables of another program, or the inventory's missing ones
    int version = 0;      // of an inventory
    long long assets = 0; // in an inventory
};
ServerContent InspectServer(Connection& connection);

// Why a database with this content cannot be opened, in words a user understands; "" when
// it can.
QString Refusal(const ServerContent& content);

// On a connection to a server: sets up the inventory in an empty database, or checks that
// the database holds this program's inventory of a version it knows. Setting up makes the
// template's tables, with keys that the server generates and never gives twice, their
// indexes, the view qryAssets and a one-row table with the version, all in one transaction.
// Anything else is refused with RuntimeError, and the database is left as it was.
void ProvisionServer(Connection& connection);
