// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Which window has the focus, and asking for another to get it, the way
// the window manager wants it asked (_NET_ACTIVE_WINDOW). Nothing outside
// X11.
namespace X11Activation {

// The active window as the window manager announces it; 0 for none.
uint32_t activeWindow();

// Asks the window manager to activate `window`, at the user's direct
// request (a key they pressed for it) at X server time `timestamp`; 0 means
// now. The manager's rules for focus stealing still apply.
void activate(uint32_t window, uint32_t timestamp);

} // namespace X11Activation
