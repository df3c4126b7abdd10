// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QtGlobal>

class QWidget;

// Times the end of each repaint of a window: its paint, the copy to the
// display and the display server's reply that it has the picture. Widgets
// repaint when their window handles an update request; the clock handles
// it first and notes the time after.
class PaintClock : public QObject
{
    Q_OBJECT

public:
    explicit PaintClock(QWidget *window);

    int paints() const { return m_paints; }
    // Monotonic nanoseconds at the end of the last repaint, 0 before any.
    qint64 lastPaintNs() const { return m_lastNs; }

    // Waits for the display server to have handled every request sent.
    static void syncDisplay();

Q_SIGNALS:
    void painted(qint64 ns);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_inside = false;
    int m_paints = 0;
    qint64 m_lastNs = 0;
};
