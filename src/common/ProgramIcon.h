#pragma once

#include <QIcon>

// The program's icon, from the resources of the window library. Every window takes its icon
// from here: the resources sit in a static library, and the linker keeps them only when
// something asks for them by name, which this does once.
QIcon ProgramIcon();
