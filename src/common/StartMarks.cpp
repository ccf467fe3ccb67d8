#include "common/StartMarks.h"

#include <QEvent>
#include <QWidget>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Notes its stage after the first paint of the widget it watches, then goes.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget& widget, const char* stage) : QObject(&widget), m_stage(stage)
    {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that it comes after the painting and its way to the screen.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    NoteStartStage(m_stage);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    const char* m_stage;
};

} // namespace

void NoteStartStage(const char* stage)
{
    static const QByteArray path = qgetenv("TARNWICK_START_LOG");
    if (path.isEmpty())
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Written straight, in one piece: the log may be a pipe, which the toolkit's files would
    // try to seek in.
    const int log = open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (log < 0)
        return;
    const QByteArray line = QByteArray(stage) + ' ' +
                            QByteArray::number(qint64(now.tv_sec) * 1000000000 + now.tv_nsec) +
                            '\n';
    // A line that could not be written is missing from the log, which its reader notices.
    [[maybe_unused]] const ssize_t written = write(log, line.constData(), size_t(line.size()));
    close(log);
}

void NoteStageWhenPainted(QWidget& widget, const char* stage)
{
    if (!qEnvironmentVariableIsEmpty("TARNWICK_START_LOG"))
        new PaintWatch(widget, stage);
}
