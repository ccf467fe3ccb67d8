#pragma once

#include "data/Globals.h"
#include "mainwindow/Form1.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"
#include "support/TestSupport.h"

#include <QPushButton>
#include <QTest>
#include <memory>
#include <sqlite3.h>

// The main window started as the program starts it, in the test's own folders, and shown.
inline std::unique_ptr<Form1> StartMainWindow()
{
    auto form = std::make_unique<Form1>();
    form->Form_Load();
    form->show();
    return form;
}

inline void Click(Form1& form, const char* buttonName)
{
    auto* button = form.findChild<QPushButton*>(buttonName);
    if (!button)
        qFatal("no button %s", buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs SQLite's own statement on the test's database, outside the program's dialect: used
// to make the database refuse what a command will do.
inline void RawSql(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(g_Conn->Handle(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        qWarning("%s: %s", sql, message);
        sqlite3_free(message);
    }
}

// The database refuses every `action` ("insert", "delete") on `table` from now on.
inline void Refuse(const QString& action, const QString& table)
{
    RawSql(QString("create trigger refuse_%1_%2 before %1 on %2 "
                   "begin select raise(abort, 'refused'); end")
               .arg(action, table)
               .toUtf8()
               .constData());
}

// The value SQLite keeps in the first column of the query's first row, as text.
inline QString StoredText(const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    QString text;
    if (sqlite3_prepare_v2(g_Conn->Handle(), sql.toUtf8().constData(), -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return text;
}

inline QString CommandLocation(const char* procedure, int step)
{
    return QStringLiteral("in Tarnwick2021/08/31.Form1.%1 at line %2")
        .arg(QLatin1String(procedure))
        .arg(step);
}

// Records every modal window shown from now on, and takes the driver away again at the end.
class ModalRecorder
{
public:
    explicit ModalRecorder(std::function<void(QWidget&)> act = {})
    {
        SetModalDriver([this, act](QWidget& window) {
            ++shown;
            if (act)
                act(window);
        });
    }
    ~ModalRecorder() { SetModalDriver({}); }
    int shown = 0;
};
