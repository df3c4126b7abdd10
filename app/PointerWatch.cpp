// SPDX-License-Identifier: MIT
#include "app/PointerWatch.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QWindow>

PointerWatch::PointerWatch(QObject *parent)
    : QObject(parent)
{
}

void PointerWatch::watch(QWindow *window)
{
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    m_report.reset();
    if (window)
        window->installEventFilter(this);
}

bool PointerWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Enter: {
        const auto *enter = static_cast<QEnterEvent *>(event);
        take(enter->position(), enter->globalPosition());
        break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        take(mouse->position(), mouse->globalPosition());
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        m_report.reset();
        break;
    default:
        break;
    }
    return false;
}

void PointerWatch::take(QPointF local, QPointF onScreen)
{
    const QPoint screenPoint = onScreen.toPoint();
    m_report = Report{screenPoint, screenPoint - local.toPoint()};
}

std::optional<QPoint> PointerWatch::lastOnScreen(QPoint windowOrigin) const
{
    if (!m_report || m_report->windowOrigin != windowOrigin)
        return std::nullopt;
    return m_report->onScreen;
}
