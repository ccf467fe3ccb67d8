#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key (QSettings in
// the user's configuration folder). Absent keys give the default. No key is ever deleted.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
