// SPDX-License-Identifier: MIT
// Opening an entry: the click finds the entry and hands it to a worker of
// the bar's launch pool, so the bar never waits for a program to start;
// typing to filter every group, and Ctrl+1 to Ctrl+9 (the bar's side of
// TypeFilter, which asks it what to show and what to open).
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/TypeFilter.h"
#include "launcher/LaunchButton.h"
#include "core/entries/LaunchRequest.h"
#include "core/entries/PathRules.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <optional>

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

void TForm1::BtnClickEvent(LaunchButton *sender)
{
    const qsizetype i = m_grid->rowOf(sender);
    if (i < 0 || i >= currentGroup().size())
        return;
    if (sender->isFileMissing()) {
        // A drive mounted since the load: the entry works again at once.
        if (!LaunchPath.lookAgain(m_menuIndex, i).isFileOrFolder()) {
            //: %1 is the entry's file.
            ErrorReport::notify(this,
                                tr("%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。")
                                    .arg(currentGroup().entry(i).fname));
            return;
        }
    }
    std::optional<LaunchRequest> request = launchRequestFor(currentGroup().line(i));
    if (!request)
        return;
    startOpen(std::move(*request));
}

void TForm1::FolderCmdClick()
{
    const qsizetype i = m_grid->rowOf(obj.data());
    if (i < 0 || i >= currentGroup().size())
        return;
    const std::optional<LaunchRequest> entry = launchRequestFor(currentGroup().line(i));
    const QString folder = entry ? workingDirectoryOf(entry->file) : QString();
    if (folder.isEmpty())
        return;
    startOpen({folder, {}, {}, {}});
}

void TForm1::startOpen(LaunchRequest request)
{
    // The worker touches no widget: it reports a failure back to the
    // user-interface thread, which shows it unless the bar is gone.
    QPointer<TForm1> self(this);
    std::function<void()> job = [request = std::move(request), open = opener, openWith = dropOpener, self]() mutable {
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
    m_launchPool->start(std::move(job));
}

bool TForm1::waitForLaunches()
{
    return m_launchPool->waitForDone(kExitWaitMs);
}

void TForm1::finishLaunches()
{
    // A pool's destructor waits without limit: one still stuck in an open is
    // kept here until the process ends instead.
    // (The list is never freed, so they stay reachable to the very end.)
    static auto *stuckPools = new QList<QThreadPool *>;
    if (!waitForLaunches()) {
        m_launchPool->setParent(nullptr);
        stuckPools->append(m_launchPool);
    }
}

void TForm1::setDropOpener(DropOpenFunction open)
{
    dropOpener = std::move(open);
}

void TForm1::createTypeFilter()
{
    TypeFilter::BarLinks links;
    links.currentGroup = [this] { return m_menuIndex; };
    links.mayStart = [this] { return !isRegistrationAreaShown() && !m_arrangeDrag->isRunning(); };
    links.look = [this] { return buttonLook(); };
    links.launch = [this](const EntryRef &entry) { launchEntry(entry.group, entry.index); };
    links.launchShown = [this](qsizetype n) {
        if (n < LaunchBtn().size())
            BtnClickEvent(LaunchBtn().at(n));
    };
    m_typeFilter = new TypeFilter(this, FlowLayout1, Rectangle1, LaunchPath, std::move(links));
}

void TForm1::launchEntry(int group, qsizetype index)
{
    if (group < 0 || group >= kGroupCount || index < 0 || index >= LaunchPath[group]->size())
        return;
    // The current group's entry has its button, which a click would update.
    if (group == m_menuIndex && index < LaunchBtn().size()) {
        BtnClickEvent(LaunchBtn().at(index));
        return;
    }
    const GroupModel &model = LaunchPath.group(group);
    const TRec entry = model.entry(index);
    if (!fileStamp(entry.fname).isFileOrFolder()) {
        //: %1 is the entry's file.
        ErrorReport::notify(this,
                            tr("%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。")
                                .arg(entry.fname));
        return;
    }
    std::optional<LaunchRequest> request = launchRequestFor(model.line(index));
    if (request)
        startOpen(std::move(*request));
}
