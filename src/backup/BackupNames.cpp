#include "backup/BackupNames.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

// Dots in the time, because a colon is refused in file names on other systems and on many
// USB sticks.
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH.mm.ss");
constexpr int kNewest = 20;
constexpr int kDays = 30;

} // namespace

QString BackupFileName(const QDateTime& time, const QString& cause)
{
    return time.toString(kTimeFormat) + QLatin1Char(' ') + cause + QStringLiteral(".mdb");
}

QList<BackupEntry> ListBackups(const QString& folder)
{
    static const QRegularExpression name(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d) (.+)\\.mdb$"));
    QList<BackupEntry> backups;
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.mdb")}, QDir::Files)) {
        const QRegularExpressionMatch match = name.match(file);
        const QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
        if (match.hasMatch() && time.isValid())
            backups.append({dir.filePath(file), time, match.captured(2)});
    }
    std::sort(backups.begin(), backups.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.time != b.time ? a.time > b.time : a.path > b.path;
    });
    return backups;
}

QList<BackupEntry> BackupsToRemove(const QList<BackupEntry>& backups, const QDateTime& now,
                                   const QString& keep)
{
    const QDate firstDay = now.date().addDays(1 - kDays);
    const QDateTime firstMonthTime = now.addYears(-1);
    QSet<QDate> days;
    QSet<int> months;
    QList<BackupEntry> remove;
    for (int i = 0; i < backups.size(); ++i) {
        const BackupEntry& backup = backups[i];
        const QDate day = backup.time.date();
        const int month = day.year() * 12 + day.month();
        bool kept = i < kNewest || backup.path == keep;
        if (day >= firstDay && !days.contains(day)) {
            days.insert(day);
            kept = true;
        }
        if (backup.time >= firstMonthTime && !months.contains(month)) {
            months.insert(month);
            kept = true;
        }
        if (!kept)
            remove.append(backup);
    }
    return remove;
}
