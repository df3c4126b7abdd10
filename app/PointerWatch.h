// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <optional>

class QWindow;

// Where the pointer last was over a window, as the window system reported
// it, so knowing it costs no round trip to the X server (and no allocation
// for the reply). The reports stop under a grab, and a window that moves
// under a resting pointer makes the last one stale: then only asking the
// server tells.
class PointerWatch : public QObject
{
public:
    explicit PointerWatch(QObject *parent = nullptr);

    // Follows `window`'s reports from now on; watching it again changes
    // nothing.
    void watch(QWindow *window);
    // The last reported place on the screen, or nothing when the pointer
    // left, or when the window was elsewhere at the report than at
    // `windowOrigin`, where it is now.
    std::optional<QPoint> lastOnScreen(QPoint windowOrigin) const;
    void forget() { m_report.reset(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWindow> m_window;
    struct Report {
        QPoint onScreen;
        QPoint windowOrigin;
    };
    std::optional<Report> m_report;
    void take(QPointF local, QPointF onScreen);
};
