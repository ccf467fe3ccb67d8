#pragma once

#include <QString>

// The shell's special folders by number. The program asks only for 35, the data folder
// shared by the user's programs: on Linux the desktop's per-user data folder
// ($XDG_DATA_HOME, else ~/.local/share). Returned without a trailing separator; "" when it
// cannot be resolved (or for a number it does not know).
QString GetSpecialFolder(int folder);

// True when the file's date and time can be read; False on any error. Never throws.
bool FileExists(const QString& path);

// The directory-entry test of provisioning: true when a file or a folder of that exact
// name exists.
bool EntryExists(const QString& path);
