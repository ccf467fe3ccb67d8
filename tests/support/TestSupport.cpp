#include "support/TestSupport.h"

#include "platform/RuntimeError.h"

#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/SharedInventory.h"
#include "data/TemplateSchema.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/os/Clock.h"
#include "platform/os/ProgramFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

void RecordingBoxes::ExpectMessage(BoxAnswer answer)
{
    m_answers.push_back({false, answer, {}});
}

void RecordingBoxes::ExpectInput(const QString& answer)
{
    m_answers.push_back({true, BoxAnswer::OK, answer});
}

BoxAnswer RecordingBoxes::ShowMessage(const BoxRequest& request)
{
    Shown shown{request, false, {}, false};
    BoxAnswer answer = request.buttons == BoxButtons::OK ? BoxAnswer::OK : BoxAnswer::No;
    if (m_answers.empty() || m_answers.front().input) {
        shown.unexpected = true;
    } else {
        answer = m_answers.front().message;
        m_answers.pop_front();
    }
    m_shown.append(shown);
    return answer;
}

QString RecordingBoxes::ShowInput(const QString& prompt, const QString& title,
                                  const QString& defaultText)
{
    Shown shown{{prompt, title, BoxButtons::OK, BoxIcon::None}, true, defaultText, false};
    QString answer;
    if (m_answers.empty() || !m_answers.front().input) {
        shown.unexpected = true;
    } else {
        answer = m_answers.front().text;
        m_answers.pop_front();
    }
    m_shown.append(shown);
    return answer;
}

QStringList RecordingBoxes::prompts() const
{
    QStringList result;
    for (const Shown& s : m_shown)
        result << s.request.prompt;
    return result;
}

int RecordingBoxes::unexpectedCount() const
{
    int count = 0;
    for (const Shown& s : m_shown)
        count += s.unexpected ? 1 : 0;
    return count;
}

void RecordingBoxes::clear()
{
    m_answers.clear();
    m_shown.clear();
}

TestEnvironment::TestEnvironment(const QString& localeName)
    : m_oldDataHome(qgetenv("XDG_DATA_HOME")), m_oldConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    QDir(m_dir.path()).mkpath("data");
    QDir(m_dir.path()).mkpath("config");
    QDir(m_dir.path()).mkpath("program");
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", (root() + "/config").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root() + "/config");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root() + "/config");
    QFile::copy(TemplateDatabasePath(), programFolder() + "/dbBlank.mdb");
    SetProgramFolderForTesting(programFolder());
    QLocale::setDefault(localeName.isEmpty() ? QLocale::system() : QLocale(localeName));
    SetTodayForTesting(pinnedToday());
    SetBoxService(&boxes);
}

TestEnvironment::~TestEnvironment()
{
    CloseDatabase();
    if (!m_serverDatabases.isEmpty()) {
        Connection server;
        server.Open(TestServer());
        for (const QString& name : m_serverDatabases)
            server.Execute("drop database if exists \"" + name + "\" with (force)");
    }
    SetBoxService(nullptr);
    SetTodayForTesting(QDate());
    SetNowForTesting(QDateTime());
    SetProgramFolderForTesting(QString());
    QLocale::setDefault(QLocale::c());
    qputenv("XDG_DATA_HOME", m_oldDataHome);
    qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    for (const RecordingBoxes::Shown& s : boxes.shown()) {
        if (s.unexpected)
            qWarning("unexpected box: \"%s\" (%s)", qPrintable(s.request.prompt),
                     qPrintable(s.request.title));
    }
    if (boxes.unexpectedCount() > 0)
        QTest::qFail("a box was shown that the test did not expect", __FILE__, __LINE__);
}

QString TestEnvironment::root() const
{
    return m_dir.path();
}

QString TestEnvironment::dataHome() const
{
    return root() + "/data";
}

QString TestEnvironment::programFolder() const
{
    return root() + "/program";
}

QString TestEnvironment::workingDatabase() const
{
    return WorkingDatabasePath();
}

QString TestEnvironment::OpenDatabase(TestEngine engine)
{
    g_Conn = std::make_unique<Connection>();
    if (engine == TestEngine::Server) {
        const QString database = NewServerDatabase();
        OpenInventory(*g_Conn, database);
        return database;
    }
    ProvisionDatabase();
    g_Conn->Open(ConnectionString());
    return ConnectionString();
}

