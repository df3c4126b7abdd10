// SPDX-License-Identifier: MIT
#pragma once

#include "core/entries/LaunchRequest.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

class QThreadPool;
class QWidget;

// The workers that open what the bar asks for, so the bar never waits for a
// program to start: few, so a storm of clicks cannot start hundreds of
// threads, and waited for (a few seconds at most) before the bar goes. A
// failure is told over the bar, unless the bar is gone.
class LaunchPool : public QObject
{
    Q_OBJECT

public:
    // Opens a file; false with the reason in `error` when it could not.
    using OpenFunction =
        std::function<bool(const QString &file, const QString &params, const QString &workingDir, QString *error)>;
    // Starts `file` (a desktop entry or a program) once with `files` after
    // its parameters; false with the reason in `error`.
    using DropOpenFunction = std::function<bool(const QString &file, const QString &params, const QString &workingDir,
                                                const QList<QUrl> &files, QString *error)>;

    LaunchPool(QWidget *bar, int threads);
    // Waits for the launches under way; one stuck in an open (a stalled
    // network folder) is left to the process's end.
    ~LaunchPool() override;

    // What a click runs, and a drop on a program's button; both run on a
    // worker. The desktop's own by default.
    void setOpener(OpenFunction open) { m_open = std::move(open); }
    void setDropOpener(DropOpenFunction open) { m_openWith = std::move(open); }

    // Hands `request` to a worker.
    void start(LaunchRequest request);
    // Waits until every launch started so far has been handed over; false
    // when one is still under way after a few seconds.
    bool waitForDone();

private:
    QPointer<QWidget> m_bar;
    QThreadPool *m_pool;
    OpenFunction m_open;
    DropOpenFunction m_openWith;
};
