#pragma once

#include "data/Globals.h"
#include "support/TestSupport.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <sqlite3.h>

// A record dialog opened the way the panes open it, and typing and clicking in it.

// A test's own database holding the assets 3, 4 and 7 that the entries belong to.
struct RecordCase : TestEnvironment
{
    RecordCase()
    {
        OpenDatabase();
        for (const char* id : {"3", "4", "7"})
            g_Conn->Execute(QString("insert into Assets (AssetID) values (%1)").arg(id));
    }
};

template <typename Dialog>
std::unique_ptr<Dialog> OpenDialog(const QString& id, const QString& caption,
                                   const QString& assetId = "7")
{
    auto dialog = std::make_unique<Dialog>();
    dialog->m_ID = id;
    dialog->m_AssetID = assetId;
    dialog->SetCaption(caption);
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog.get()))
        qWarning("the dialog did not become the active window");
    return dialog;
}

// Types the text key by key; the test keyboard knows ASCII only, so other letters are
// inserted as an input method would.
inline void Type(QLineEdit* box, const QString& text)
{
    box->clear();
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, c.toLatin1());
        else
            box->insert(c);
    }
}

inline void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Makes the database refuse every insert and update of a table, as a full disk or a locked
// file would.
inline void RefuseWrites(const QString& table)
{
    for (const char* event : {"insert", "update"}) {
        const QString sql = QString("create trigger refuse_%1_%2 before %2 on %1 begin select "
                                    "raise(abort, 'the disk is full'); end")
                                .arg(table, event);
        QCOMPARE(
            sqlite3_exec(g_Conn->Handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr),
            SQLITE_OK);
    }
}

// The checks' messages: plain boxes with OK only, no icon, the application title.
inline void CheckPlainMessages(const RecordingBoxes& boxes, const QStringList& prompts)
{
    QCOMPARE(boxes.prompts(), prompts);
    for (const RecordingBoxes::Shown& s : boxes.shown()) {
        QCOMPARE(s.request.icon, BoxIcon::None);
        QCOMPARE(s.request.buttons, BoxButtons::OK);
        QCOMPARE(s.request.title, AppTitle());
    }
}
