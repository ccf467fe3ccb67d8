#pragma once

#include "platform/value/Variant.h"

#include <QString>
#include <QStringList>
#include <memory>

class Connection;
class ReadAhead;
class RowCursor;
class RowStore;

// One field of the current row, as Fields("name") gives it.
struct Field
{
    QString Name;
    Variant Value;
};

// A static, read-only recordset: it gives the rows as they were when Open ran the query.
//
// A result of up to a batch of rows (1024) is read whole at Open, so the connection holds no
// lock and no open statement afterwards. A longer one is read a batch at a time as the
// recordset moves on, and, while nothing has moved back, the rows it has passed are let go
// once they take a megabyte: a long list read once from first to last is never kept whole.
// From then on the next batch is read on another thread while the current one is used. Until
// it has been read to its end, or closed, such a recordset holds a local file's read lock,
// so it is read on without waiting for the user. Moving back to a row let go, and asking for
// the count of rows, reads and keeps every row (reading them again when some were let go;
// the engine makes sure they come out the same, or refuses).
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
    // The next batch, after the rows passed were let go unless they are kept.
    void ReadOn();
    // Every row into m_rows, and kept from now on.
    void ReadAll() const;

    // Rows m_first to m_first + m_rows->RowCount() - 1 of the result.
    mutable std::unique_ptr<RowStore> m_rows;
    // What the rows still to come are read from; it stays to read them all again.
    mutable std::unique_ptr<RowCursor> m_cursor;
    // Reads the batch after the current one while it is used, once passed rows are let go.
    // Declared after the cursor it reads from, so that it ends first.
    mutable std::unique_ptr<ReadAhead> m_ahead;
    mutable bool m_more = false;
    mutable int m_first = 0;
    mutable bool m_keepAll = false;
    int m_position = 0;
};
