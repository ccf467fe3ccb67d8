#include "backup/Backups.h"

#include "backup/BackupNames.h"
#include "backup/SqliteFile.h"
#include "data/CopyInventory.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/SharedInventory.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/PgConnect.h"
#include "platform/os/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const QString kDaily = QStringLiteral("daily");
// The working database's change stamp and the automatic backup that holds that content.
const QString kRecordName = QStringLiteral(".last-backup");
// A partial copy (or record) older than this was left by a program that stopped while writing
// it.
constexpr int kStalePartialSeconds = 3600;

void Run(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw RuntimeError(QString::fromUtf8(sqlite3_errmsg(db)) + " (" + sql + ")");
}

// Holds a read lock on the working database while it is copied: no other copy of the program
// can change it meanwhile, so the change stamp read inside belongs to the copied content.
class ReadTransaction
{
public:
    explicit ReadTransaction(sqlite3* db) : m_db(db)
    {
        Run(db, "BEGIN");
        try {
            Run(db, "SELECT count(*) FROM sqlite_master");
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
    ~ReadTransaction() { sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr); }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    sqlite3* m_db;
};

// The database header's change counter and page count, which every committed change moves
// (the database keeps a rollback journal). Read through the engine's own file handle: a
// second handle on the file would drop the engine's locks when it was closed.
QByteArray ChangeStamp(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    char stamp[8] = {};
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xRead(file, stamp, 8, 24) != SQLITE_OK)
        throw RuntimeError("Cannot read the inventory's header: " +
                           QString::fromUtf8(sqlite3_errmsg(db)));
    return QByteArray(stamp, 8).toHex();
}

struct Record
{
    QByteArray stamp;
    QString file;
};

