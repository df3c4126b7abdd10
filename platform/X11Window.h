// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

class QPoint;
class QString;
class QWidget;
struct xcb_connection_t;

// Window states that the X11 window manager keeps (_NET_WM_STATE). Every
// call does nothing on another platform (the offscreen one of the tests).
namespace X11Window {

bool isX11();

// Native Wayland (no X server reached): the compositor places the window,
// keeps it where it likes and decides about stacking and the taskbar.
bool isWayland();

// The application's own X connection; null on another platform or before
// the application exists.
xcb_connection_t *connection();

// Whether a compositing manager runs on the window's screen; without one a
// translucent window shows black where it is transparent.
bool compositorRunning();

// The window manager's own name (_NET_SUPPORTING_WM_CHECK); empty when none
// says it, or not on X11. XWayland's managers give their library's name
// ("wlroots wm"), not the compositor's.
QString windowManagerName();

// Keeps the window off the taskbar, the pager and KWin's window switcher
// (which reads its own state, not the taskbar's). Must run before the window
// is first shown.
void setSkipTaskbar(QWidget *window);

// Adds or removes the stay-on-top state, on a shown window through the window
// manager, so the window neither moves nor flashes. Nothing on Wayland.
void setStaysOnTop(QWidget *window, bool on);

// Hands a move (or a resize by the bottom-right corner) that the left
// button started at `pressGlobal` over to the window manager. The window
// manager moves the window by the pointer's travel from that point, so the
// window follows the pointer exactly, the drag threshold included. False
// where it cannot (not X11, or the window manager lacks the request).
bool startSystemMoveFrom(QWidget *window, QPoint pressGlobal, bool resize);

// Whether a mouse button is held down right now, as the X server knows it
// (also while the window manager holds the pointer); nothing elsewhere.
std::optional<bool> pointerButtonDown();

} // namespace X11Window