QString TestEnvironment::NewServerDatabase()
{
    static int made = 0;
    const QString name =
        QStringLiteral("tarnwick_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    Connection server;
    server.Open(TestServer());
    server.Execute("create database \"" + name + "\"");
    m_serverDatabases << name;
    return TestServer() + " dbname=" + name;
}

QString TestEnvironment::KeepServerInventory()
{
    const QString database = AddressOf(NewServerDatabase()).database;
    KeepInventory(InventoryUri(TestServerAddress(database)));
    return database;
}

ServerAddress TestServerAddress(const QString& database, bool tcp)
{
    TestServer();
    QFile service(qEnvironmentVariable("PGSERVICEFILE"));
    service.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(service.readAll());
    const QString section =
        text.section(tcp ? "[tarnwick_tcp]" : "[tarnwick]", 1).section('[', 0, 0);
    const auto value = [&](const char* key) {
        return QRegularExpression(QString("%1=(\\S+)").arg(key)).match(section).captured(1);
    };
    return {value("host"), value("port").toInt(), database, value("user"), tcp ? "require" : ""};
}

QString TestServer()
{
    const QString server = qEnvironmentVariable("TARNWICK_TEST_SERVER");
    if (server.isEmpty())
        qFatal("No test server: run the tests through ctest, which starts one "
               "(scripts/test-server.sh).");
    return server;
}

OwnTestServer::OwnTestServer()
    : m_dir(QDir::tempPath() +
            QStringLiteral("/tarnwick-pg-own-%1").arg(QCoreApplication::applicationPid()))
{
    Control("start");
    QFile service(m_dir + "/pg_service.conf");
    service.open(QIODevice::ReadOnly);
    m_port = QRegularExpression("port=(\\d+)").match(service.readAll()).captured(1);
}

OwnTestServer::~OwnTestServer()
{
    Control("stop");
}

void OwnTestServer::Control(const QString& action)
{
    if (QProcess::execute(TARNWICK_SOURCE_DIR "/scripts/test-server.sh", {action, m_dir}) != 0)
        qFatal("scripts/test-server.sh %s %s failed", qPrintable(action), qPrintable(m_dir));
}

QString OwnTestServer::ConnectionString() const
{
    return "host=" + m_dir + " port=" + m_port + " user=tarnwick dbname=postgres";
}

QString OwnTestServer::Place() const
{
    return m_dir + " (port " + m_port + ")";
}

void EngineRows(const QStringList& locales)
{
    QTest::addColumn<TestEngine>("engine");
    QTest::addColumn<QString>("locale");
    for (const QString& locale : locales) {
        QTest::addRow("file %s", qPrintable(locale)) << TestEngine::File << locale;
        QTest::addRow("server %s", qPrintable(locale)) << TestEngine::Server << locale;
    }
}

void TestEnvironment::CloseDatabase()
{
    if (g_Conn && g_Conn->State() != Connection::adStateClosed)
        g_Conn->Close();
    g_Conn.reset();
}

QString TemplateDatabasePath()
{
    return QStringLiteral(TARNWICK_TEMPLATE_DB);
}

QString HandCursorPath()
{
    return QStringLiteral(TARNWICK_HAND_CURSOR);
}

QString Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.Description();
    }
    return QString();
}

QString QueryText(const QString& sql)
{
    Recordset rs;
    rs.Open(sql, *g_Conn);
    QString text = rs.Eof() ? QString() : TextOf(rs.Fields(0).Value);
    rs.Close();
    return text;
}

long long QueryCount(const QString& sql)
{
    return QueryText(sql).toLongLong();
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QByteArray ContentDigest(Connection& connection)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const TemplateSchema schema = ReadTemplateSchema();
    for (const QString& table : schema.tables) {
        Recordset rs;
        rs.Open("select * from [" + table + "] order by [" + schema.schema.Find(table)->key + "]",
                connection);
        for (; !rs.Eof(); rs.MoveNext())
            for (int field = 0; field < rs.FieldCount(); ++field)
                hash.addData((rs.FieldNames()[field] + '=' + TextOf(rs.Fields(field).Value) + '\n')
                                 .toUtf8());
    }
    return hash.result();
}

QStringList HostileTexts()
{
    return {
        "O'Neil",
        "'); delete from Assets; --",
        "/* not a comment */ ; \\ \\' \"quoted\" + '' [x] null CCur('1')",
        QString("tab\tbell\a") + QChar(0x1f) + QChar(0x7f) + " end",
        QString(10000, QChar('x')) + "'",
        QString::fromUtf8("Привет, 東京, שלום עולם, e\u0301, 🙂🏭"),
        QString::fromUtf8("\u202emixed\u202c direction"),
    };
}

QStringList TabWalk(int steps)
{
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    return visited;
}
