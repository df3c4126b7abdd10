// SPDX-License-Identifier: MIT
#include "app/WindowMover.h"

#include "platform/TilingWindowManager.h"
#include "platform/X11Window.h"

#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// A few pixels of jitter during a right click are no drag.
constexpr int kDragThreshold = 3;

} // namespace

WindowMover::WindowMover(QWidget *window, int minimumSide)
    : QObject(window)
    , m_window(window)
    , m_minimumSide(minimumSide)
    , m_pinSize((X11Window::isX11() || X11Window::isWayland()) && TilingWindowManager::floatsOnlyFixedSize())
{
}

void WindowMover::pinSize()
{
    if (!m_pinSize || m_systemGesture == SystemGesture::Resize)
        return;
    m_window->setMinimumSize(m_window->size());
    m_window->setMaximumSize(m_window->size());
}

void WindowMover::unpinSize()
{
    m_window->setMinimumSize(m_minimumSide, m_minimumSide);
    m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void WindowMover::resizeWindow(QSize size)
{
    unpinSize();
    m_window->resize(size);
    pinSize();
}

void WindowMover::windowResized()
{
    if (m_systemGesture == SystemGesture::Resize)
        Q_EMIT userResized(m_window->size());
    pinSize();
}

void WindowMover::windowMoved()
{
    // Where the compositor places the window, its position is no one's choice.
    if (m_systemGesture == SystemGesture::Move && !X11Window::isWayland())
        Q_EMIT userMoved(m_window->pos());
}

void WindowMover::press(const QMouseEvent *event, bool resize)
{
    m_drag.active = true;
    m_drag.resize = resize;
    m_drag.moved = false;
    m_drag.button = event->button();
    m_drag.pressGlobal = event->globalPosition().toPoint();
    m_drag.startGeometry = m_window->geometry();
    if (m_drag.resize)
        m_window->setCursor(Qt::SizeFDiagCursor);
}

bool WindowMover::dragEvent(const QMouseEvent *event)
{
    if (!m_drag.active)
        return false;
    if (event->type() == QEvent::MouseMove) {
        followPointer(event->globalPosition().toPoint());
        return true;
    }
    if (event->type() != QEvent::MouseButtonRelease || event->button() != m_drag.button)
        return true;
    m_drag.active = false;
    m_window->unsetCursor();
    if (m_drag.button == Qt::RightButton && !m_drag.moved)
        Q_EMIT rightClicked(event->globalPosition().toPoint());
    return true;
}

void WindowMover::followPointer(const QPoint &globalPos)
{
    const QPoint delta = globalPos - m_drag.pressGlobal;
    if (!m_drag.moved) {
        if (delta.manhattanLength() <= kDragThreshold)
            return;
        m_drag.moved = true;
        // The window manager moves and resizes best. It is asked only once
        // the pointer moves, so a mere click never leaves it waiting for a
        // release that has already happened. The right button stays with
        // us so that its release can still open the menu.
        QWindow *handle = m_window->windowHandle();
        if (m_drag.button == Qt::LeftButton && handle) {
            if (m_drag.resize)
                unpinSize();
            // Counted from the press, not from here, or the window would
            // trail the pointer by the threshold for the whole drag.
            bool started = X11Window::startSystemMoveFrom(m_window, m_drag.pressGlobal, m_drag.resize);
            if (!started) {
                started = m_drag.resize ? handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge)
                                        : handle->startSystemMove();
            }
            if (started) {
                m_drag.active = false;
                m_window->unsetCursor();
                startSystemGesture();
                return;
            }
            pinSize();
        }
    }
    applyDrag(delta);
}

void WindowMover::applyDrag(const QPoint &delta)
{
    // What the user asked for is stored, not what the window system made of
    // it (at a fractional scale factor it may come back a pixel off).
    if (m_drag.resize) {
        const QSize size =
            (m_drag.startGeometry.size() + QSize(delta.x(), delta.y())).expandedTo(QSize(m_minimumSide, m_minimumSide));
        resizeWindow(size);
        Q_EMIT userResized(size);
    } else {
        // The compositor of a Wayland session decides where the window is.
        if (X11Window::isWayland())
            return;
        const QPoint pos = m_drag.startGeometry.topLeft() + delta;
        m_window->move(pos);
        Q_EMIT userMoved(pos);
    }
}

void WindowMover::startSystemGesture()
{
    m_systemGesture = m_drag.resize ? SystemGesture::Resize : SystemGesture::Move;
    m_window->windowHandle()->installEventFilter(this);
    if (!m_gestureTimer) {
        m_gestureTimer = new QTimer(this);
        m_gestureTimer->setInterval(100);
        connect(m_gestureTimer, &QTimer::timeout, this, &WindowMover::checkSystemGesture);
    }
    m_gestureReleased = false;
    m_gestureTimer->start();
}

void WindowMover::checkSystemGesture()
{
    const std::optional<bool> held = X11Window::pointerButtonDown();
    if (!held) {
        // Only the pointer's return can tell.
        m_gestureTimer->stop();
        return;
    }
    if (*held) {
        m_gestureReleased = false;
        return;
    }
    // The last geometry the window manager sent before the release may not
    // have reached us yet: it ends one tick later.
    if (m_gestureReleased)
        endSystemGesture();
    m_gestureReleased = true;
}

void WindowMover::endSystemGesture()
{
    m_systemGesture = SystemGesture::None;
    if (m_gestureTimer)
        m_gestureTimer->stop();
    if (m_window->windowHandle())
        m_window->windowHandle()->removeEventFilter(this);
    pinSize();
}

bool WindowMover::eventFilter(QObject *watched, QEvent *event)
{
    // Where the button cannot be asked for, a press or a move without a
    // button ends the user's gesture; an Enter does not, as one comes at
    // once, when the pointer passes to the window manager.
    if (watched == m_window->windowHandle() && m_systemGesture != SystemGesture::None) {
        const bool pointerBack = event->type() == QEvent::MouseButtonPress
                                 || (event->type() == QEvent::MouseMove
                                     && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton);
        if (pointerBack)
            endSystemGesture();
    }
    return false;
}
