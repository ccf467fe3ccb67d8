#pragma once

#include "platform/adodb/Variant.h"

#include <QString>
#include <QStringList>
#include <memory>

class Connection;
class RowStore;

// One field of the current row, as Fields("name") gives it.
struct Field
{
    QString Name;
    Variant Value;
};

// A static, read-only recordset: Open runs the query and keeps every row, so the
// connection holds no lock and no open statement afterwards.
class Recordset
{
public:
    enum CursorType { adOpenStatic = 3 };
    enum LockType { adLockReadOnly = 1 };

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs sql on connection; cursor and lock type must be static and read-only (3, 1).
    void Open(const QString& sql, Connection& connection, int cursorType = adOpenStatic,
              int lockType = adLockReadOnly);
    void Close();
    bool IsOpen() const;

    // "EOF" and "BOF": past the last row, before the first. Both are true for no rows.
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    int RecordCount() const;
    // Moves to the row at `position`, 1-based.
    void SetAbsolutePosition(int position);

    // The named field of the current row. A name the row does not have, a closed recordset,
    // a position past either end and an amount beyond the currency range are run-time errors
    // naming what was asked.
    Field Fields(const QString& name) const;
    Field Fields(int index) const;
    int FieldCount() const;
    QStringList FieldNames() const;

    // Every row at once, for copying them elsewhere.
    const RowStore& Rows() const;

private:
    std::unique_ptr<RowStore> m_rows;
    int m_position = 0;
};
