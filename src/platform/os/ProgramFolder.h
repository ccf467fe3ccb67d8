#pragma once

#include <QString>

// The folder of the running program file, without a trailing separator: where the program
// looks for its template, its skin, its hand pointer and its repair packages.
QString ProgramFolder();
void SetProgramFolderForTesting(const QString& folder); // empty goes back to the real one
