// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class IconLayer;
class PointerWatch;
class QPropertyAnimation;
class QTimer;
class QWidget;

// Stealth mode: the buttons fade out while the pointer is away from the bar
// and come back at once when it returns. The tick runs only while the
// pointer's side of the edge can still change what is shown: once the
// buttons are gone with the pointer away, or shown with it inside, nothing
// changes until the pointer crosses the edge, and the window system tells
// of that (the bar's enter and leave, watched here).
class StealthMode : public QObject
{
public:
    // Watches `bar`, which owns it, and fades `layer`, one of its children.
    StealthMode(QWidget *bar, IconLayer *layer);

    // The mode on or off: the tick runs exactly while it is on and not
    // suspended.
    void setEnabled(bool on);
    // While a dialog is open the buttons stay fully visible: the tick stops
    // and any fade is undone. resume() runs the tick again exactly when the
    // mode is on.
    void suspend();
    void resume();
    // The buttons shown at once, any fade undone; the tick then looks again
    // where the pointer is.
    void showButtons();

    // The pointer's position on the screen, or nothing where it is unknown.
    using PointerFunction = std::function<std::optional<QPoint>()>;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend struct BarProbe;

    QWidget *m_bar;
    IconLayer *m_layer;
    QTimer *Timer1;                      // the 500 ms tick
    QPropertyAnimation *FloatAnimation1; // the fade of the layer's opacity
    PointerWatch *m_pointerWatch;        // where the window system last saw the pointer over the bar
    PointerFunction pointerPosition;
    bool m_enabled = false;
    bool m_suspended = false; // a dialog keeps the buttons shown

    void Timer1Timer();
    std::optional<QPoint> barPointer() const;
    // Whether entering and leaving the bar reach it (no popup grabs them).
    bool pointerCrossingsReported() const;
    // Wakes the tick, which rests while nothing can change.
    void pointerCrossedEdge();
};
