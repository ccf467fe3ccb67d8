#include "common/Settings.h"

#include "platform/RuntimeError.h"

#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryFile>
#include <cstdio>

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

[[noreturn]] void Fail(const QString& path)
{
    throw RuntimeError("The settings could not be saved in " + path +
                       ": the disk may be full, or the folder closed to writing. The column "
                       "widths and the window state saved before are kept.");
}

bool Replace(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
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
    SaveSettings(appName, section, {{key, value}});
}

// QSettings puts a file cut short by the disk (or a file-size limit) in place of the store
// and reports no error. So the values are written to a draft beside the store, the draft
// is read back under a name never used before (QSettings would otherwise answer from its
// memory of what it wrote), and only a draft that holds every value replaces the store.
void SaveSettings(const QString& appName, const QString& section,
                  const QList<std::pair<QString, QString>>& values)
{
    const QString path = Store(appName).fileName();
    QMap<QString, QString> expected;
    {
        const QSettings store = Store(appName);
        for (const QString& key : store.allKeys())
            expected.insert(key, store.value(key).toString());
    }
    for (const auto& [key, value] : values)
        expected.insert(KeyPath(section, key), value);

    const QString draft = path + ".new";
    {
        QSettings out(draft, QSettings::IniFormat);
        out.clear();
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError) {
            QFile::remove(draft);
            Fail(path);
        }
    }
    QTemporaryFile readBack(path + ".XXXXXX");
    if (!readBack.open() || !Replace(draft, readBack.fileName())) {
        QFile::remove(draft);
        Fail(path);
    }
    {
        const QSettings back(readBack.fileName(), QSettings::IniFormat);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            if (back.value(it.key()).toString() != it.value())
                Fail(path);
        }
    }
    if (!Replace(readBack.fileName(), path))
        Fail(path);
}
