#include "common/Settings.h"

#include <QSettings>

namespace {
// The store of one application: an ini file under the user's configuration folder
// ($XDG_CONFIG_HOME/<app>/<app>.ini), one group per section.
QSettings Store(const QString& appName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, appName, appName);
}

QString KeyPath(const QString& section, const QString& key)
{
    return section + '/' + key;
}
} // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QSettings store = Store(appName);
    const QVariant value = store.value(KeyPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings store = Store(appName);
    store.setValue(KeyPath(section, key), value);
    store.sync();
}
