#include "data/Globals.h"

#include "platform/RuntimeError.h"

std::unique_ptr<Connection> g_Conn;

Connection& SharedConnection()
{
    if (!g_Conn)
        throw RuntimeError("Object variable or With block variable not set", 91);
    return *g_Conn;
}
