// SPDX-License-Identifier: MIT
#pragma once

// The pointer coming onto a widget and going away again, as the window
// system reports it; the offscreen platform has no pointer of its own.
#include <QApplication>
#include <QEnterEvent>
#include <QWidget>

namespace TestPointer {

inline void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(widget, &event);
}

inline void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace TestPointer
