// SPDX-License-Identifier: MIT
#include "app/LaunchPool.h"

#include "app/ErrorReport.h"
#include "core/entries/PathRules.h"
#include "platform/Opener.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QWidget>

#if defined(__SANITIZE_THREAD__)
#define QB_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QB_THREAD_SANITIZER 1
#endif
#endif
#ifdef QB_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace {

// An open that hangs (a stalled network folder) must not hold the launcher's
// exit for ever.
constexpr int kExitWaitMs = 5000;

// The pool hands a job to its worker under a lock ThreadSanitizer cannot see
// (Qt's mutexes wait on futexes directly), so it would take every job's
// captures for raced. These two mark that hand-over for it and are nothing in
// any other build.
[[maybe_unused]] char launchHandOver;

void handOver()
{
#ifdef QB_THREAD_SANITIZER
    __tsan_release(&launchHandOver);
#endif
}

void takeOver()
{
#ifdef QB_THREAD_SANITIZER
    __tsan_acquire(&launchHandOver);
#endif
}

} // namespace

LaunchPool::LaunchPool(QWidget *bar, int threads)
    : QObject(bar)
    , m_bar(bar)
    , m_pool(new QThreadPool(this))
    , m_open(Opener::open)
    , m_openWith(Opener::openWithFiles)
{
    m_pool->setMaxThreadCount(threads);
    // Idle workers go soon: a launcher mostly waits for the next click.
    m_pool->setExpiryTimeout(2000);
}

void LaunchPool::start(LaunchRequest request)
{
    // The worker touches no widget: it reports a failure back to the
    // user-interface thread, which shows it unless the bar is gone.
    std::function<void()> job = [request = std::move(request), open = m_open, openWith = m_openWith,
                                 self = m_bar]() mutable {
        takeOver();
        request.workingDir = workingDirectoryOf(request.file);
        QString reason;
        const bool opened = request.dropped.isEmpty()
                                ? open(request.file, request.params, request.workingDir, &reason)
                                : openWith(request.file, request.params, request.workingDir, request.dropped, &reason);
        if (opened)
            return;
        //: %1 is the entry's file, %2 the system's reason.
        const QString message = tr("%1 を開けませんでした。%2").arg(request.file, reason);
        QMetaObject::invokeMethod(
            qApp,
            [self, message] {
                if (self)
                    ErrorReport::notify(self, message);
            },
            Qt::QueuedConnection);
    };
    handOver();
    m_pool->start(std::move(job));
}

bool LaunchPool::waitForDone()
{
    return m_pool->waitForDone(kExitWaitMs);
}

LaunchPool::~LaunchPool()
{
    // A pool's destructor waits without limit: one still stuck in an open is
    // kept here until the process ends instead.
    // (The list is never freed, so they stay reachable to the very end.)
    static auto *stuckPools = new QList<QThreadPool *>;
    if (!waitForDone()) {
        m_pool->setParent(nullptr);
        stuckPools->append(m_pool);
    }
}
