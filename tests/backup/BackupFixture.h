#pragma once

#include "backup/Backups.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <sqlite3.h>

// Every row of every table of a database file, the engine's sequences included, as a digest:
// two files with the same digest hold the same inventory, value for value.
inline QByteArray Content(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto rows = [&](const QByteArray& sql, const auto& each) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            each(statement);
        if (sqlite3_finalize(statement) != SQLITE_OK)
            hash.addData(QByteArrayView(sqlite3_errmsg(db)));
    };
    rows("select name from sqlite_master where type='table' order by name", [&](auto* table) {
        const QByteArray name(reinterpret_cast<const char*>(sqlite3_column_text(table, 0)));
        hash.addData(name);
        rows("select * from [" + name + "] order by rowid", [&](auto* row) {
            for (int column = 0; column < sqlite3_column_count(row); ++column) {
                hash.addData(QByteArray::number(sqlite3_column_type(row, column)));
                hash.addData(QByteArrayView(
                    reinterpret_cast<const char*>(sqlite3_column_text(row, column))));
                hash.addData("|");
            }
        });
    });
    sqlite3_close(db);
    return hash.result();
}

// The names in the backup folder, partial copies included, in name order.
inline QStringList BackupFiles()
{
    return QDir(BackupFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// `count` assets with two maintenance and one depreciation entry each, written in one go.
inline void AddAssets(sqlite3* db, int count)
{
    const QByteArray sql =
        "begin; with recursive n(i) as (select 1 union all select i+1 from n where i<" +
        QByteArray::number(count) +
        ") insert into Assets (AssetDescription,ModelNumber,SerialNumber,PurchasePrice,"
        "DateAcquired,Comments) select 'Asset '||i,'M'||i,'S'||i,i*10.5,'2024-01-02',"
        "printf('%.*c',200,'x') from n; "
        "insert into Maintenance (AssetID,MaintenanceDate,MaintenanceCost) "
        "select AssetID,'2025-03-04',12.5 from Assets union all "
        "select AssetID,'2025-06-04',7 from Assets; "
        "insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) "
        "select AssetID,'2025-12-31',100 from Assets; commit;";
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
}
