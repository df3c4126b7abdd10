// SPDX-License-Identifier: MIT
#include "app/StealthMode.h"

#include "app/PointerWatch.h"
#include "launcher/IconLayer.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWidget>

StealthMode::StealthMode(QWidget *bar, IconLayer *layer)
    : QObject(bar)
    , m_bar(bar)
    , m_layer(layer)
    , Timer1(new QTimer(this))
    , FloatAnimation1(new QPropertyAnimation(layer, "opacity", this))
    , m_pointerWatch(new PointerWatch(this))
    , pointerPosition([this] { return barPointer(); })
{
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &StealthMode::Timer1Timer);
    FloatAnimation1->setDuration(200);
    FloatAnimation1->setStartValue(0.0);
    FloatAnimation1->setEndValue(0.0);
    bar->installEventFilter(this);
}

void StealthMode::setEnabled(bool on)
{
    m_enabled = on;
    if (m_suspended)
        return;
    if (on)
        Timer1->start();
    else
        Timer1->stop();
}

void StealthMode::suspend()
{
    m_suspended = true;
    Timer1->stop();
    FloatAnimation1->stop();
    m_layer->setOpacity(1);
}

void StealthMode::resume()
{
    m_suspended = false;
    if (m_enabled)
        Timer1->start();
    else
        Timer1->stop();
}

void StealthMode::showButtons()
{
    FloatAnimation1->stop();
    m_layer->setOpacity(1);
    m_layer->setVisible(true);
    pointerCrossedEdge();
}

bool StealthMode::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_bar)
        return false;
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
        pointerCrossedEdge();
        break;
    case QEvent::Show:
        // The native window exists by now.
        m_pointerWatch->watch(m_bar->windowHandle());
        break;
    default:
        break;
    }
    return false;
}

void StealthMode::Timer1Timer()
{
    if (!pointerPosition)
        return;
    const std::optional<QPoint> pointer = pointerPosition();
    if (!pointer)
        return;
    const int x = pointer->x();
    const int y = pointer->y();
    const QWidget *bar = m_bar;
    // Strict on all four sides: the edge columns and rows count as outside.
    const bool inside = bar->x() < x && x < bar->x() + bar->width() && bar->y() < y && y < bar->y() + bar->height();
    if (inside) {
        m_layer->setOpacity(1);
        m_layer->setVisible(true);
        if (pointerCrossingsReported() && bar->testAttribute(Qt::WA_UnderMouse))
            Timer1->stop();
        return;
    }
    const qreal opacity = m_layer->opacity();
    // Once per departure: a fade under way or finished is left alone.
    if (!(opacity <= 0.95)) {
        FloatAnimation1->setStartValue(1.0);
        FloatAnimation1->setEndValue(0.0);
        FloatAnimation1->setDuration(400);
        FloatAnimation1->start();
        return;
    }
    const bool faded = opacity <= 0 && FloatAnimation1->state() != QAbstractAnimation::Running;
    if (faded && pointerCrossingsReported() && !bar->testAttribute(Qt::WA_UnderMouse))
        Timer1->stop();
}

std::optional<QPoint> StealthMode::barPointer() const
{
    // While the window system says the pointer is not over the bar, any
    // point outside it decides the same, and while it reports the pointer
    // over the bar, its last report tells where. An open popup or a held
    // button grabs the pointer and so hides where it is: then only asking
    // the X server tells.
    const bool popup = QApplication::activePopupWidget() != nullptr;
    if (!m_bar->testAttribute(Qt::WA_UnderMouse) && !popup)
        return m_bar->geometry().topLeft() - QPoint(1, 1);
    if (popup || QGuiApplication::mouseButtons() != Qt::NoButton)
        m_pointerWatch->forget();
    else if (const std::optional<QPoint> reported = m_pointerWatch->lastOnScreen(m_bar->geometry().topLeft()))
        return reported;
    return QCursor::pos();
}

bool StealthMode::pointerCrossingsReported() const
{
    // A popup's grab hides crossings from the bar, so the tick must go on
    // while one is open.
    return !QApplication::activePopupWidget();
}

void StealthMode::pointerCrossedEdge()
{
    if (m_enabled && !m_suspended && !Timer1->isActive())
        Timer1->start();
}
