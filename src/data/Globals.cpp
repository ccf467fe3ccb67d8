#include "data/Globals.h"

std::unique_ptr<Connection> g_Conn;
