// SPDX-License-Identifier: MIT
#pragma once

// sway and i3 tile every ordinary window and float one of fixed size
// (minimum = maximum); other window managers let a fixed size stop the
// user's resizing, so only these two get it.
namespace TilingWindowManager {

// Found by the IPC socket they hand their clients (SWAYSOCK, I3SOCK) or, on
// X11, by the window manager's own name; sway's XWayland names only wlroots.
bool floatsOnlyFixedSize();

} // namespace TilingWindowManager
