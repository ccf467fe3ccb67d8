#include "shared/WhileWorking.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <exception>
#include <thread>

namespace {

// Work shorter than this shows no window.
constexpr int kQuietMs = 500;

} // namespace

void WhileWorking(QWidget& owner, const QString& title, const QString& what,
                  const std::function<void(const SayProgress& say)>& work)
{
    // No cancel button: what the work does is one transaction, and ends by itself.
    QProgressDialog progress(what, QString(), 0, 0, &owner);
    progress.setObjectName("WhileWorking");
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kQuietMs);
    QTimer::singleShot(kQuietMs, &progress, &QProgressDialog::show);

    QEventLoop loop;
    std::exception_ptr failure;
    const SayProgress say = [&progress](const QString& text) {
        QMetaObject::invokeMethod(
            &progress, [&progress, text] { progress.setLabelText(text); }, Qt::QueuedConnection);
    };
    std::thread worker([&] {
        try {
            work(say);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Input goes to the busy window only, so that no command starts meanwhile.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
