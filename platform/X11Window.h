// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

class QWidget;

// Window states that the X11 window manager keeps (_NET_WM_STATE). Every
// call does nothing on another platform (the offscreen one of the tests).
namespace X11Window {

bool isX11();

// Native Wayland (no X server reached): the compositor places the window,
// keeps it where it likes and decides about stacking and the taskbar.
bool isWayland();

// Whether a compositing manager runs on the window's screen; without one a
// translucent window shows black where it is transparent.
bool compositorRunning();

// Keeps the window off the taskbar and the pager. Must run before the window
// is first shown.
void setSkipTaskbar(QWidget *window);

// Adds or removes the stay-on-top state, on a shown window through the window
// manager, so the window neither moves nor flashes. Nothing on Wayland.
void setStaysOnTop(QWidget *window, bool on);

// Whether a mouse button is held down right now, as the X server knows it
// (also while the window manager holds the pointer); nothing elsewhere.
std::optional<bool> pointerButtonDown();

} // namespace X11Window