Record ReadRecord(const QString& folder)
{
    QFile file(folder + "/" + kRecordName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> parts = file.readAll().split('\n');
    return parts.size() < 2 ? Record{} : Record{parts[0], QString::fromUtf8(parts[1])};
}

// A record that cannot be written costs one backup more later, never one less.
void WriteRecord(const QString& folder, const Record& record)
{
    QSaveFile file(folder + "/" + kRecordName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(record.stamp + '\n' + record.file.toUtf8() + '\n');
        file.commit();
    }
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void CheckCopy(const QString& path)
{
    const SqliteFile copy(path, SQLITE_OPEN_READONLY);
    const QString result = copy.Scalar(QStringLiteral("PRAGMA integrity_check"));
    if (result != QLatin1String("ok"))
        throw RuntimeError("The backup " + path + " did not read back whole: " + result);
}

// `write` makes the copy under the temporary name it is given.
void WriteCheckedCopy(const QString& path, const std::function<void(const QString&)>& write)
{
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    try {
        write(partial);
        CheckCopy(partial);
        if (std::rename(QFile::encodeName(partial).constData(),
                        QFile::encodeName(path).constData()) != 0)
            throw RuntimeError("Cannot name the backup " + path + ": " +
                               QString::fromLocal8Bit(strerror(errno)));
        SyncFolder(QFileInfo(path).path());
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
}

QString FreeName(const QString& folder, const QString& cause)
{
    const QDateTime now = Now();
    QString path = folder + "/" + BackupFileName(now, cause);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + "/" + BackupFileName(now, cause + QStringLiteral(" (%1)").arg(n));
    return path;
}

// A file that cannot be removed now is tried again after the next backup.
void KeepToRule(const QString& folder, const QString& newest)
{
    for (const BackupEntry& backup : BackupsToRemove(ListBackups(folder), Now(), newest))
        QFile::remove(backup.path);
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-kStalePartialSeconds);
    const QStringList partials{QStringLiteral("*.part"), kRecordName + QStringLiteral(".*")};
    for (const QFileInfo& partial :
         QDir(folder).entryInfoList(partials, QDir::Files | QDir::Hidden))
        if (partial.lastModified() < stale)
            QFile::remove(partial.filePath());
}

// A page-by-page copy of the working database, made inside the caller's read transaction.
void CopyWorkingDatabase(sqlite3* working, const QString& partial, const QString& path)
{
    SqliteFile copy(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // A copy that fails is thrown away whole, so it needs no journal of its own.
    Run(copy.Handle(), "PRAGMA journal_mode=OFF");
    Run(copy.Handle(), "PRAGMA synchronous=FULL");
    CopyDatabase(working, copy.Handle(), "the inventory to " + path);
}

// A shared inventory is backed up into a database file of the program's own, row by row;
// the server has no change stamp to compare, so every backup asked for is made.
QString WriteSharedBackup(const QString& path)
{
    WriteCheckedCopy(path, [](const QString& partial) { CopyInventoryToFile(*g_Conn, partial); });
    return path;
}

// Whether the inventory chosen is on a server, also while it cannot be reached.
bool SharedInventoryChosen()
{
    return g_Conn && IsServerConnectionString(g_Conn->Source());
}

} // namespace

QString BackupFolder()
{
    const QString folder = DataFolder() + QStringLiteral("/Backups");
    if (!SharedInventoryChosen())
        return folder;
    const QString source = g_Conn->Source();
    return folder + "/" +
           QString(InventoryName(source) + ":" + QString::number(AddressOf(source).port))
               .replace('/', '_');
}

void WriteBackup(const QString& path)
{
    if (QFileInfo(path) == QFileInfo(WorkingDatabasePath()))
        throw RuntimeError("A backup cannot replace the local inventory: " + path);
    if (SharedConnection().IsShared()) {
        WriteSharedBackup(path);
        return;
    }
    sqlite3* working = WorkingDatabaseHandle();
    ReadTransaction reading(working);
    WriteCheckedCopy(path,
                     [&](const QString& partial) { CopyWorkingDatabase(working, partial, path); });
}

QString MakeAutomaticBackup(const QString& cause)
{
    const QString folder = BackupFolder();
    const bool shared = SharedConnection().IsShared();
    sqlite3* working = shared ? nullptr : WorkingDatabaseHandle();
    if (!QDir().mkpath(folder))
        throw RuntimeError("Cannot create the folder " + folder, 75);
    if (shared) {
        const QString path = WriteSharedBackup(FreeName(folder, cause));
        KeepToRule(folder, path);
        return path;
    }
    Record record;
    {
        ReadTransaction reading(working);
        const Record last = ReadRecord(folder);
        record.stamp = ChangeStamp(working);
        if (record.stamp == last.stamp && QFileInfo::exists(folder + "/" + last.file))
            return folder + "/" + last.file;
        const QString path = FreeName(folder, cause);
        WriteCheckedCopy(
            path, [&](const QString& partial) { CopyWorkingDatabase(working, partial, path); });
        record.file = QFileInfo(path).fileName();
    }
    WriteRecord(folder, record);
    KeepToRule(folder, folder + "/" + record.file);
    return folder + "/" + record.file;
}

QString BackUpBefore(const QString& command)
{
    try {
        return MakeAutomaticBackup("before " + command);
    } catch (const RuntimeError& error) {
        throw RuntimeError("The inventory could not be backed up before " + command +
                               ", so nothing was changed. " + error.Description(),
                           error.Number());
    }
}

void DailyBackup(DailyMoment moment)
{
    if (!g_Conn || g_Conn->State() == Connection::adStateClosed ||
        g_Conn->IsShared() != (moment == DailyMoment::Closing))
        return;
    for (const BackupEntry& backup : ListBackups(BackupFolder()))
        if (backup.cause == kDaily && backup.time.date() == Today())
            return;
    MakeAutomaticBackup(kDaily);
}

void NoteRestoredFrom(const QString& path)
{
    if (SharedConnection().IsShared())
        return;
    const QString folder = BackupFolder();
    Record record;
    for (const BackupEntry& backup : ListBackups(folder)) {
        if (QFileInfo(backup.path) == QFileInfo(path)) {
            ReadTransaction reading(WorkingDatabaseHandle());
            record = {ChangeStamp(WorkingDatabaseHandle()), QFileInfo(path).fileName()};
        }
    }
    WriteRecord(folder, record);
}
