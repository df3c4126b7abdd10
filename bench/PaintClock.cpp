// SPDX-License-Identifier: MIT
#include "bench/PaintClock.h"

#include "bench/Figures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

PaintClock::PaintClock(QWidget *window)
    : QObject(window)
{
    window->installEventFilter(this);
}

void PaintClock::syncDisplay()
{
    // Other platforms (offscreen) may still answer for X11, without a
    // connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

bool PaintClock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::UpdateRequest || m_inside)
        return false;
    m_inside = true;
    QCoreApplication::sendEvent(watched, event);
    m_inside = false;
    syncDisplay();
    m_lastNs = Figures::monotonicNs();
    ++m_paints;
    Q_EMIT painted(m_lastNs);
    return true;
}
