// SPDX-License-Identifier: MIT
// Opening an entry: the click finds the entry and hands it to a short-lived
// worker thread, so the bar never waits for a program to start.
#include "app/Unit1.h"

#include "app/ErrorReport.h"
#include "launcher/LaunchButton.h"
#include "launcher/LaunchRequest.h"
#include "launcher/PathRules.h"

#include <QCoreApplication>
#include <QPointer>

#include <thread>

void TForm1::BtnClickEvent(LaunchButton *sender)
{
    const qsizetype i = LaunchBtn.indexOf(sender);
    if (i < 0 || i >= LaunchPath[MenuIndex].size())
        return;
    std::optional<LaunchRequest> request = launchRequestFor(LaunchPath[MenuIndex].at(i));
    if (!request)
        return;

    // The worker touches no widget: it reports a failure back to the
    // user-interface thread, which shows it unless the bar is gone.
    QPointer<TForm1> self(this);
    std::thread([request = std::move(*request), open = opener, self]() mutable {
        request.cdir = workingDirectoryOf(request.s);
        const QString reason = open(request.s, request.pam, request.cdir);
        if (reason.isEmpty())
            return;
        const QString message = QStringLiteral("%1 を開けませんでした。%2").arg(request.s, reason);
        QMetaObject::invokeMethod(qApp, [self, message] {
            if (self)
                ErrorReport::notify(self, message);
        }, Qt::QueuedConnection);
    }).detach();
}
