#pragma once

#include <QList>
#include <QString>
#include <utility>

// The per-user settings store: text values by application, section and key (QSettings in
// the user's configuration folder). Absent keys give the default. No key is ever deleted.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
// Saves the values, key by key, in one write of the store. The store is replaced only by a
// file read back whole; when the write fails (a full disk, a folder the user may not write
// to) it throws RuntimeError and the store keeps what it held.
void SaveSettings(const QString& appName, const QString& section,
                  const QList<std::pair<QString, QString>>& values);
