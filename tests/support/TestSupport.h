#pragma once

#include "data/SharedInventory.h"
#include "platform/ui/Boxes.h"

#include <QApplication>
#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

class Connection;

// Records every message and input box and answers them from a queue. A box that no answer
// was queued for is recorded as unexpected, answered with OK / No / "", and fails the test
// at its end (TestEnvironment checks).
class RecordingBoxes : public BoxService
{
public:
    struct Shown
    {
        BoxRequest request;
        bool input = false;  // an input box; request.prompt and title hold its texts
        QString defaultText; // input boxes only
        bool unexpected = false;
    };

    void ExpectMessage(BoxAnswer answer);
    void ExpectInput(const QString& answer);

    BoxAnswer ShowMessage(const BoxRequest& request) override;
    QString ShowInput(const QString& prompt, const QString& title,
                      const QString& defaultText) override;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList prompts() const;
    int unexpectedCount() const;
    bool allAnswersUsed() const { return m_answers.empty(); }
    void clear();

private:
    struct Answer
    {
        bool input;
        BoxAnswer message;
        QString text;
    };
    std::deque<Answer> m_answers;
    QList<Shown> m_shown;
};

// Where the data layer's cases run: a local file made from the template, or a new database
// on the test server that ctest starts (scripts/test-server.sh).
enum class TestEngine { File, Server };
Q_DECLARE_METATYPE(TestEngine)

// The data rows of a case that runs on both engines: columns "engine" and "locale", a row
// for each engine under each of the locales.
void EngineRows(const QStringList& locales = {"en_US"});

// A private world for one test: data and configuration folders in a temporary directory, a
// program folder with the real template beside it, the en_US locale (or another; "" for the
// one the environment sets, as a desktop does), today pinned to 2026-12-07, and the
// recording boxes installed. Restores all on destruction and fails the running test when an
// unexpected box was shown.
class TestEnvironment
{
public:
    explicit TestEnvironment(const QString& localeName = "en_US");
    ~TestEnvironment();

    RecordingBoxes boxes;

    QString root() const;          // the temporary directory
    QString dataHome() const;      // what GetSpecialFolder(35) answers
    QString programFolder() const; // holds dbBlank.mdb
    QString workingDatabase() const;

    // Opens g_Conn on a new inventory: the template copied to the working database (its
    // folders created), or a new database on the test server, set up as the program sets up
    // a shared inventory. Gives the connection string it opened.
    QString OpenDatabase(TestEngine engine = TestEngine::File);
    // The connection string of a new, empty database on the test server, dropped when the
    // environment ends.
    QString NewServerDatabase();
    // Keeps a new database on the test server as the inventory the program opens at start;
    // gives the database's name.
    QString KeepServerInventory();
    // Closes and releases g_Conn.
    void CloseDatabase();

    static QDate pinnedToday() { return QDate(2026, 12, 7); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldDataHome;
    QByteArray m_oldConfigHome;
    QStringList m_serverDatabases;
};

// The test server's connection string; ends the test program when ctest did not start one.
QString TestServer();
// The test server's address for `database`: its socket folder, or with `tcp` 127.0.0.1, where
// it takes connections with TLS and a password only (user tarnwick, password tarnwick-test).
ServerAddress TestServerAddress(const QString& database, bool tcp = false);

// A PostgreSQL server of a test's (or a benchmark's) own, which it may stop and start again:
// made in a new cluster on construction, removed with the object (scripts/test-server.sh).
class OwnTestServer
{
public:
    OwnTestServer();
    ~OwnTestServer();
    // "halt" stops the server, keeping its databases; "resume" starts it again.
    void Control(const QString& action);
    QString ConnectionString() const; // of its database "postgres"
    QString Place() const;            // as connection failures name it

private:
    QString m_dir;
    QString m_port;
};

// The template database and the hand pointer that the build made.
QString TemplateDatabasePath();
QString HandCursorPath();
// Runs one query on g_Conn and gives the first field of its first row as text ("" when none).
QString QueryText(const QString& sql);
// The description of the run-time error that `action` throws; "" when it throws none.
QString Refusal(const std::function<void()>& action);
long long QueryCount(const QString& sql);
// A digest of a file's bytes, to show that it was left exactly as it was.
QByteArray Digest(const QString& path);
// A digest of every row of every table of an inventory, on either engine.
QByteArray ContentDigest(Connection& connection);

// Texts that must be stored and shown back exactly wherever a user can type one: quotes and
// statement syntax, backslashes, control characters, a long text, other scripts, combining
// and direction marks, emoji.
QStringList HostileTexts();

// The object names the focus visits from the focused control on, over `steps` presses of Tab.
QStringList TabWalk(int steps);

// Runs `act` on the first real dialog of type T that opens, from inside its event loop.
template <typename T> void WhenShown(std::function<void(T&)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<T*>(top);
            if (dialog && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                act(*dialog);
                return;
            }
        }
    });
    poll->start(10);
}
