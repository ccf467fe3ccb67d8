#include "platform/os/RunAndWait.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr int kPollMilliseconds = 100;
// A program ended by a signal reports 128 + the signal's number, as the shells do.
constexpr std::int32_t kSignalExitBase = 128;

// QProcess tells only that the start failed; the file itself tells why.
std::int32_t StartErrorNumber(const QString& command)
{
    const QFileInfo file(command);
    if (!file.exists())
        return kStartErrorNotFound;
    if (file.isDir() || !file.isExecutable())
        return kStartErrorPermissionDenied;
    return kStartErrorNotExecutable;
}

} // namespace

std::int32_t RunAndWait(const QString& command, int windowStyle)
{
    Q_UNUSED(windowStyle);

    QProcess process;
    process.setProgram(command);
    // An installer runs unattended: it reads nothing from us and its output goes nowhere.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return kStartErrorBase + StartErrorNumber(command);

    // Each poll sleeps at most 100 ms, waking as soon as the program ends.
    while (process.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents();
        process.waitForFinished(kPollMilliseconds);
    }
    if (process.exitStatus() == QProcess::CrashExit)
        return kSignalExitBase + process.exitCode();
    return process.exitCode();
}
