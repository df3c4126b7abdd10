// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QMouseEvent;
class QTimer;
class QWidget;

// Moving and resizing the bar at the user's drag. The window manager does
// it where it can; else the window follows the pointer here (and always for
// the right button, whose release without a drag opens the menu).
//
// A window of fixed size (minimum = maximum) is what sway and i3 float, so
// under them the size stays pinned but while the user resizes; elsewhere only
// the minimum is set, so the window manager's own resizing works.
// resizeWindow() is how the bar changes its own size.
//
// What the user asked for is reported as userMoved/userResized, never what
// the window manager imposes (a tiling layout, a maximise, rounding at
// fractional scales).
class WindowMover : public QObject
{
    Q_OBJECT

public:
    // Moves and resizes `window`, which owns it, never below `minimumSide`
    // on either side.
    WindowMover(QWidget *window, int minimumSide);

    // A press on the bar's free area: a drag from it moves the window, or
    // resizes it when `resize`.
    void press(const QMouseEvent *event, bool resize);
    // A move or release on that area; false when no drag is under way.
    bool dragEvent(const QMouseEvent *event);

    void resizeWindow(QSize size);
    // The window's own resize and move events report here.
    void windowResized();
    void windowMoved();

Q_SIGNALS:
    void userMoved(QPoint topLeft);
    void userResized(QSize size);
    // The right button was released where it was pressed.
    void rightClicked(QPoint globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    const int m_minimumSide;
    const bool m_pinSize; // under sway or i3 the size is fixed but for the user's resizing

    // The drag we carry out by following the pointer.
    struct PointerDrag {
        bool active = false;
        bool resize = false;
        bool moved = false;
        Qt::MouseButton button = Qt::NoButton;
        QPoint pressGlobal;
        QRect startGeometry;
    } m_drag;

    // A move or resize the user started and the window manager carries out:
    // the geometry changes that follow are the user's until the button is
    // released (where the X server can tell) or the pointer comes back to us.
    enum class SystemGesture { None, Move, Resize } m_systemGesture = SystemGesture::None;
    QTimer *m_gestureTimer = nullptr;
    bool m_gestureReleased = false;

    void pinSize();
    void unpinSize();
    void followPointer(const QPoint &globalPos);
    void applyDrag(const QPoint &delta);
    void startSystemGesture();
    void checkSystemGesture();
    void endSystemGesture();
};
