// How long the real program takes from its process starting to its window showing every
// asset, and how much memory it takes at most (peak resident set of the whole program), with
// 1 000 and with 100 000 assets; and which part of the start is the toolkit's and which the
// program's own. The floor is a start with an empty inventory, measured in the same run.
//
//     bench_startup                    1 000 and 100 000 assets
//     bench_startup 100000 10000       100 000 assets with a comment of 10 000 bytes each
#include "BenchSupport.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <cstring>
#include <ctime>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

struct Start
{
    // Nanoseconds from the process starting to each stage the program noted.
    QMap<QByteArray, double> stages;
    double peakMegabytes = 0;
};

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

// Starts the program, waits for its list to be shown, and ends it.
Start RunProgram(const QByteArray& program)
{
    int log[2];
    if (pipe(log) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const double started = Now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(log[1], 3);
        setenv("TARNWICK_START_LOG", "/dev/fd/3", 1);
        execl(program.constData(), program.constData(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    close(log[1]);
    Start start;
    QByteArray lines;
    char buffer[256];
    while (!lines.contains("shown ")) {
        const ssize_t read = ::read(log[0], buffer, sizeof buffer);
        if (read <= 0)
            break;
        lines.append(buffer, read);
    }
    close(log[0]);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    start.peakMegabytes = usage.ru_maxrss / 1024.0;
    for (const QByteArray& line : lines.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            start.stages[parts[0]] = parts[1].toDouble() - started;
    }
    if (!start.stages.contains("shown"))
        std::printf("the program did not show its list:\n%s\n", lines.constData());
    return start;
}

double Ms(const Start& start, const char* stage)
{
    return start.stages.value(stage) / 1e6;
}

void PrintStart(const char* what, const Start& start, double floor)
{
    std::printf("%-36s %9.1f ms  %7.2fx floor   peak RSS %6.1f MB\n", what, Ms(start, "shown"),
                Ms(start, "shown") / floor, start.peakMegabytes);
}

// The stages of a start: the toolkit's (the program loaded and linked, the toolkit set up,
// the window's controls made, the window shown and painted) and the program's own (its
// load: the database, the list's columns and contents, the saved state, the day's backup).
void PrintStages(const Start& start)
{
    const double toMain = Ms(start, "main");
    const double toolkit = Ms(start, "toolkit") - toMain;
    const double window = Ms(start, "window") - Ms(start, "toolkit");
    const double load = Ms(start, "loaded") - Ms(start, "window");
    const double show = Ms(start, "shown") - Ms(start, "loaded");
    std::printf("  toolkit %.1f ms (loading %.1f, set-up %.1f, controls %.1f, showing and "
                "painting %.1f); the program's own load %.1f ms\n",
                toMain + toolkit + window + show, toMain, toolkit, window, show, load);
}

// The best of `runs` starts after a first one, which makes the day's backup.
Start BestStart(const QByteArray& program, int runs, Start* first)
{
    *first = RunProgram(program);
    Start best;
    for (int run = 0; run < runs; ++run) {
        const Start start = RunProgram(program);
        if (run == 0 || Ms(start, "shown") < Ms(best, "shown"))
            best = start;
    }
    return best;
}

void MakeInventory(const QString& path, int assets, int commentBytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile::copy(TemplateDatabasePath(), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    if (assets > 0)
        FillDatabase(db, assets, commentBytes);
    sqlite3_close(db);
}

double ListFloor(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    const double floor = Best(3, [&] { TouchRows(db); });
    sqlite3_close(db);
    return floor;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + "/tarnwick");
    QList<int> sizes{1000, 100000};
    int commentBytes = 0;
    if (argc > 1)
        sizes = {std::atoi(argv[1])};
    if (argc > 2)
        commentBytes = std::atoi(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("the program on the %s platform\n", qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
                                                        ? "desktop's"
                                                        : qgetenv("QT_QPA_PLATFORM").constData());

    TestEnvironment env;
    const QString database = env.workingDatabase();
    MakeInventory(database, 0, 0);
    Start first;
    const Start empty = BestStart(program, 3, &first);
    const double floor = Ms(empty, "shown");
    std::printf("floor: a start with an empty inventory %.1f ms, peak RSS %.1f MB\n", floor,
                empty.peakMegabytes);
    PrintStages(empty);

    for (const int assets : sizes) {
        MakeInventory(database, assets, commentBytes);
        std::printf(
            "\n%d assets%s; stepping qryAssets and touching every text takes %.1f ms\n", assets,
            commentBytes > 0 ? qPrintable(QString(" with comments of %1 bytes").arg(commentBytes))
                             : "",
            ListFloor(database) * 1000);
        const Start best = BestStart(program, commentBytes > 0 ? 1 : 3, &first);
        PrintStart("first start of the day (with backup)", first, floor);
        PrintStages(first);
        PrintStart("start to the whole list shown", best, floor);
        PrintStages(best);
    }
    return 0;
}
