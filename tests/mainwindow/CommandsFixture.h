#pragma once

#include "data/Globals.h"
#include "mainwindow/Form1.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"
#include "support/TestSupport.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <functional>
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

// Runs SQLite's own statement on the test's database, outside the program's dialect.
inline void RawSql(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(g_Conn->Handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        qWarning("%s: %s", qPrintable(sql), message);
        sqlite3_free(message);
    }
}

// The database refuses every `action` ("insert", "delete") on `table` while `refuse` holds.
inline void Refuse(const QString& action, const QString& table, bool refuse = true)
{
    const QString trigger = QString("refuse_%1_%2").arg(action, table);
    RawSql(refuse ? QString("create trigger %1 before %2 on %3 "
                            "begin select raise(abort, 'refused'); end")
                        .arg(trigger, action, table)
                  : "drop trigger " + trigger);
}

inline QString CommandLocation(const char* procedure, int step)
{
    return QStringLiteral("in Tarnwick2021/08/31.Form1.%1 at line %2")
        .arg(QLatin1String(procedure))
        .arg(step);
}

// The file dialog as the user leaves it with `path` chosen.
inline void ChooseFile(QWidget& window, const QString& path)
{
    auto* files = qobject_cast<QFileDialog*>(&window);
    QVERIFY(files);
    files->selectFile(path);
    static_cast<QDialog*>(files)->done(QDialog::Accepted);
}

// Counts the modal windows shown while it lives, letting `act` drive each one.
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
