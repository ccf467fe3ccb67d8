#pragma once

#include "platform/adodb/Connection.h"

#include <memory>

// The one connection every window works through, owned by the main window for the whole
// run: created and opened at start-up, closed and released when the main window closes.
extern std::unique_ptr<Connection> g_Conn;

// The shared connection g_Conn for a command to work through; throws RuntimeError 91
// "Object variable or With block variable not set" when start-up could not create it.
Connection& SharedConnection();
