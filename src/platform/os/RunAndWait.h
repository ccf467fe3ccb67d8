#pragma once

#include <QString>
#include <cstdint>

// The base added to the number of an error that keeps a program from starting
// (hexadecimal 80040000).
constexpr std::int32_t kStartErrorBase = -2147221504;
// The numbers RunAndWait adds to that base, after the system's error numbers.
constexpr std::int32_t kStartErrorNotFound = 2;          // no such file
constexpr std::int32_t kStartErrorNotExecutable = 8;     // a file the system cannot run
constexpr std::int32_t kStartErrorPermissionDenied = 13; // not executable, or a folder

// Starts the program file `command` (a path, never read by a shell, so blanks and shell
// characters in it are just part of the name) and waits until it has ended, letting the
// user interface process its events between polls ten times a second. Returns the
// program's exit code (128 + the signal's number when a signal ended it), or
// kStartErrorBase plus one of the numbers above when it cannot be started. The window
// style is the system's show code 0-6 (anything else counts as 6, minimized without
// focus); Linux has no such codes for a program it starts, so every style, in range or
// not, starts the program the same way.
std::int32_t RunAndWait(const QString& command, int windowStyle = 6);
